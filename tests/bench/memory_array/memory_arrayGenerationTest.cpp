// Runs of the memory array's executable: state counts and output files.
#include <gtest/gtest.h>

#include <map>
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

// Checks a run of n RAMs against counts derived from the independence of the
// RAMs: the flash has 2 markings, each RAM 4, of which 3 hold corrupted data.
void checkRams(int n) {
  SCOPED_TRACE("RAMs: " + std::to_string(n));
  ModelRun r = run(MODEL_EXECUTABLE, "-B" + std::to_string(n - 1));
  ASSERT_EQ(0, r.status) << r.out;
  int pow4 = 1 << (2 * (n - 1));  // 4^(n-1)
  int states = 2 * 4 * pow4;
  EXPECT_NE(std::string::npos, r.out.find("Generated: " + std::to_string(states) + " states\n"));

  // Every state once, in order; every deterministic firing reaches its own
  // target with probability 1, so each negative value is exactly -1.
  std::vector<std::string> arm = linesOf(r.arm);
  ASSERT_GE(arm.size(), 3u);
  EXPECT_EQ(std::to_string(states), arm[1]);
  int deterministic = 0;
  size_t k = 3;
  for (int s = 1; s <= states; s++) {
    ASSERT_LT(k, arm.size());
    ASSERT_EQ(std::to_string(s), arm[k++]);
    int last = 0;
    while (k < arm.size() && arm[k] != "0") {
      int target = std::stoi(arm[k]);
      EXPECT_GT(target, last);
      EXPECT_LE(target, states);
      last = target;
      if (arm[k + 1][0] == '-') {
        EXPECT_EQ("-1.0000000000e+00", arm[k + 1]);
        deterministic++;
      }
      k += 2;
    }
    k++;
  }
  EXPECT_EQ(arm.size(), k);

  // power_cycle is enabled in the 4^n states with the flash corrupted, a
  // watchdog_reboot once per corrupted RAM: 2 n 3 4^(n-1) times.
  int powerCycles = 4 * pow4;
  int reboots = 2 * n * 3 * pow4;
  EXPECT_EQ(powerCycles + reboots, deterministic);
  std::vector<std::string> det = linesOf(r.det);
  ASSERT_EQ(static_cast<size_t>(powerCycles + reboots + 5), det.size());
  EXPECT_EQ("2", det[0]);
  EXPECT_EQ("1.0000000000e+19", det[1]);
  EXPECT_EQ("0", det[powerCycles + 2]);
  EXPECT_EQ("3.4700000000e-03", det[powerCycles + 3]);
  EXPECT_EQ("0", det.back());

  // States with k corrupted RAMs: 2 C(n, k) 3^k.
  std::vector<std::string> var = linesOf(r.var);
  ASSERT_EQ(static_cast<size_t>(1 + 3 * states), var.size());
  std::map<std::string, int> byValue;
  for (int s = 1; s <= states; s++) {
    EXPECT_EQ(std::to_string(s), var[3 * s - 2]);
    byValue[var[3 * s]]++;
  }
  std::map<std::string, int> expected;
  for (int c = 0, choose = 1, pow3 = 1; c <= n; c++) {
    expected[std::to_string(c)] = 2 * choose * pow3;
    choose = choose * (n - c) / (c + 1);
    pow3 *= 3;
  }
  EXPECT_EQ(expected, byValue);
}

TEST(MemoryArrayGenerationTest, TwoAndThreeRamsMultiplyTheStatesByFourEach) {
  checkRams(2);
  checkRams(3);
}

}  // namespace
