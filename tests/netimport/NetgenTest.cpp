// Whole runs of build/netgen: the published state counts of the shared nets,
// the worked example against its hand-derived files, and the runs that
// must stop with a message and status 1.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/TestFiles.h"

namespace {

using test_files::ProgramRun;
using test_files::ScratchDir;

const std::string kNets = std::string(TEST_SOURCE_DIR) + "/netimport/nets/";
const std::string kExample = std::string(TEST_SOURCE_DIR) + "/../examples/nets/routing";

// Runs netgen in dir with output prefix dir/ and name "run".
ProgramRun netgen(const ScratchDir& dir, const std::string& options) {
  return dir.run(std::string(NETGEN_EXECUTABLE) + " -P" + dir.prefix() + " -Nrun " + options);
}

// Runs the worked example's net with the timing file timing, written as
// dir/name.
ProgramRun exampleTimed(const ScratchDir& dir, const std::string& name, const std::string& timing) {
  std::ofstream(dir.prefix() + name) << timing;
  return netgen(dir, "-m" + kExample + ".pnml -r" + dir.prefix() + name);
}

// The console of a run without its computation time, which varies.
std::string consoleOf(const ProgramRun& run) {
  const std::string::size_type time = run.out.find("Computation Time");
  return run.out.substr(0, time);
}

// In these nets no two transitions lead from one marking to the same
// marking, so the target entries of the .arm file are the published
// firings (edges of the reachability graph).
TEST(NetgenTest, EachSharedNetGivesItsPublishedMarkingsAndFirings) {
  struct Published {
    const char* net;
    int markings;
    int firings;
  };
  const Published nets[] = {
      {"Philosophers-PT-000005", 243, 945},  {"TokenRing-PT-005", 166, 365},
      {"FMS-PT-00002", 3444, 16311},         {"CircularTrains-PT-012", 195, 496},
      {"DatabaseWithMutex-PT-02", 153, 312}, {"PGCD-PT-D02N005", 8484, 43344},
  };
  for (const Published& net : nets) {
    ScratchDir dir("netgen");
    ProgramRun run = netgen(dir, "-M -m" + kNets + net.net + ".pnml");
    EXPECT_EQ(0, run.status) << net.net << ": " << run.err;
    EXPECT_NE(std::string::npos,
              run.out.find("\nGenerated: " + std::to_string(net.markings) + " states\n"))
        << net.net << ": " << run.out;
    const std::vector<std::string> arm = test_files::linesOf(dir.read("run.arm"));
    ASSERT_GT(arm.size(), 3u) << net.net;
    EXPECT_EQ(std::to_string(net.markings), arm[1]) << net.net;
    // After the three header lines, each record has its number and its 0.
    EXPECT_EQ(static_cast<size_t>(3 + 2 * net.markings + 2 * net.firings), arm.size()) << net.net;
    EXPECT_EQ(static_cast<size_t>(1 + net.markings),
              test_files::linesOf(dir.read("run.states")).size())
        << net.net;
  }
}

// The .states file (-M) heads each column with the place's name in the
// net, blanks made underscores, or its id when it has no name; with the
// timing and reward files as without.
TEST(NetgenTest, MarkingsFileNamesThePlacesAsTheNetDoes) {
  ScratchDir dir("netgen");
  std::ofstream(dir.prefix() + "named.pnml")
      << "<pnml xmlns=\"http://www.pnml.org/version-2009/grammar/pnml\">"
         "<net id=\"n\" type=\"http://www.pnml.org/version-2009/grammar/ptnet\"><page id=\"g\">"
         "<place id=\"p1\"><name><text>queue one</text></name>"
         "<initialMarking><text>1</text></initialMarking></place>"
         "<place id=\"p2\"/><transition id=\"t\"/>"
         "<arc id=\"a\" source=\"p1\" target=\"t\"/><arc id=\"b\" source=\"t\" target=\"p2\"/>"
         "</page></net></pnml>";
  ProgramRun run = netgen(dir, "-M -m named.pnml");
  ASSERT_EQ(0, run.status) << run.err;
  EXPECT_EQ("state queue_one p2\n1 1 0\n2 0 1\n", dir.read("run.states"));

  run = netgen(
      dir, "-M -m " + kExample + ".pnml -r " + kExample + ".timing -w " + kExample + ".rewards");
  ASSERT_EQ(0, run.status) << run.err;
  EXPECT_EQ(
      "state idle arrived fast slow ticket\n1 1 0 0 0 1\n2 0 0 1 0 0\n3 1 0 0 0 0\n"
      "4 0 0 0 1 0\n",
      dir.read("run.states"));
}

// The worked example of the README (examples/nets/routing.*). States, as
// (idle, arrived, fast, slow, ticket):
//   1 (1,0,0,0,1)  2 (0,0,1,0,0)  3 (1,0,0,0,0)  4 (0,0,0,1,0)
// From 1, arrive (rate 2) leads to a vanishing marking where express
// (priority 2) outranks both routes: 2 at rate 2. From 2, serveFast (rate 1)
// leads to 3. From 3, arrive leads to the routes alone, weights 1 and 3:
// 2 at 2 x 1/4 = 0.5 and 4 at 2 x 3/4 = 1.5. From 4, serveSlow (rate 4)
// leads to 3. busy counts fast and slow; ticket is 1 while the ticket is
// there.
TEST(NetgenTest, WorkedExampleMatchesItsHandDerivedFiles) {
  ScratchDir dir("netgen");
  ProgramRun run = netgen(
      dir, "-m " + kExample + ".pnml -r " + kExample + ".timing -w " + kExample + ".rewards");
  ASSERT_EQ(0, run.status) << run.err;
  EXPECT_EQ("path=[" + dir.prefix() +
                "]\nThere are no global variables.\nSSG: SetTraceLevel: 0\n_$4$\n"
                "Generated: 4 states\n",
            consoleOf(run));
  EXPECT_EQ("1\n4\n" + std::string(61, ' ') +
                "\n"
                "1\n2\n2.0000000000e+00\n0\n"
                "2\n3\n1.0000000000e+00\n0\n"
                "3\n2\n5.0000000000e-01\n4\n1.5000000000e+00\n0\n"
                "4\n3\n4.0000000000e+00\n0\n",
            dir.read("run.arm"));
  EXPECT_EQ("busy\nticket\n1\n0\n0\n0\n1\n2\n0\n1\n0\n0\n3\n0\n0\n0\n0\n4\n0\n1\n0\n0\n",
            dir.read("run.var"));
  EXPECT_EQ(
      "Version:1\nNumPV:2\nName:busy\nType:0\nNumTimes:1\nStart:5\nStop:5\n"
      "Name:ticket\nType:0\nNumTimes:2\nStart:1\nStop:1\nStart:2\nStop:2\n",
      dir.read("run.pvtype"));
}

// The example with a deterministic fast server: its firing from 2 to 3 is
// written as -1 and state 2 is listed under its delay; the routes' case
// probabilities are the same weight shares.
TEST(NetgenTest, DeterministicTransitionWritesItsEnablingRecords) {
  ScratchDir dir("netgen");
  ProgramRun run = exampleTimed(
      dir, "det.timing",
      "routeFast immediate weight 1\nrouteSlow immediate weight 3\n"
      "express immediate priority 2\nserveFast deterministic 0.5\narrive exponential 2\n"
      "serveSlow exponential 4\n");
  ASSERT_EQ(0, run.status) << run.err;
  EXPECT_EQ("1\n4\n" + std::string(6, ' ') +
                "\n"
                "1\n2\n2.0000000000e+00\n0\n"
                "2\n3\n-1.0000000000e+00\n0\n"
                "3\n2\n5.0000000000e-01\n4\n1.5000000000e+00\n0\n"
                "4\n3\n4.0000000000e+00\n0\n",
            dir.read("run.arm"));
  EXPECT_EQ("1\n5.0000000000e-01\n2\n0\n", dir.read("run.det"));
}

// A run that must stop: status 1, the one message on standard error, and no
// claim of states generated.
void expectRefused(const ProgramRun& run, const std::string& message) {
  EXPECT_EQ(1, run.status) << run.out;
  EXPECT_EQ(message + "\n", run.err);
  EXPECT_EQ(std::string::npos, run.out.find("Generated")) << run.out;
}

TEST(NetgenTest, BadInputStopsTheRunWithOneMessage) {
  ScratchDir dir("netgen");
  std::ofstream(dir.prefix() + "broken.pnml") << "<pnml>\n  <<net>\n</pnml>\n";
  expectRefused(
      netgen(dir, "-m" + dir.prefix() + "broken.pnml"),
      dir.prefix() + "broken.pnml:2:4: error: malformed XML: not well-formed (invalid token)");

  std::ofstream(dir.prefix() + "bad.timing") << "arrive exponential fast\n";
  expectRefused(netgen(dir, "-m" + kExample + ".pnml -r" + dir.prefix() + "bad.timing"),
                dir.prefix() + "bad.timing:1:20: error: the rate 'fast' is not a positive number");

  std::ofstream(dir.prefix() + "vanishing.timing") << "arrive immediate\n";
  expectRefused(netgen(dir, "-m" + kExample + ".pnml -r" + dir.prefix() + "vanishing.timing"),
                dir.prefix() +
                    "vanishing.timing: error: the initial marking enables the immediate "
                    "transition 'arrive': a net must start in a marking where no immediate "
                    "transition is enabled");

  std::ofstream(dir.prefix() + "bad.rewards") << "jobs tokens queue at 1\n";
  expectRefused(
      netgen(dir, "-m" + kExample + ".pnml -w" + dir.prefix() + "bad.rewards"),
      dir.prefix() + "bad.rewards:1:13: error: the net has no place with the id or name 'queue'");

  expectRefused(netgen(dir, "-m" + dir.prefix() + "none.pnml"),
                dir.prefix() + "none.pnml: error: no such file");
  // A FIFO would make the run wait for a writer for ever.
  ASSERT_EQ(0, mkfifo((dir.prefix() + "fifo").c_str(), 0600));
  const std::string fifo = dir.prefix() + "fifo";
  const std::string refusal = fifo + ": error: is a FIFO (named pipe), not a regular file";
  expectRefused(netgen(dir, "-m" + fifo), refusal);
  expectRefused(netgen(dir, "-m" + kExample + ".pnml -r" + fifo), refusal);
  expectRefused(netgen(dir, "-m" + kExample + ".pnml -w" + fifo), refusal);
  expectRefused(netgen(dir, "-B0"), "Error: no net given; name its PNML file with -m");
  expectRefused(netgen(dir, "-B1 -m" + kExample + ".pnml"),
                "Error: netgen runs a single experiment; -B must be 0, not 1");
  EXPECT_FALSE(dir.exists("run.arm"));
}

TEST(NetgenTest, NameIsRequiredAndUsageNamesTheNetOptions) {
  ScratchDir dir("netgen");
  ProgramRun unnamed = dir.run(std::string(NETGEN_EXECUTABLE) + " -P" + dir.prefix() + " -m" +
                               kExample + ".pnml -B0");
  EXPECT_EQ(1, unnamed.status);
  EXPECT_EQ(0u, unnamed.err.find("Error: no experiment name given (-N)\n"));

  ProgramRun usage = dir.run(std::string(NETGEN_EXECUTABLE) + " -mnet.pnml");
  EXPECT_EQ(0, usage.status);
  EXPECT_NE(std::string::npos,
            usage.out.find("\nnetgen also takes -m<file.pnml> (required), -r<timing file>, "
                           "-w<reward file>\n"))
      << usage.out;
}

// Weights whose sum overflows share the routes as 1/2.7 and 1.7/2.7 of
// rate 2; two transitions of rate 1e308 out of one marking cannot be
// summed.
TEST(NetgenTest, HugeWeightsShareExactlyAndHugeRatesStopTheRun) {
  ScratchDir dir("netgen");
  ProgramRun run = exampleTimed(dir, "huge.timing",
                                "arrive exponential 2\nrouteFast immediate weight 1e308\n"
                                "routeSlow immediate weight 1.7e308\nexpress immediate priority 2\n"
                                "serveFast exponential 1\nserveSlow exponential 4\n");
  ASSERT_EQ(0, run.status) << run.err;
  EXPECT_NE(std::string::npos,
            dir.read("run.arm").find("3\n2\n7.4074074074e-01\n4\n1.2592592593e+00\n0\n"));

  std::ofstream(dir.prefix() + "twice.pnml")
      << "<pnml xmlns=\"http://www.pnml.org/version-2009/grammar/pnml\">"
         "<net id=\"twice\" type=\"http://www.pnml.org/version-2009/grammar/ptnet\"><page id=\"g\">"
         "<place id=\"p\"><initialMarking><text>1</text></initialMarking></place><place id=\"q\"/>"
         "<transition id=\"t1\"/><transition id=\"t2\"/>"
         "<arc id=\"a1\" source=\"p\" target=\"t1\"/><arc id=\"a2\" source=\"t1\" target=\"q\"/>"
         "<arc id=\"a3\" source=\"p\" target=\"t2\"/><arc id=\"a4\" source=\"t2\" target=\"q\"/>"
         "</page></net></pnml>";
  std::ofstream(dir.prefix() + "twice.timing") << "t1 exponential 1e308\nt2 exponential 1e308\n";
  expectRefused(netgen(dir, "-m" + dir.prefix() + "twice.pnml -r" + dir.prefix() + "twice.timing"),
                "Error: the rates out of state 1 sum to more than the largest number when activity "
                "t2 of model twice adds 1e+308; the rates of a state must have a finite sum");
}

// A transition that only adds tokens: states 32766 and 32767, then a
// firing that would wrap.
TEST(NetgenTest, MarkingAbove32767StopsTheRunNamingThePlace) {
  ScratchDir dir("netgen");
  std::ofstream(dir.prefix() + "grow.pnml")
      << "<pnml xmlns=\"http://www.pnml.org/version-2009/grammar/pnml\">"
         "<net id=\"grow\" type=\"http://www.pnml.org/version-2009/grammar/ptnet\"><page id=\"g\">"
         "<place id=\"heap\"><initialMarking><text>32766</text></initialMarking></place>"
         "<transition id=\"add\"/><arc id=\"a\" source=\"add\" target=\"heap\"/>"
         "</page></net></pnml>";
  expectRefused(netgen(dir, "-m" + dir.prefix() + "grow.pnml"),
                "Error: activity add of model grow takes the marking of place heap to 32768; a "
                "marking must lie between 0 and 32767");
}

}  // namespace
