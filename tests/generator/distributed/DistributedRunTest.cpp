// Distributed runs (mpirun -np K <model>-mpi) against the sequential run of
// the same model: every file the same, byte for byte, and a run that loses
// a process fails without leaving the run's files behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/TestFiles.h"

namespace {

std::string source(const std::string& file) { return std::string(TEST_SOURCE_DIR) + "/" + file; }

// mpirun as CI runs it: as root, more processes than cores, in a
// container that may forbid one process reading another's memory (which
// shared memory's single copy does); under the leak checker, without the
// MPI library's own allocations kept to the end (whole stacks, which name
// the MPI call that made them).
const std::string kEnvironment =
    "OMPI_ALLOW_RUN_AS_ROOT=1 OMPI_ALLOW_RUN_AS_ROOT_CONFIRM=1 "
    "OMPI_MCA_btl_vader_single_copy_mechanism=none "
    "ASAN_OPTIONS=detect_leaks=1:fast_unwind_on_malloc=0 LSAN_OPTIONS=suppressions=" +
    source("generator/distributed/mpi.supp");
// A run that hangs (a process waiting for a message that never comes)
// fails its test after 5 minutes instead of holding up the whole suite.
const std::string kLauncher =
    kEnvironment + " timeout -k 10 300 " + MPIEXEC_EXECUTABLE + " --oversubscribe";

// The names of the files in dir, without the console's.
std::vector<std::string> filesIn(const test_files::ScratchDir& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path)) {
    const std::string name = entry.path().filename().string();
    if (name != "stdout.txt" && name != "stderr.txt") {
      names.push_back(name);
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

// The line that counts the states (and the firings dropped), or "".
std::string summaryLine(const std::string& out) {
  const std::size_t at = out.find("Generated: ");
  return at == std::string::npos ? std::string() : out.substr(at, out.find('\n', at) - at);
}

// Runs executable with arguments once alone and once over each number of
// processes, and expects the same files.
void expectSameFiles(const std::string& executable, const std::string& arguments) {
  test_files::ScratchDir alone("seq");
  const test_files::ProgramRun sequential = alone.run(executable + " -P./ -Nk " + arguments);
  ASSERT_EQ(0, sequential.status) << sequential.err;
  ASSERT_NE("", summaryLine(sequential.out)) << sequential.out;
  const std::vector<std::string> expected = filesIn(alone);
  ASSERT_GE(expected.size(), 3u);
  for (int processes : {2, 3}) {
    test_files::ScratchDir spread("mpi");
    const test_files::ProgramRun run = spread.run(kLauncher + " -np " + std::to_string(processes) +
                                                  " " + executable + "-mpi -P./ -Nk " + arguments);
    ASSERT_EQ(0, run.status) << run.err;
    EXPECT_EQ(expected, filesIn(spread)) << processes << " processes: " << arguments;
    for (const std::string& name : expected) {
      EXPECT_TRUE(alone.read(name) == spread.read(name))
          << name << " differs over " << processes << " processes: " << executable << " "
          << arguments;
    }
    EXPECT_EQ(summaryLine(sequential.out), summaryLine(run.out)) << run.out;
  }
}

TEST(DistributedRunTest, ThisBuildsModelWithDelaysMarkingsAndFirings) {
  expectSameFiles(GEN_EXECUTABLE, "-B0 -M -D");
  // Case probabilities 0: their firings are dropped, counted over all
  // processes.
  expectSameFiles(GEN_EXECUTABLE, "-B24 -D");
}

TEST(DistributedRunTest, KanbanUpToThreeKanbans) {
  for (int experiment = 0; experiment < 3; experiment++) {
    expectSameFiles(KANBAN_EXECUTABLE, "-M -B" + std::to_string(experiment));
  }
}

// Binary and compressed forms, heads and delay lists included.
TEST(DistributedRunTest, EveryFormOfOutput) {
  expectSameFiles(KANBAN_EXECUTABLE, "-B1 -F2");
  expectSameFiles(KANBAN_EXECUTABLE, "-B1 -z3 -M");
  expectSameFiles(GEN_EXECUTABLE, "-B3 -F2 -z -D");
}

// Zero-time routing chains and impulses (".imp").
TEST(DistributedRunTest, JobShop) { expectSameFiles(JOB_SHOP_EXECUTABLE, "-B2 -M"); }

// Deterministic delays enabled together: ".det" and ".firings".
TEST(DistributedRunTest, MemoryArray) { expectSameFiles(MEMORY_ARRAY_EXECUTABLE, "-B3 -M -D"); }

// Erlang phases reset by a disabling firing, cases, impulses.
TEST(DistributedRunTest, ErlangPhases) { expectSameFiles(PHASES_EXECUTABLE, "-M"); }

TEST(DistributedRunTest, Nets) {
  expectSameFiles(NETGEN_EXECUTABLE,
                  "-M -m " + source("netimport/nets/Philosophers-PT-000005.pnml"));
  expectSameFiles(NETGEN_EXECUTABLE, "-m " + source("netimport/nets/TokenRing-PT-005.pnml"));
  // Immediate transitions with weights and priorities, and rewards.
  const std::string routing = source("../examples/nets/routing");
  expectSameFiles(NETGEN_EXECUTABLE,
                  "-m " + routing + ".pnml -r " + routing + ".timing -w " + routing + ".rewards");
}

// A process killed while the states are explored ends the whole run with
// a failure, and none of the run's files is there to be taken as complete.
TEST(DistributedRunTest, KilledProcessFailsTheRun) {
  test_files::ScratchDir dir("killed");
  // Once process 1 writes its part, the launcher's second child is killed.
  const std::string command =
      "true; " + kLauncher + " -np 2 " + KANBAN_EXECUTABLE +
      "-mpi -P./ -Nk -B5 >run.txt 2>&1 & launcher=$!; "
      "for i in $(seq 1 2000); do "
      "[ -n \"$(find . -name 'k.part1.arm*' -size +0)\" ] && break; sleep 0.05; done; "
      "kill -9 $(pgrep -P $(pgrep -P $launcher) | tail -1); wait $launcher";
  const test_files::ProgramRun run = dir.run(command);
  EXPECT_NE(0, run.status);
  EXPECT_NE(std::string::npos, dir.read("run.txt").find("signal 9")) << dir.read("run.txt");
  for (const char* file : {"k.arm", "k.var", "k.pvtype"}) {
    EXPECT_FALSE(dir.exists(file)) << file;
  }
}

}  // namespace
