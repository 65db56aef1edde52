// The study runner end to end: its table and CSV for this build's model,
// reuse of complete experiments, a failing experiment among good ones, a
// net, and sweeps refused before anything runs.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "tests/TestFiles.h"

namespace {

using test_files::linesOf;
using test_files::ProgramRun;
using test_files::ScratchDir;

const std::string kModel = std::string(PROJECT_SOURCE_DIR) + "/model/basic_model.san";
const std::string kQueue = std::string(PROJECT_SOURCE_DIR) + "/examples/breakdown_queue.san";

class StudyRunnerTest : public testing::Test {
 protected:
  // Runs the runner with arguments in the scratch folder, its output in out/.
  ProgramRun study(const std::string& arguments) const {
    return dir.run(std::string(STUDY_EXECUTABLE) + " -o out -j 2 " + arguments);
  }
  std::string queue(const std::string& arguments) const {
    return "--executable " + std::string(EXAMPLES_DIR) + "/breakdown_queue " + arguments + " " +
           kQueue;
  }
  std::filesystem::file_time_type written(const std::string& name) const {
    return std::filesystem::last_write_time(dir.prefix() + name);
  }

  ScratchDir dir;
};

// The table and the CSV keep the columns and values of this build's study,
// experiments numbered from 1 as in the file names and gen's console; the
// chart draws over the study's first variable, one line per the other.
TEST_F(StudyRunnerTest, TheTableAndTheCsvOfThisBuildsModel) {
  const ProgramRun run =
      study("--executable " + std::string(GEN_EXECUTABLE) + " " + kModel);
  ASSERT_EQ(0, run.status) << run.err;
  const std::vector<std::string> table = linesOf(run.out);
  ASSERT_EQ(26u, table.size()) << run.out;
  EXPECT_EQ("experiment  flash_size  ram_size  states   reliability@365  reliability@365 error",
            table[0]);
  EXPECT_EQ("         1          32        32       8  8.3515759809e-04                4.7e-15",
            table[1]);
  EXPECT_EQ("        25         512       512       8  1.2929877079e-02                7.0e-14",
            table[25]);
  const std::vector<std::string> csv = linesOf(dir.read("out/results.csv"));
  ASSERT_EQ(26u, csv.size());
  EXPECT_EQ("experiment,flash_size,ram_size,states,reliability@365,reliability@365 error", csv[0]);
  EXPECT_EQ("6,32,64,8,1.6561520851e-03,8.9e-16", csv[6]);
  EXPECT_NE(std::string::npos, dir.read("out/exp3.log").find("Experiment 3 are:"));
  EXPECT_NE(std::string::npos,
            dir.read("out/reliability.svg").find("over ram_size, one line per flash_size"));
  const std::string report = dir.read("out/report.html");
  EXPECT_NE(std::string::npos, report.find("<td>1.2929877079e-02</td>"));
  EXPECT_NE(std::string::npos, report.find("<svg "));
}

// A second run reuses every complete experiment; one whose file changed, or
// a change of the solver's options, runs again.
TEST_F(StudyRunnerTest, ASecondRunReusesCompleteExperimentsOnly) {
  ASSERT_EQ(0, study(queue("--vary capacity=1:1:3")).status);
  const auto first = written("out/exp1.arm"), second = written("out/exp2.arm");
  std::ofstream(dir.prefix() + "out/exp2.var", std::ios::app) << "\n";
  const ProgramRun again = study(queue("--vary capacity=1:1:3"));
  ASSERT_EQ(0, again.status) << again.err;
  EXPECT_NE(std::string::npos, again.err.find("2 of 3 experiments reused")) << again.err;
  EXPECT_EQ(first, written("out/exp1.arm"));
  EXPECT_NE(second, written("out/exp2.arm"));
  EXPECT_EQ(4u, linesOf(dir.read("out/results.csv")).size());
  const ProgramRun finer = study(queue("-e 1e-12 --vary capacity=1:1:3"));
  ASSERT_EQ(0, finer.status) << finer.err;
  EXPECT_EQ(std::string::npos, finer.err.find("reused")) << finer.err;
  EXPECT_NE(first, written("out/exp1.arm"));
}

// A reader that stops at once (| head) loses the table's rows, not the
// files: the runner goes on to write them and succeeds.
TEST_F(StudyRunnerTest, AClosedStandardOutputCostsNoFile) {
  const ProgramRun run = dir.run("{ " + std::string(STUDY_EXECUTABLE) + " -o out -j 2 " +
                                 queue("--vary capacity=1:1:2") +
                                 " 2>err.txt; echo $? >status.txt; } | true");
  EXPECT_EQ("0\n", dir.read("status.txt")) << dir.read("err.txt");
  EXPECT_EQ(3u, linesOf(dir.read("out/results.csv")).size());
  EXPECT_TRUE(dir.exists("out/report.html"));
}

// A case probability above 1 (ram_size 1024) stops that experiment only:
// it is reported with the generator's message, its row stays without
// values, and the exit status says that not all succeeded.
TEST_F(StudyRunnerTest, AFailingExperimentIsReportedAndTheOthersGoOn) {
  const ProgramRun run = study("--executable " + std::string(GEN_EXECUTABLE) +
                               " --vary ram_size=512,1024,256 " + kModel);
  EXPECT_EQ(1, run.status);
  EXPECT_NE(std::string::npos, run.err.find("study: experiment 2 failed: ")) << run.err;
  EXPECT_NE(std::string::npos, run.err.find("see out/exp2.log")) << run.err;
  EXPECT_NE(std::string::npos, run.err.find("study: 1 of 3 experiments failed")) << run.err;
  const std::vector<std::string> csv = linesOf(dir.read("out/results.csv"));
  ASSERT_EQ(4u, csv.size());
  EXPECT_EQ("2,32,1024,,,", csv[2]);
  EXPECT_EQ("3,32,256,8,6.5376248243e-03,1.9e-15", csv[3]);
  EXPECT_NE(std::string::npos, linesOf(run.out)[2].find("1024  failed")) << run.out;
  EXPECT_NE(std::string::npos, dir.read("out/report.html").find("Failed experiments"));
}

// The memory array's RAMs and flash have fixed delays pending at once: each
// experiment is solved in independent parts at 365 and, with -s, in the
// long run; N RAMs are corrupted N times as much as one, d / (1 / a + d)
// with d = 0.00347 and a = 0.00548 + 6.012 / 2 + 2.95e-6 / 4.
TEST_F(StudyRunnerTest, TheMemoryArrayAtItsTimeAndInTheLongRun) {
  const ProgramRun run = study("--executable " + std::string(MEMORY_ARRAY_EXECUTABLE) +
                               " --vary num_rams=1:1:3 -s " + std::string(PROJECT_SOURCE_DIR) +
                               "/bench/memory_array/memory_array.san");
  ASSERT_EQ(0, run.status) << run.err;
  const std::vector<std::string> csv = linesOf(dir.read("out/results.csv"));
  ASSERT_EQ(4u, csv.size());
  EXPECT_EQ(
      "experiment,num_rams,flash_size,ram_size,states,corrupted_rams@365,corrupted_rams@365 "
      "error,corrupted_rams@inf,corrupted_rams@inf error",
      csv[0]);
  const std::pair<std::string, std::string> rows[] = {{"1,1,256,256,8,", "1.0341768354e-02"},
                                                      {"3,3,256,256,128,", "3.1025305061e-02"}};
  for (const auto& [head, value] : rows) {
    const std::string& row = csv[head[0] - '0'];
    // The value at 365 (settled long before), its bound, the long run's, its bound.
    const std::regex expected(head + value + ",[0-9.e-]+," + value + ",[0-9.e-]+");
    EXPECT_TRUE(std::regex_match(row, expected)) << row;
  }
}

TEST_F(StudyRunnerTest, ANetRunsItsOneExperiment) {
  const std::string nets = std::string(PROJECT_SOURCE_DIR) + "/examples/nets/routing";
  const ProgramRun run = study("--executable " + std::string(NETGEN_EXECUTABLE) + " -r " + nets +
                               ".timing -w " + nets + ".rewards " + nets + ".pnml");
  ASSERT_EQ(0, run.status) << run.err;
  const std::vector<std::string> csv = linesOf(dir.read("out/results.csv"));
  ASSERT_EQ(2u, csv.size());
  EXPECT_EQ("experiment,states,busy@5,busy@5 error,ticket@1,ticket@1 error,ticket@2,ticket@2 error",
            csv[0]);
  EXPECT_EQ(0u, csv[1].find("1,4,")) << csv[1];
  EXPECT_TRUE(dir.exists("out/busy.svg"));
  EXPECT_TRUE(dir.exists("out/ticket.svg"));
}

TEST_F(StudyRunnerTest, BadSweepsAreRefusedBeforeAnythingRuns) {
  const std::pair<std::string, std::string> refused[] = {
      {queue("--vary lambda=0.1:0.1:1.0"),
       "study: --vary lambda=0.1:0.1:1.0: the model has no global variable 'lambda' (it has "
       "capacity)\n"},
      {queue("--set capacity=4.5"),
       "study: --set capacity=4.5: 4.5 is not a whole number (capacity is a short)\n"},
      {queue("--vary capacity=1:0:4"),
       "study: --vary capacity=1:0:4: the step must be non-zero and lead from first to last\n"},
      {"--set x=1 " + std::string(PROJECT_SOURCE_DIR) + "/examples/nets/routing.pnml",
       "study: --set x=1: a net has no global variables\n"},
  };
  for (const auto& [arguments, message] : refused) {
    const ProgramRun run = study(arguments);
    EXPECT_EQ(1, run.status) << arguments;
    EXPECT_EQ(0u, run.err.find(message)) << run.err;
    EXPECT_FALSE(dir.exists("out")) << arguments;
  }
}

}  // namespace
