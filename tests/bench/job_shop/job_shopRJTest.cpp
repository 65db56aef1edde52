// Runs of the job-shop executable: state counts, and the exact records of the
// smallest size derived by hand from the routing rules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/TestFiles.h"

namespace {

using test_files::linesOf;

struct ModelRun {
  int status;
  std::string out;
  std::string arm;
  std::string var;
};

// Runs the model for one experiment (plus extra options) in a fresh
// directory and collects its console text and files.
ModelRun runModel(int experiment, const std::string& extra = "") {
  test_files::ScratchDir dir("jobshop");
  test_files::ProgramRun program = dir.run(std::string(MODEL_EXECUTABLE) + " -P./ -Nt -B" +
                                           std::to_string(experiment) + " " + extra);
  EXPECT_EQ("", program.err);
  return {program.status, program.out, dir.read("t.arm"), dir.read("t.var")};
}

// The record of one state in an .arm file: its number, targets and rates,
// and the closing 0.
std::string recordOf(const std::string& arm, int state) {
  std::vector<std::string> all = linesOf(arm);
  size_t i = 3;
  while (i < all.size() && std::stoi(all[i]) != state) {
    for (i++; i < all.size() && all[i] != "0"; i += 2) {
    }
    i++;
  }
  std::string record;
  for (; i < all.size(); i++) {
    record += all[i] + "\n";
    if (all[i] == "0") {
      break;
    }
  }
  return record;
}

TEST(JobShopRunTest, CapacityOneHasSixteenStatesWithTheDerivedRecords) {
  ModelRun run = runModel(0);
  ASSERT_EQ(0, run.status);
  EXPECT_EQ(0u, run.out.find("path=[./]\n"
                             "The Global Variable values for experiment Experiment 1 are:\n"
                             "queue_capacity\tshort\t1\n"));
  EXPECT_NE(std::string::npos, run.out.find("_$16$\nGenerated: 16 states\n"));
  EXPECT_EQ(0u, run.arm.find("1\n16\n" + std::string(60, ' ') + "\n1\n"));

  // Empty shop: the arrival goes to one of the four idle machines.
  EXPECT_EQ(
      "1\n"
      "2\n2.5000000000e-01\n3\n2.5000000000e-01\n4\n2.5000000000e-01\n5\n2.5000000000e-01\n"
      "0\n",
      recordOf(run.arm, 1));
  // State 2 is (1,0,0,0): an arrival goes to machine 2, 3 or 4 (states 6 to
  // 8); the service (0.3) leads to the empty shop (0.9) or, reworked, back to
  // any of the four idle machines (0.3 x 0.1 / 4 each).
  EXPECT_EQ(
      "2\n"
      "1\n2.7000000000e-01\n"
      "2\n7.5000000000e-03\n3\n7.5000000000e-03\n4\n7.5000000000e-03\n5\n7.5000000000e-03\n"
      "6\n3.3333333333e-01\n7\n3.3333333333e-01\n8\n3.3333333333e-01\n"
      "0\n",
      recordOf(run.arm, 2));
  // State 16 is the full shop: arrivals are rejected and reworked parts go
  // back to the machine just freed, so it loops at 1 + 0.1 x 1.5; each
  // service that passes frees one machine (states 15 to 12 lack machines
  // 1 to 4).
  EXPECT_EQ(
      "16\n"
      "12\n4.0500000000e-01\n13\n3.6000000000e-01\n14\n3.1500000000e-01\n"
      "15\n2.7000000000e-01\n16\n1.1500000000e+00\n"
      "0\n",
      recordOf(run.arm, 16));
  // A rejection never discovers a state, so no state records its impulse.
  EXPECT_EQ(0u, run.var.find("queue_length1\nqueue_length2\nqueue_length3\nqueue_length4\n"
                             "rejections\n"
                             "1\n0\n0\n0\n0\n0\n0\n0\n0\n0\n0\n"
                             "2\n0\n1\n0\n0\n0\n0\n0\n0\n0\n0\n"));
}

// Every vector of queue lengths up to the capacity is a stable state.
TEST(JobShopRunTest, EveryQueueVectorIsAStateAlsoWithAnOverriddenCapacity) {
  const int counts[] = {16, 81, 625};
  for (int e = 0; e < 3; e++) {
    ModelRun run = runModel(e);
    ASSERT_EQ(0, run.status);
    std::string count = std::to_string(counts[e]);
    EXPECT_NE(std::string::npos, run.out.find("Generated: " + count + " states\n"));
    EXPECT_EQ(0u, run.arm.find("1\n" + count + "\n"));
  }
  ModelRun run = runModel(0, "-Os:queue_capacity:3");
  ASSERT_EQ(0, run.status);
  EXPECT_NE(std::string::npos, run.out.find("Generated: 256 states\n"));
}

}  // namespace
