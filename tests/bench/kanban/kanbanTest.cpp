// Runs of the Kanban model's executable: state counts, the first records of
// the smallest state space.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/TestFiles.h"

namespace {

struct ModelRun {
  int status = -1;
  std::string out;
  std::string arm;
  std::string var;
};

// Runs the model with arguments in a fresh directory, as the experiment "k".
ModelRun runModel(const std::string& arguments) {
  test_files::ScratchDir dir("kanban");
  test_files::ProgramRun program =
      dir.run(std::string(MODEL_EXECUTABLE) + " -P./ -Nk " + arguments);
  return {program.status, program.out, dir.read("k.arm"), dir.read("k.var")};
}

long binomial(long n, long k) {
  long result = 1;
  for (long i = 1; i <= k; i++) {
    result = result * (n - k + i) / i;
  }
  return result;
}

// Every cell keeps w = x + y + z and holds at most t parts: C(t+3, 3)
// markings (x, y, z). Cells 2 and 3 are filled by s1 and emptied by s2
// together, so they always hold the same number n of parts, C(n+2, 2)
// markings each; cells 1 and 4 are free. Hence the reachable states number
// C(t+3, 3)^2 times the sum of C(n+2, 2)^2 over n = 0..t.
long reachableStates(long t) {
  long pairs = 0;
  for (long n = 0; n <= t; n++) {
    pairs += binomial(n + 2, 2) * binomial(n + 2, 2);
  }
  return binomial(t + 3, 3) * binomial(t + 3, 3) * pairs;
}

std::string line(const std::string& text, int number) {
  std::istringstream in(text);
  std::string result;
  for (int i = 0; i < number && std::getline(in, result); i++) {
  }
  return result;
}

TEST(KanbanTest, TheCountingArgumentGivesThePublishedCounts) {
  const long published[] = {160, 4600, 58400, 454475, 2546432, 11261376};
  for (long t = 1; t <= 6; t++) {
    EXPECT_EQ(published[t - 1], reachableStates(t)) << "t = " << t;
  }
}

TEST(KanbanTest, ExperimentsOneToThreeAndAnOverrideReachThePublishedCounts) {
  for (int experiment = 0; experiment < 3; experiment++) {
    long t = experiment + 1;
    ModelRun run = runModel("-B" + std::to_string(experiment));
    ASSERT_EQ(0, run.status) << run.out;
    std::string count = std::to_string(reachableStates(t));
    EXPECT_NE(std::string::npos, run.out.find("\nGenerated: " + count + " states\n")) << run.out;
    EXPECT_EQ(count, line(run.arm, 2));
  }
  ModelRun run = runModel("-B0 -Os:t:2");
  ASSERT_EQ(0, run.status) << run.out;
  EXPECT_NE(std::string::npos, run.out.find("\nGenerated: 4600 states\n")) << run.out;
}

// State 1 is the empty system; the records follow the activity order in,
// redo1, ok1, back1, s1, redo2, ok2, back2, s2, redo3, ..., out.
const char kFirstRecordsForOneToken[] =
    "1\n"
    "160\n"
    "                                                           \n"
    // Empty: only in is enabled; state 2 has a part in x1.
    "1\n2\n1.0000000000e+00\n0\n"
    // x1: redo1 to y1 (state 3), ok1 to z1 (state 4).
    "2\n3\n3.6000000000e-01\n4\n8.4000000000e-01\n0\n"
    // y1: back1 returns it to x1.
    "3\n2\n3.0000000000e-01\n0\n"
    // z1: s1 puts one part each into x2 and x3 (state 5).
    "4\n5\n4.0000000000e-01\n0\n"
    // x2 and x3: in (6), redo2 (7), ok2 (8), redo3 (9), ok3 (10).
    "5\n6\n1.0000000000e+00\n7\n4.2000000000e-01\n8\n9.8000000000e-01\n"
    "9\n3.9000000000e-01\n10\n9.1000000000e-01\n0\n";

// Header, then per state: number, and for each cell impulse 0 and tokens.
const char kFirstRewardsForOneToken[] =
    "cell1_tokens\ncell2_tokens\ncell3_tokens\ncell4_tokens\n"
    "1\n0\n0\n0\n0\n0\n0\n0\n0\n"
    "2\n0\n1\n0\n0\n0\n0\n0\n0\n"
    "3\n0\n1\n0\n0\n0\n0\n0\n0\n"
    "4\n0\n1\n0\n0\n0\n0\n0\n0\n"
    "5\n0\n0\n0\n1\n0\n1\n0\n0\n";

TEST(KanbanTest, OneTokenPerCellGivesTheHandDerivedFirstRecords) {
  ModelRun run = runModel("-B0");
  ASSERT_EQ(0, run.status) << run.out;
  EXPECT_EQ(kFirstRecordsForOneToken, run.arm.substr(0, sizeof kFirstRecordsForOneToken - 1));
  EXPECT_EQ(kFirstRewardsForOneToken, run.var.substr(0, sizeof kFirstRewardsForOneToken - 1));
  EXPECT_NE(std::string::npos,
            run.out.find("The Global Variable values for experiment Experiment 1 are:\n"
                         "t\tshort\t1\n"))
      << run.out;
}

}  // namespace

namespace {

// A run stopped while it explores leaves nothing under its names: its
// temporary files go on a SIGTERM, and even a SIGKILL, which leaves them,
// leaves no final name. t = 5 takes seconds, so both signals arrive while
// it explores.
TEST(KanbanInterruptedTest, AStoppedRunLeavesNoFileUnderItsNames) {
  for (const char* signal : {"TERM", "KILL"}) {
    SCOPED_TRACE(signal);
    test_files::ScratchDir dir("kanban");
    for (const char* suffix : {".arm", ".var", ".pvtype"}) {
      std::ofstream(dir.prefix() + "k" + suffix) << "an earlier run's\n";
    }
    test_files::ProgramRun stopped =
        dir.run(std::string("(") + MODEL_EXECUTABLE + " -P./ -Nk -B4 >/dev/null & sleep 0.5; kill -" +
                signal + " $!; wait $!; echo status $?)");
    EXPECT_EQ(std::string("status ") + (signal[0] == 'T' ? "143" : "137") + "\n", stopped.out);
    for (const char* suffix : {".arm", ".var", ".pvtype"}) {
      EXPECT_FALSE(dir.exists(std::string("k") + suffix)) << suffix;
    }
    std::size_t temporaries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path)) {
      temporaries += entry.path().filename().string().find(".part") != std::string::npos;
    }
    if (signal[0] == 'T') {
      EXPECT_EQ(0u, temporaries);
    }
  }
}

}  // namespace
