// Whole runs of the real executable on the model of this build: every
// experiment of the study, the exact files of the first and the last, the
// output names, and the runs that cannot write their files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

#include "tests/TestFiles.h"
#include "tests/generator/GeneratorOutput.h"

namespace {

using test_files::ProgramRun;
using test_files::ScratchDir;

// The states of the model: (flash_working, ram_working, ram_corrupted,
// flash_corrupted), numbered in breadth-first order of discovery:
//   1 (1,1,0,0)  2 (0,1,0,1)  3 (1,1,1,0)  4 (1,0,1,0)
//   5 (0,1,1,1)  6 (0,0,1,1)  7 (1,0,2,0)  8 (0,0,2,1)
// The activities are explored flash first (seu cases, sefi, power_cycle),
// then RAM (watchdog_reboot, random_failure, bit_error and page_error cases).
// power_cycle (delay 1e19) and watchdog_reboot (delay 0.00347) fire with
// probability 1 and appear as -1.
//
// Experiment 0: flash_size = ram_size = 32, so the first seu and bit_error
// cases weigh 1 - 32/512 = 0.9375 and the second 0.0625; page_error's are
// 0.75 and 0.25.
// - Self-loop of a state with flash and RAM working (1, 3):
//   6.012 x 0.9375 + 1.5e-16 x 0.9375 + 2.95e-06 x 0.75 = 5.6362522125;
//   without working flash (2, 5) the same less 1.4e-16; with working flash
//   but not RAM (4, 7) only seu_case1: 1.5e-16 x 0.9375 = 1.40625e-16.
// - Flash corrupted (seu_case2 or sefi): 1.5e-16 x 0.0625 + 0.00274 = 0.00274.
// - RAM corrupted by random_failure: 0.00548 (only while ram_corrupted is 0).
// - RAM corrupted by bit_error_case2 or page_error_case2:
//   6.012 x 0.0625 + 2.95e-06 x 0.25 = 0.3757507375.
const char kArm0[] =
    "1\n8\n      \n"
    "1\n1\n5.6362522125e+00\n2\n2.7400000000e-03\n3\n5.4800000000e-03\n4\n3.7575073750e-01\n0\n"
    "2\n1\n-1.0000000000e+00\n2\n5.6362522125e+00\n5\n5.4800000000e-03\n6\n3.7575073750e-01\n0\n"
    "3\n1\n-1.0000000000e+00\n3\n5.6362522125e+00\n5\n2.7400000000e-03\n7\n3.7575073750e-01\n0\n"
    "4\n1\n-1.0000000000e+00\n4\n1.4062500000e-16\n6\n2.7400000000e-03\n0\n"
    "5\n2\n-1.0000000000e+00\n3\n-1.0000000000e+00\n5\n5.6362522125e+00\n8\n3.7575073750e-01\n0\n"
    "6\n2\n-1.0000000000e+00\n4\n-1.0000000000e+00\n0\n"
    "7\n1\n-1.0000000000e+00\n7\n1.4062500000e-16\n8\n2.7400000000e-03\n0\n"
    "8\n2\n-1.0000000000e+00\n7\n-1.0000000000e+00\n0\n";

// Experiment 24: flash_size = ram_size = 512, so the first seu and bit_error
// cases weigh 0 and record nothing; the second weigh 1.
// - Self-loops only from page_error_case1 where the RAM works:
//   2.95e-06 x 0.75 = 2.2125e-06; none elsewhere (states 4, 7 lose theirs).
// - Flash corrupted: 1.5e-16 x 1 + 0.00274 = 0.00274.
// - RAM corrupted by bit_error_case2 or page_error_case2:
//   6.012 x 1 + 2.95e-06 x 0.25 = 6.0120007375.
const char kArm24[] =
    "1\n8\n      \n"
    "1\n1\n2.2125000000e-06\n2\n2.7400000000e-03\n3\n5.4800000000e-03\n4\n6.0120007375e+00\n0\n"
    "2\n1\n-1.0000000000e+00\n2\n2.2125000000e-06\n5\n5.4800000000e-03\n6\n6.0120007375e+00\n0\n"
    "3\n1\n-1.0000000000e+00\n3\n2.2125000000e-06\n5\n2.7400000000e-03\n7\n6.0120007375e+00\n0\n"
    "4\n1\n-1.0000000000e+00\n6\n2.7400000000e-03\n0\n"
    "5\n2\n-1.0000000000e+00\n3\n-1.0000000000e+00\n5\n2.2125000000e-06\n8\n6.0120007375e+00\n0\n"
    "6\n2\n-1.0000000000e+00\n4\n-1.0000000000e+00\n0\n"
    "7\n1\n-1.0000000000e+00\n8\n2.7400000000e-03\n0\n"
    "8\n2\n-1.0000000000e+00\n7\n-1.0000000000e+00\n0\n";

// The same in every experiment. power_cycle, first met in state 2, is
// enabled where the flash is corrupted (2, 5, 6, 8); watchdog_reboot where
// the RAM is (3 to 8). "reliability" is 1 where both are corrupted (5, 6, 8).
const char kDet[] = "2\n1.0000000000e+19\n2\n5\n6\n8\n0\n3.4700000000e-03\n3\n4\n5\n6\n7\n8\n0\n";
const char kVar[] =
    "reliability\n1\n0\n0\n2\n0\n0\n3\n0\n0\n4\n0\n0\n5\n0\n1\n6\n0\n1\n7\n0\n0\n8\n0\n1\n";
const char kPvtype[] =
    "Version:1\nNumPV:1\nName:reliability\nType:0\nNumTimes:1\nStart:365\nStop:365\n";

const char kProbabilityMessage[] =
    "; rates and case probabilities must be finite and not negative\n";

class GenRunTest : public testing::Test {
 protected:
  GenRunTest() { emptyOut(); }

  // An empty directory out in the scratch directory.
  void emptyOut() {
    std::filesystem::remove_all(dir.path + "/out");
    std::filesystem::create_directory(dir.path + "/out");
  }
  // Runs gen with arguments in the scratch directory, after the shell
  // commands of setUp.
  ProgramRun run(const std::string& arguments, const std::string& setUp = "") {
    return dir.run(setUp + GEN_EXECUTABLE + " " + arguments);
  }
  // Runs experiment 0 as out/e1 and expects it to fail with message.
  void expectFailure(const std::string& message, const std::string& options = "") {
    ProgramRun failed = run("-Pout/ -Ne1 -B0" + options);
    EXPECT_EQ(1, failed.status);
    EXPECT_EQ(message, failed.err);
  }
  void expectFiles(const std::string& prefix, const std::string& arm) {
    EXPECT_EQ(arm, dir.read(prefix + ".arm"));
    EXPECT_EQ(kVar, dir.read(prefix + ".var"));
    EXPECT_EQ(kPvtype, dir.read(prefix + ".pvtype"));
    EXPECT_EQ(kDet, dir.read(prefix + ".det"));
  }

  ScratchDir dir;
};

std::string scientific(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.10e", value);
  return text;
}

TEST_F(GenRunTest, EveryExperimentWritesWellFormedFiles) {
  const float sizes[] = {32, 64, 128, 256, 512};
  for (int e = 0; e < 25; e++) {
    SCOPED_TRACE("experiment " + std::to_string(e));
    const std::string name = "exp" + std::to_string(e + 1);
    ProgramRun generated = run("-Pout/ -N" + name + " -B" + std::to_string(e));
    EXPECT_EQ(0, generated.status);
    // A size of 512 gives the first case of seu (flash) or bit_error (RAM)
    // probability 0: its firings are dropped, reported once each, and
    // counted.
    const bool flashFull = e % 5 == 4, ramFull = e / 5 == 4;
    const std::string state =
        " in state 1 (flash_system.flash_working=1 ram_system.ram_working=1 "
        "ram_system.ram_corrupted=0 flash_corrupted=0); its firing is dropped\n";
    EXPECT_EQ((flashFull ? "Warning: activity seu_case1 of model flash_system is enabled with "
                           "case probability 0" +
                               state
                         : std::string()) +
                  (ramFull ? "Warning: activity bit_error_case1 of model ram_system is enabled "
                             "with case probability 0" +
                                 state
                           : std::string()),
              generated.err);
    const int dropped = (flashFull ? 4 : 0) + (ramFull ? 4 : 0);
    EXPECT_NE(std::string::npos,
              generated.out.find("SSG: SetTraceLevel: 0\n_$8$\nGenerated: 8 states" +
                                 (dropped > 0 ? " (" + std::to_string(dropped) +
                                                    " firings of rate or probability 0 dropped)"
                                              : std::string()) +
                                 "\n"))
        << generated.out;
    const std::string records =
        ssg_test::armRecords(dir.read("out/" + name + ".arm"), ssg_test::kDeterministicPlaceholder);
    // State 1's record from the weights of the experiment: the first case of
    // seu and bit_error weighs 1 - size/512, the second size/512.
    const double flashShare = sizes[e % 5] / 512.0;
    const double ramShare = sizes[e / 5] / 512.0;
    const double self = 1.5e-16 * (1 - flashShare) + 6.012 * (1 - ramShare) + 2.95e-06 * 0.75;
    EXPECT_EQ("1: 1=" + scientific(self) + " 2=2.7400000000e-03 3=5.4800000000e-03 4=" +
                  scientific(6.012 * ramShare + 2.95e-06 * 0.25),
              records.substr(0, records.find('\n')));
    EXPECT_EQ(8u, std::count(records.begin(), records.end(), ':'));
    EXPECT_EQ("1.0000000000e+19: 2 5 6 8\n3.4700000000e-03: 3 4 5 6 7 8",
              ssg_test::detRecords(dir.read("out/" + name + ".det")));
    EXPECT_EQ(kVar, dir.read("out/" + name + ".var"));
    EXPECT_EQ(kPvtype, dir.read("out/" + name + ".pvtype"));
  }
}

TEST_F(GenRunTest, TheFirstAndLastExperimentsWriteTheirExactFiles) {
  EXPECT_EQ(0, run("-Pout/ -Nexp1 -B0").status);
  expectFiles("out/exp1", kArm0);
  EXPECT_EQ(0, run("-Pout/ -Nexp25 -B24").status);
  expectFiles("out/exp25", kArm24);
}

TEST_F(GenRunTest, OutputNamesArePathNameAndSuffixWithoutSeparator) {
  EXPECT_EQ(0, run("-Pout/ -Ne1 -B0").status);
  expectFiles("out/e1", kArm0);
  EXPECT_EQ(0, run("-Pout -Ne1 -B0").status);
  expectFiles("oute1", kArm0);
  ProgramRun unplaced = run("-Ne2 -B24 -F0");
  EXPECT_EQ(0, unplaced.status);
  expectFiles("e2", kArm24);
  // A path longer than any fixed name buffer.
  const std::string deep = "out/" + std::string(120, 'd') + "/" + std::string(120, 'e') + "/";
  std::filesystem::create_directories(dir.path + "/" + deep);
  EXPECT_EQ(0, run("-P" + deep + " -N" + std::string(100, 'n') + " -B0").status);
  expectFiles(deep + std::string(100, 'n'), kArm0);
}

TEST_F(GenRunTest, TracesAndTheResultsDatabaseLeaveTheRunIntact) {
  ProgramRun traced = run("-Pout/ -Ne1 -B0 -l4 -ttrace.txt -shost -eentity");
  EXPECT_EQ(0, traced.status);
  EXPECT_EQ("", traced.err);
  const std::string line = "SSG: SetTraceLevel: 4\n";
  const size_t first = traced.out.find(line);
  EXPECT_NE(std::string::npos, first);
  EXPECT_EQ(std::string::npos, traced.out.find(line, first + 1)) << "printed once";
  EXPECT_EQ(0u, dir.read("trace.txt").find("State Number = 1\nEnabled: seu_case1\n"));
  expectFiles("out/e1", kArm0);
}

TEST_F(GenRunTest, FinalNamesThatCannotBeReplacedStopTheRunBeforeAnyOutput) {
  ProgramRun missing = run("-Pnowhere/ -Ne1 -B0");
  EXPECT_EQ(1, missing.status);
  EXPECT_EQ("Error: Could not write nowhere/e1.pvtype: No such file or directory\n", missing.err);
  // Each file of the run's set, the optional ones too, blocked by a
  // directory of its name.
  for (const char* suffix : {".pvtype", ".det", ".arm", ".var", ".states", ".firings", ".imp"}) {
    emptyOut();
    std::filesystem::create_directory(dir.path + "/out/e1" + suffix);
    expectFailure(std::string("Error: Could not write out/e1") + suffix + ": Is a directory\n");
    EXPECT_EQ(1, std::distance(std::filesystem::directory_iterator(dir.path + "/out"),
                               std::filesystem::directory_iterator()))
        << "nothing written beside " << suffix;
  }
}

TEST_F(GenRunTest, StaleFilesAreRemovedAFailedRunLeavesNoneAndLinksAreNotFollowed) {
  // Files of another run under this run's names, one a link to a file of
  // someone else's.
  const auto stale = [this] {
    emptyOut();
    for (const char* suffix : {".var", ".pvtype", ".det", ".states", ".firings", ".imp"}) {
      std::ofstream(dir.path + "/out/e1" + suffix) << "stale\n";
    }
    std::ofstream(dir.path + "/kept") << "not the run's\n";
    std::filesystem::create_symlink("../kept", dir.path + "/out/e1.arm");
  };
  stale();
  // bit_error_case1 weighs 1 - 1000/512 < 0: the run stops while exploring.
  EXPECT_EQ(1, run("-Pout/ -Ne1 -B0 -Of:ram_size:1000").status);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path + "/out"));
  stale();
  EXPECT_EQ(0, run("-Pout/ -Ne1 -B0").status);
  expectFiles("out/e1", kArm0);
  EXPECT_FALSE(std::filesystem::is_symlink(dir.path + "/out/e1.arm"));
  EXPECT_EQ("not the run's\n", dir.read("kept"));
  for (const char* suffix : {".states", ".firings", ".imp"}) {
    EXPECT_FALSE(dir.exists(std::string("out/e1") + suffix)) << suffix;
  }
  EXPECT_EQ(4, std::distance(std::filesystem::directory_iterator(dir.path + "/out"),
                             std::filesystem::directory_iterator()))
      << "no temporary file left";
}

TEST_F(GenRunTest, AnUnwritableDirectoryStopsTheRun) {
  // Permissions do not bind the superuser, so it runs the generator as nobody.
  const std::string asUser =
      geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
  chmod(dir.path.c_str(), 0755);
  chmod((dir.path + "/out").c_str(), 0555);
  ProgramRun failed = run("-Pout/ -Ne1 -B0", asUser);
  EXPECT_EQ(1, failed.status);
  EXPECT_EQ("Error: Could not write out/e1.pvtype: Permission denied\n", failed.err);
  EXPECT_FALSE(dir.exists("out/e1.pvtype"));
}

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
// The sanitizers reserve terabytes of address space at start, so only the
// plain build runs under an address-space limit.
TEST_F(GenRunTest, RunningOutOfMemoryAnywhereEndsTheRunWithAMessage) {
  // From limits that stop the loader to limits the run fits in: every
  // allocation that fails, before main too, ends the run with status 1 and
  // a message, never with an uncaught exception.
  int stoppedWithAMessage = 0;
  for (int kb = 4096; kb <= 32768; kb += 512) {
    ProgramRun limited = run("-Pout/ -Ne1 -B0", "ulimit -v " + std::to_string(kb) + " && ");
    SCOPED_TRACE(std::to_string(kb) + " KB: " + limited.err);
    EXPECT_TRUE(limited.status == 0 || limited.status == 1 || limited.status == 127);
    if (limited.status == 1) {
      EXPECT_NE("", limited.err);
      stoppedWithAMessage++;
    }
  }
  EXPECT_GT(stoppedWithAMessage, 0);
}
#endif

TEST_F(GenRunTest, AWriteThatFailsStopsTheRunAndLeavesNoFile) {
  // No file may grow: the first write fails, as on a full disk. The
  // messages go through a pipe, which the limit does not bind.
  ProgramRun limited = dir.run(std::string("{ ulimit -f 0; trap '' XFSZ; ") + GEN_EXECUTABLE +
                               " -Pout/ -Ne1 -B0 2>&1 >/dev/null; echo status $?; } | cat");
  EXPECT_EQ("Error: Could not write out/e1.pvtype: File too large\nstatus 1\n", limited.out);
  EXPECT_TRUE(std::filesystem::is_empty(dir.path + "/out"));
}

TEST_F(GenRunTest, AnOverrideThatMakesACaseWeightNegativeStopsTheRun) {
  // bit_error_case1 weighs 1 - 1000/512 < 0.
  expectFailure(std::string("Error: activity bit_error_case1 has the case probability -0.953125 in "
                            "state 1") +
                    kProbabilityMessage,
                " -Of:ram_size:1000");
}

}  // namespace
