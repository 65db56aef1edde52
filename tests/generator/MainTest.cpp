// Runs of the real executable: console text and exit status.
#include <gtest/gtest.h>

#include <string>

#include "tests/TestFiles.h"
#include "tests/generator/GeneratorOutput.h"

namespace {

const char kUsage[] =
    "usage:  gen -Pexperimentfilepath -Nexperimentname -hhash_value -Bexperimentnumber "
    "-Ffiletype -edb_entity -sdb_macserver  -ltrace_level[0-4] -tTraceFilename\n"
    "Example:  gen -P. -Nexp1 -B0\n";

using test_files::ProgramRun;

// Runs gen with arguments (no shell quoting needed) in a fresh directory that
// holds an empty directory out; the computation time is left out.
ProgramRun runGen(const std::string& arguments) {
  test_files::ScratchDir dir("gen");
  ProgramRun run = dir.run("mkdir out && " + std::string(GEN_EXECUTABLE) + " " + arguments);
  run.out = ssg_test::withoutTime(run.out);
  return run;
}

const char kExperiment7[] =
    "The Global Variable values for experiment Experiment 8 are:\n"
    "flash_size\tfloat\t128\n"
    "ram_size\tfloat\t64\n";
const char kGenerated[] = "SSG: SetTraceLevel: 0\n_$8$\nGenerated: 8 states\n<time>\n";

TEST(MainTest, TooFewArgumentsPrintTheUsage) {
  ProgramRun run = runGen("-Pout/ -Nexp1");
  EXPECT_EQ(0, run.status);
  EXPECT_EQ(kUsage, run.out);
  EXPECT_EQ("", run.err);
}

TEST(MainTest, ANormalRunPrintsTheExperimentValues) {
  ProgramRun run = runGen("-Pout/ -Nexp1 -B7");
  EXPECT_EQ(0, run.status);
  EXPECT_EQ(std::string("path=[out/]\n") + kExperiment7 + kGenerated, run.out);
  EXPECT_EQ("", run.err);
  // The file type changes nothing.
  ProgramRun same = runGen("-Pout/ -Nexp1 -B7 -F0x");
  EXPECT_EQ(0, same.status);
  EXPECT_EQ(run.out, same.out);
}

TEST(MainTest, OverridesFollowThePrintedValuesAndShowTheValuesInForce) {
  ProgramRun run = runGen("-Nexp1 -B7 -Of:ram_size:100");
  EXPECT_EQ(0, run.status);
  EXPECT_EQ(std::string("OverrideString is f:ram_size:100\n") + kExperiment7 +
                "Overriding global variables in ssg\n"
                "The Global Variable values in force are:\n"
                "flash_size\tfloat\t128\nram_size\tfloat\t100\n" +
                kGenerated,
            run.out);
  EXPECT_EQ("", run.err);
}

// An override that cannot be applied stops the run before any file is
// written, whatever triples came before it.
TEST(MainTest, OverridesThatCannotBeAppliedStopTheRun) {
  const struct {
    const char* option;
    const char* err;
  } refused[] = {
      {"-Od:ram_siz:20", "Error: -O d:ram_siz:20: the model has no global variable ram_siz\n"},
      {"-Of:ram_size:100:x:a:1",
       "Error: -O x:a:1: 'x' is not a type letter (b, c, d, f, i, l or s)\n"},
      {"-Of:ram_size:abc",
       "Error: -O f:ram_size:abc: the value abc of ram_size does not parse as "
       "type f\n"},
  };
  for (const auto& r : refused) {
    test_files::ScratchDir dir("gen");
    ProgramRun run =
        dir.run("mkdir out && " + std::string(GEN_EXECUTABLE) + " -Pout/ -Nexp1 -B7 " + r.option);
    EXPECT_EQ(1, run.status) << r.option;
    EXPECT_EQ(r.err, run.err) << r.option;
    EXPECT_EQ(std::string::npos, run.out.find("Overriding")) << run.out;
    EXPECT_EQ("", dir.run("ls out").out) << r.option;
  }
}

TEST(MainTest, RefusedSettingsStopTheRunBeforeAnyOutput) {
  const struct {
    const char* arguments;
    const char* out;
    std::string err;
  } refused[] = {
      {"-Pout/ -B0 -F1", "path=[out/]\n",
       std::string("Error: no experiment name given (-N)\n") + kUsage},
      {"-Pout/ -Nexp1 -B25", "path=[out/]\n",
       "Error: experiment number 25 is out of range; valid experiments are 0 to 24\n"},
      {"-Nexp1 -B-1 -F1", "",
       "Error: experiment number -1 is out of range; valid experiments are 0 to 24\n"},
      {"-Nexp1 -B abc", "", "Error: -B needs a whole number, not \"abc\"\n"},
      {"-Nexp1 -F1 -B0x10", "", "Error: -B needs a whole number, not \"0x10\"\n"},
      {"-Nexp1 -B0 -h abc", "", "Error: -h needs a number, not \"abc\"\n"},
      {"-Nexp1 -B0 -l5", "", "Error: -l needs a whole number from 0 to 4, not \"5\"\n"},
  };
  for (const auto& r : refused) {
    ProgramRun run = runGen(r.arguments);
    EXPECT_EQ(1, run.status) << r.arguments;
    EXPECT_EQ(r.out, run.out) << r.arguments;
    EXPECT_EQ(r.err, run.err) << r.arguments;
  }
  ProgramRun run = runGen("-Nexp1 -B0 -h1.5 -ttrace.txt");
  EXPECT_EQ(1, run.status);
  EXPECT_EQ("", run.out);
  EXPECT_NE(std::string::npos, run.err.find("-h")) << run.err;
}

}  // namespace
