// Runs of the real executable: console text and exit status.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/generator/GeneratorOutput.h"

namespace {

const char kUsage[] =
    "usage:  gen -Pexperimentfilepath -Nexperimentname -hhash_value -Bexperimentnumber "
    "-Ffiletype -edb_entity -sdb_macserver  -ltrace_level[0-4] -tTraceFilename\n"
    "Example:  gen -P. -Nexp1 -B0\n";

struct GenRun {
  int status;
  std::string out;
  std::string err;
};

std::string contents(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Runs gen with arguments (no shell quoting needed) in a fresh directory that
// holds an empty directory out.
GenRun runGen(const std::string& arguments) {
  std::string dir = testing::TempDir() + "genXXXXXX";
  if (mkdtemp(dir.data()) == nullptr) {
    ADD_FAILURE() << "cannot create " << dir;
    return {-1, "", ""};
  }
  std::string command = "cd " + dir + " && mkdir out && " + GEN_EXECUTABLE + " " + arguments +
                        " >stdout.txt 2>stderr.txt";
  int raw = std::system(command.c_str());
  GenRun run{WIFEXITED(raw) ? WEXITSTATUS(raw) : -1,
             ssg_test::withoutTime(contents(dir + "/stdout.txt")), contents(dir + "/stderr.txt")};
  std::system(("rm -rf " + dir).c_str());
  return run;
}

const char kExperiment7[] =
    "The Global Variable values for experiment Experiment 8 are:\n"
    "flash_size\tfloat\t128\n"
    "ram_size\tfloat\t64\n";
const char kGenerated[] = "SSG: SetTraceLevel: 0\n_$8$\nGenerated: 8 states\n<time>\n";

TEST(MainTest, TooFewArgumentsPrintTheUsage) {
  GenRun run = runGen("-Pout/ -Nexp1");
  EXPECT_EQ(0, run.status);
  EXPECT_EQ(kUsage, run.out);
  EXPECT_EQ("", run.err);
}

TEST(MainTest, ANormalRunPrintsTheExperimentValues) {
  GenRun run = runGen("-Pout/ -Nexp1 -B7");
  EXPECT_EQ(0, run.status);
  EXPECT_EQ(std::string("path=[out/]\n") + kExperiment7 + kGenerated, run.out);
  EXPECT_EQ("", run.err);
  // The file type and an unparsable load factor change nothing.
  GenRun same = runGen("-Pout/ -Nexp1 -B7 -F0 -habc");
  EXPECT_EQ(0, same.status);
  EXPECT_EQ(run.out, same.out);
}

TEST(MainTest, OverridesFollowThePrintedValues) {
  GenRun run = runGen("-Nexp1 -B7 -Of:ram_size:100:x:a:1");
  EXPECT_EQ(0, run.status);
  EXPECT_EQ(std::string("OverrideString is f:ram_size:100:x:a:1\n") + kExperiment7 +
                "Type x not recognized\nOverriding global variables in ssg\n" + kGenerated,
            run.out);
}

TEST(MainTest, AMissingNameStopsTheRun) {
  GenRun run = runGen("-Pout/ -B0 -F1");
  EXPECT_EQ(1, run.status);
  EXPECT_EQ("path=[out/]\n", run.out);
  EXPECT_EQ(std::string("Error: no experiment name given (-N)\n") + kUsage, run.err);
}

TEST(MainTest, ExperimentsOutsideTheStudyStopTheRun) {
  for (const char* number : {"-B25", "-B-1"}) {
    GenRun run = runGen(std::string("-Pout/ -Nexp1 ") + number);
    EXPECT_EQ(1, run.status);
    EXPECT_EQ("path=[out/]\n", run.out);
    EXPECT_EQ(std::string("Error: experiment number ") + (number + 2) +
                  " is out of range; valid experiments are 0 to 24\n",
              run.err);
  }
}

TEST(MainTest, ALoadFactorOutside0To1StopsTheRun) {
  GenRun run = runGen("-Nexp1 -B0 -h1.5 -ttrace.txt");
  EXPECT_EQ(1, run.status);
  EXPECT_EQ("", run.out);
  EXPECT_NE(std::string::npos, run.err.find("-h")) << run.err;
}

}  // namespace
