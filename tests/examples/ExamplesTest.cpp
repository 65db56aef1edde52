// Runs of the example models: each reaches the number of states derived by
// hand in its header comment; the repairman's whole state space is checked.
#include <gtest/gtest.h>

#include <string>

#include "tests/TestFiles.h"

namespace {

struct ExampleRun {
  int status;
  std::string out;
  std::string arm;
};

ExampleRun runExample(const std::string& example, int experiment) {
  test_files::ScratchDir dir(example);
  test_files::ProgramRun program = dir.run(std::string(EXAMPLES_DIR) + "/" + example +
                                           " -P./ -Ne -B" + std::to_string(experiment));
  EXPECT_EQ("", program.err);
  return {program.status, program.out, dir.read("e.arm")};
}

bool generated(const ExampleRun& run, long states) {
  return run.out.find("\nGenerated: " + std::to_string(states) + " states\n") != std::string::npos;
}

// States (machine 1, machine 2): 1 UU, 2 RU, 3 LU, 4 UR, 5 UL, 6 RW, 7 RL,
// 8 LR, 9 LL, 10 WR, numbered as the exploration meets them. A failure
// (0.01) is fatal with probability 0.1; a repair (0.5) hands the repairman
// to a waiting machine at once.
const char kRepairmanArm[] =
    "1\n"
    "2\n9.0000000000e-03\n3\n1.0000000000e-03\n4\n9.0000000000e-03\n5\n1.0000000000e-03\n0\n"
    "2\n1\n5.0000000000e-01\n6\n9.0000000000e-03\n7\n1.0000000000e-03\n0\n"
    "3\n8\n9.0000000000e-03\n9\n1.0000000000e-03\n0\n"
    "4\n1\n5.0000000000e-01\n8\n1.0000000000e-03\n10\n9.0000000000e-03\n0\n"
    "5\n7\n9.0000000000e-03\n9\n1.0000000000e-03\n0\n"
    "6\n4\n5.0000000000e-01\n0\n"
    "7\n5\n5.0000000000e-01\n0\n"
    "8\n3\n5.0000000000e-01\n0\n"
    "9\n0\n"
    "10\n2\n5.0000000000e-01\n0\n";

TEST(ExamplesTest, TheRepairmanModelHasTheDerivedStateSpace) {
  ExampleRun run = runExample("repairman", 0);
  ASSERT_EQ(0, run.status);
  EXPECT_TRUE(generated(run, 10)) << run.out;
  const std::string header = "1\n10\n" + std::string(60, ' ') + "\n";
  ASSERT_EQ(0u, run.arm.find(header));
  EXPECT_EQ(kRepairmanArm, run.arm.substr(header.size()));
}

TEST(ExamplesTest, TheBreakdownQueueHasTwoStatesPerQueueLength) {
  for (int capacity : {1, 5, 10}) {
    ExampleRun run = runExample("breakdown_queue", capacity - 1);
    ASSERT_EQ(0, run.status);
    EXPECT_TRUE(generated(run, 2 * (capacity + 1))) << run.out;
  }
}

TEST(ExamplesTest, TheTandemLineHasFifteenStates) {
  ExampleRun run = runExample("tandem", 0);
  ASSERT_EQ(0, run.status);
  EXPECT_TRUE(generated(run, 15)) << run.out;
}

// One description for every size: the study's experiment e has N = e + 2
// stations (K = e + 2 stages); the line is built with a family of
// activities, and again with copies of a stage.
TEST(ExamplesTest, ParametricModelsHaveTheDerivedCountsAtEverySize) {
  for (int n : {2, 3}) {
    ExampleRun ring = runExample("polling_ring", n - 2);
    ASSERT_EQ(0, ring.status);
    EXPECT_TRUE(generated(ring, 3 * n * (1 << (n - 1)))) << ring.out;
    for (const char* line : {"tandem_stages", "tandem_copies"}) {
      ExampleRun run = runExample(line, n - 2);
      ASSERT_EQ(0, run.status);
      EXPECT_TRUE(generated(run, 1 << n)) << line << run.out;
    }
  }
  // A size out of bounds stops the build of the model, naming the expression.
  test_files::ScratchDir dir("tandem_stages");
  test_files::ProgramRun run =
      dir.run(std::string(EXAMPLES_DIR) + "/tandem_stages -P./ -Ne -B0 -Oi:K:1001");
  EXPECT_EQ(1, run.status);
  EXPECT_EQ(
      "Error: the array of places part of model line would have 1001 places (its size is "
      "K); an array holds a whole number of places from 1 to 1000\n",
      run.err);
}

// A rate that comes out 0 where its activity is enabled drops the firing:
// the run says so once per activity, with the state, and counts the drops.
TEST(ExamplesTest, FiringsOfRateZeroAreReportedAndCounted) {
  test_files::ScratchDir dir("polling_ring");
  test_files::ProgramRun run =
      dir.run(std::string(EXAMPLES_DIR) + "/polling_ring -P./ -Ne -B0 -Od:mu:0");
  EXPECT_EQ(0, run.status);
  EXPECT_EQ(
      "Warning: activity serve of model station is enabled with rate 0 in state 8 "
      "(station[1].queue=0 station[2].queue=1 position=1 walking=0); its firing is dropped\n"
      "Warning: activity serve of model station is enabled with rate 0 in state 10 "
      "(station[1].queue=1 station[2].queue=0 position=0 walking=0); its firing is dropped\n",
      run.err);
  EXPECT_NE(std::string::npos,
            run.out.find("\nGenerated: 12 states (4 firings of rate or probability 0 dropped)\n"))
      << run.out;
}

}  // namespace
