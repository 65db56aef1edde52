// Runs of the memory array's executable: state counts and output files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/TestFiles.h"

namespace {

using test_files::linesOf;

// The console output and the four files of one run, named e.*.
struct ModelRun {
  int status;
  std::string out, arm, det, var, pvtype;
};

ModelRun run(const std::string& executable, const std::string& arguments) {
  test_files::ScratchDir dir("memory_array");
  test_files::ProgramRun program = dir.run(executable + " -P./ -Ne " + arguments);
  return {program.status,    program.out,       dir.read("e.arm"),
          dir.read("e.det"), dir.read("e.var"), dir.read("e.pvtype")};
}

// One flash and one RAM, flash_size = ram_size = 256: state 1 (all working)
// reaches 2 (flash corrupted), 3 (RAM corrupted by random_failure) and 4
// (RAM down after a bit or page error); then 5 = 2 + 3, 6 = 2 + 4, 7 (RAM
// corrupted twice) and 8 = 2 + 7. seu cases, bit_error cases: 0.5 each.
const char kArm[] =
    "1\n8\n      \n"
    "1\n1\n3.0060022125e+00\n2\n2.7400000000e-03\n3\n5.4800000000e-03\n4\n3.0060007375e+00\n0\n"
    "2\n1\n-1.0000000000e+00\n2\n3.0060022125e+00\n5\n5.4800000000e-03\n6\n3.0060007375e+00\n0\n"
    "3\n1\n-1.0000000000e+00\n3\n3.0060022125e+00\n5\n2.7400000000e-03\n7\n3.0060007375e+00\n0\n"
    "4\n1\n-1.0000000000e+00\n4\n7.5000000000e-17\n6\n2.7400000000e-03\n0\n"
    "5\n2\n-1.0000000000e+00\n3\n-1.0000000000e+00\n5\n3.0060022125e+00\n8\n3.0060007375e+00\n0\n"
    "6\n2\n-1.0000000000e+00\n4\n-1.0000000000e+00\n0\n"
    "7\n1\n-1.0000000000e+00\n7\n7.5000000000e-17\n8\n2.7400000000e-03\n0\n"
    "8\n2\n-1.0000000000e+00\n7\n-1.0000000000e+00\n0\n";
const char kDet[] = "2\n1.0000000000e+19\n2\n5\n6\n8\n0\n3.4700000000e-03\n3\n4\n5\n6\n7\n8\n0\n";
const char kVar[] =
    "corrupted_rams\n1\n0\n0\n2\n0\n0\n3\n0\n1\n4\n0\n1\n5\n0\n1\n6\n0\n1\n7\n0\n1\n8\n0\n1\n";
const char kPvtype[] =
    "Version:1\nNumPV:1\nName:corrupted_rams\nType:0\nNumTimes:1\nStart:365\nStop:365\n";

TEST(MemoryArrayGenerationTest, OneRamGivesTheStateSpaceOfTheReliabilityModel) {
  ModelRun one = run(MODEL_EXECUTABLE, "-B0");
  EXPECT_EQ(0, one.status);
  EXPECT_NE(std::string::npos, one.out.find("num_rams\tint\t1\n")) << one.out;
  EXPECT_NE(std::string::npos, one.out.find("_$8$\nGenerated: 8 states\n")) << one.out;
  EXPECT_EQ(kArm, one.arm);
  EXPECT_EQ(kDet, one.det);
  EXPECT_EQ(kVar, one.var);
  EXPECT_EQ(kPvtype, one.pvtype);

  ModelRun basic = run(GEN_EXECUTABLE, "-B0 -Of:flash_size:256:f:ram_size:256");
  EXPECT_EQ(0, basic.status);
  EXPECT_EQ(basic.arm, one.arm);
  EXPECT_EQ(basic.det, one.det);
  EXPECT_NE(basic.var, one.var);  // another reward variable
}

// The flash has 2 markings and each RAM 4, independently: n RAMs give
// 2 4^n states, and power_cycle is enabled in the 4^n with the flash
// corrupted.
TEST(MemoryArrayGenerationTest, EachRamMultipliesTheStatesByFour) {
  for (int n = 2; n <= 3; n++) {
    ModelRun r = run(MODEL_EXECUTABLE, "-B" + std::to_string(n - 1));
    ASSERT_EQ(0, r.status) << r.out;
    int powerCycles = 1 << (2 * n);
    EXPECT_NE(std::string::npos,
              r.out.find("Generated: " + std::to_string(2 * powerCycles) + " states\n"));
    std::vector<std::string> det = linesOf(r.det);
    ASSERT_LT(static_cast<size_t>(powerCycles + 3), det.size());
    EXPECT_EQ("0", det[powerCycles + 2]);
    EXPECT_EQ("3.4700000000e-03", det[powerCycles + 3]);
  }
}

// A count of RAMs given through -O that no join can hold ends the run before
// any file is written.
TEST(MemoryArrayGenerationTest, AnOverriddenNumberOfRamsOutOfRangeIsRefused) {
  for (const char* rams : {"-1", "2147483647"}) {
    test_files::ScratchDir dir("memory_array");
    test_files::ProgramRun program =
        dir.run(std::string(MODEL_EXECUTABLE) + " -P./ -Ne -B0 -Oi:num_rams:" + rams);
    EXPECT_EQ(1, program.status) << rams;
    EXPECT_EQ("Error: join memory_array asks for " + std::string(rams) +
                  " copies of ram_system; the number of copies must lie between 0 and 10000\n",
              program.err);
    EXPECT_FALSE(dir.exists("e.arm"));
  }
}

}  // namespace
