// The generator on small nets without deterministic activities: exponential,
// Erlang and instantaneous activities, the files written and the models and
// values refused.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "generator/OutputFile.h"
#include "generator/StateSpaceGen.h"
#include "tests/generator/GeneratorOutput.h"
#include "tests/generator/GeneratorTestModels.h"

namespace {

using ssg_test::chainOf;
using ssg_test::exponential;
using ssg_test::instantaneous;
using ssg_test::markingIs;
using ssg_test::Marks;
using ssg_test::setMarking;
using ssg_test::TestPVModel;

const char kSetTraceLevel[] = "SSG: SetTraceLevel: 0\n";

class StateSpaceGenTest : public ssg_test::GeneratorRunTest {
 protected:
  std::string arm() const {
    return ssg_test::armRecords(dir.read("m.arm"), ssg_test::kNormalPlaceholder);
  }
};

// The console text of a run that generated count states, with lines
// before the final marker, as withoutTime gives it.
std::string console(const std::string& lines, int count) {
  const std::string n = std::to_string(count);
  return kSetTraceLevel + lines + "_$" + n + "$\nGenerated: " + n + " states\n<time>\n";
}

// The trace of an absorbing state of a one-place model.
std::string absorbing(TestPVModel& model, int mark) {
  return "absorbing state\n  Model: (" + std::to_string(model.net->ModelId) + ")" +
         model.net->Name + "\n    " + model.net->places[0]->Name + " = " + std::to_string(mark) +
         "\n";
}

// A timed firing of rate 4 into a vanishing state (q = 1), whose
// instantaneous activities lead on.
ssg_test::ActivityDef intoVanishing() {
  return exponential("go", 4.0).when(markingIs(0, 0)).fires(setMarking(0, 1));
}

TEST_F(StateSpaceGenTest, ExponentialRatesAreSummedPerTargetWithSelfTransitions) {
  TestPVModel model("net", {{"p", 0}},
                    {exponential("a", 2.0).when(markingIs(0, 0)).fires(setMarking(0, 1)),
                     exponential("b", 3.0).when(markingIs(0, 0)).fires(setMarking(0, 1)),
                     exponential("stay", 0.5).when(markingIs(0, 0)),
                     // Case 1 has probability 0: no rate, and p = 3 is never created.
                     exponential("on", 4.0)
                         .when(markingIs(0, 1))
                         .fires(setMarking(0, 3), 0.0)
                         .fires(setMarking(0, 2), 1.0)});
  // The dropped firing is counted on the summary line (and reported on
  // standard error).
  testing::internal::CaptureStderr();
  EXPECT_EQ(std::string(kSetTraceLevel) +
                "_$3$\nGenerated: 3 states (1 firing of rate or probability 0 "
                "dropped)\n<time>\n",
            ssg_test::withoutTime(run(model)));
  EXPECT_EQ(
      "Warning: activity on_case1 of model net is enabled with case probability 0 in state 2 "
      "(p=1); its firing is dropped\n",
      testing::internal::GetCapturedStderr());
  EXPECT_TRUE(FindNext == &StateSpaceGen::FindNextNormal);
  EXPECT_EQ(
      "1: 1=5.0000000000e-01 2=5.0000000000e+00\n"
      "2: 3=4.0000000000e+00\n"
      "3:",
      arm());
  // Each state's reward (the marking of p) once, the initial state first.
  EXPECT_EQ("marking\n1\n0\n0\n2\n0\n1\n3\n0\n2\n", dir.read("m.var"));
  EXPECT_FALSE(dir.exists("m.det"));
}

TEST_F(StateSpaceGenTest, InstantaneousWeightsSplitTheTimedRateWhateverTheirCommonRank) {
  // Rank 0, the lowest, competes like any other.
  for (int rank : {0, 1, 2}) {
    TestPVModel model(
        "net", {{"q", 0}},
        {intoVanishing(),
         instantaneous("left").when(markingIs(0, 1)).fires(setMarking(0, 2), 1.0).withRank(rank),
         instantaneous("right").when(markingIs(0, 1)).fires(setMarking(0, 3), 3.0).withRank(rank)});
    run(model);
    EXPECT_TRUE(FindNext == &StateSpaceGen::FindNextInstant);
    EXPECT_EQ("1: 2=1.0000000000e+00 3=3.0000000000e+00\n2:\n3:", arm()) << "rank " << rank;
    // The vanishing state q = 1 has no record.
    EXPECT_EQ("marking\n1\n0\n0\n2\n0\n2\n3\n0\n3\n", dir.read("m.var"));
  }
}

TEST_F(StateSpaceGenTest, RanksLoneActivitiesAndPathsToOneStateShapeTheRate) {
  // Only the highest rank fires.
  TestPVModel ranked(
      "net", {{"q", 0}},
      {intoVanishing(),
       instantaneous("high").when(markingIs(0, 1)).fires(setMarking(0, 2), 1.0).withRank(2),
       instantaneous("low").when(markingIs(0, 1)).fires(setMarking(0, 3), 5.0)});
  run(ranked);
  EXPECT_EQ("1: 2=4.0000000000e+00\n2:", arm());

  // A lone enabled activity ignores its weight.
  TestPVModel alone(
      "net", {{"q", 0}},
      {intoVanishing(), instantaneous("only").when(markingIs(0, 1)).fires(setMarking(0, 2), 0.0),
       instantaneous("idle").when(markingIs(0, 9))});
  run(alone);
  EXPECT_EQ("1: 2=4.0000000000e+00\n2:", arm());

  // Two vanishing paths to one state are summed.
  TestPVModel paths(
      "net", {{"q", 0}},
      {intoVanishing(), instantaneous("left").when(markingIs(0, 1)).fires(setMarking(0, 2), 1.0),
       instantaneous("right").when(markingIs(0, 1)).fires(setMarking(0, 3), 3.0),
       instantaneous("leftOn").when(markingIs(0, 2)).fires(setMarking(0, 4)),
       instantaneous("rightOn").when(markingIs(0, 3)).fires(setMarking(0, 4))});
  run(paths);
  EXPECT_EQ("1: 2=4.0000000000e+00\n2:", arm());
}

TEST_F(StateSpaceGenTest, ChoicesInARowMultiplyTheirShares) {
  // 4 x 1/2 x 1/4 and 4 x 1/2 x 3/4; each branch starts from the marking
  // its choice was made in.
  std::unique_ptr<TestPVModel> model(ssg_test::twoChoicesAfter(exponential("go", 4.0)));
  run(*model);
  EXPECT_EQ(
      "1: 2=5.0000000000e-01 3=1.5000000000e+00 4=5.0000000000e-01 5=1.5000000000e+00\n"
      "2:\n3:\n4:\n5:",
      arm());
  EXPECT_EQ("marking\n1\n0\n0\n2\n0\n3\n3\n0\n3\n4\n0\n3\n5\n0\n3\n", dir.read("m.var"));
}

TEST_F(StateSpaceGenTest, ChainsOf23InstantaneousFiringsAreTheLongestAccepted) {
  std::unique_ptr<TestPVModel> accepted(chainOf(exponential("go", 1.0), 23));
  run(*accepted);
  EXPECT_EQ("1: 2=1.0000000000e+00\n2:", arm());

  std::unique_ptr<TestPVModel> refused(chainOf(exponential("go", 1.0), 24));
  EXPECT_EXIT(runToDeath(*refused), testing::ExitedWithCode(1),
              testing::Matcher<const std::string&>(
                  std::string(kSetTraceLevel) +
                  "Error:  Maximum number of zero time transition recursive firings exceeded(23)\n"
                  "Possible undetermined model.\n"
                  "Please check the model and try again\n"));
}

// An Erlang activity's phase follows the places in the state vector, so
// each phase step is a transition to a state of its own.
TEST_F(StateSpaceGenTest, AnErlangActivityRunsThroughItsPhasesAndStartsAgainWhenItCompletes) {
  // e has 3 phases and rate 3 and stays enabled after its first completion.
  // States (p, phase): 1 (0,1), 2 (0,2), 3 (0,3), 4 (1,1), 5 (1,2),
  // 6 (1,3), 7 (2,1), where e is disabled.
  TestPVModel model(
      "net", {{"p", 0}},
      {ssg_test::erlang("e", 3.0, 3).when([](Marks m) { return m[0] < 2; }).fires([](Marks m) {
        m[0]++;
      })});
  run(model);
  EXPECT_TRUE(FindNext == &StateSpaceGen::FindNextNormal);
  EXPECT_EQ("1\n7\n" + std::string(61, ' ') +
                "\n"
                "1\n2\n3.0000000000e+00\n0\n2\n3\n3.0000000000e+00\n0\n3\n4\n3.0000000000e+00\n0\n"
                "4\n5\n3.0000000000e+00\n0\n5\n6\n3.0000000000e+00\n0\n6\n7\n3.0000000000e+00\n0\n"
                "7\n0\n",
            dir.read("m.arm"));
  // A phase step earns the marking's reward like any other state.
  EXPECT_EQ("marking\n1\n0\n0\n2\n0\n0\n3\n0\n0\n4\n0\n1\n5\n0\n1\n6\n0\n1\n7\n0\n2\n",
            dir.read("m.var"));

  // The phase counter meets 1 to 32767 phases: with one, e completes at
  // once; with 32767, p = 0 has a state per phase, the last one completing.
  TestPVModel single("net", {{"p", 0}},
                     {ssg_test::erlang("e", 3.0, 1).when(markingIs(0, 0)).fires(setMarking(0, 1))});
  run(single);
  EXPECT_EQ("1: 2=3.0000000000e+00\n2:", arm());
  TestPVModel most("net", {{"p", 0}},
                   {ssg_test::erlang("e", 3.0, 32767).when(markingIs(0, 0)).fires(setMarking(0, 1))});
  EXPECT_NE(std::string::npos, run(most).find("Generated: 32768 states"));
  EXPECT_NE(std::string::npos,
            dir.read("m.arm").find("\n32767\n32768\n3.0000000000e+00\n0\n32768\n0\n"));
  // Any other number of phases stops the run.
  for (const double phases : {0.0, 32768.0, 2.5}) {
    TestPVModel refused("net", {{"p", 0}}, {ssg_test::erlang("e", 3.0, phases)});
    std::ostringstream message;
    message << "Error: activity e has " << phases
            << " Erlang phases in state 1; the number of phases must be a whole number from 1 to "
               "32767\n";
    EXPECT_EXIT(runToDeath(refused), testing::ExitedWithCode(1), message.str());
  }
}

TEST_F(StateSpaceGenTest, AFiringResetsThePhasesOfTheErlangActivitiesItDisablesAndNoOthers) {
  // e1 (rate 1) sets p, e2 (rate 2) sets q, each with 2 phases. States
  // (p, q, phase e1, phase e2): 1 (0,0,1,1), 2 (0,0,2,1), 3 (0,0,1,2),
  // 4 (1,0,1,1), 5 (0,0,2,2), 6 (0,1,1,1), 7 (1,0,1,2), 8 (0,1,2,1),
  // 9 (1,1,1,1). From 5 either completes and the other keeps its phase.
  TestPVModel concurrent(
      "net", {{"p", 0}, {"q", 0}},
      {ssg_test::erlang("e1", 1.0, 2).when(markingIs(0, 0)).fires(setMarking(0, 1)),
       ssg_test::erlang("e2", 2.0, 2).when(markingIs(1, 0)).fires(setMarking(1, 1))});
  run(concurrent);
  EXPECT_EQ(
      "1: 2=1.0000000000e+00 3=2.0000000000e+00\n"
      "2: 4=1.0000000000e+00 5=2.0000000000e+00\n"
      "3: 5=1.0000000000e+00 6=2.0000000000e+00\n"
      "4: 7=2.0000000000e+00\n"
      "5: 7=1.0000000000e+00 8=2.0000000000e+00\n"
      "6: 8=1.0000000000e+00\n"
      "7: 9=2.0000000000e+00\n"
      "8: 9=1.0000000000e+00\n"
      "9:",
      arm());

  // e (2 phases, rate 1) is declared before the exponential x (rate 4),
  // which leaves it enabled: e keeps its phase when x fires. States
  // (p, q, phase): 1 (0,0,1), 2 (0,0,2), 3 (0,1,1), 4 (1,0,1), 5 (0,1,2),
  // 6 (1,1,1).
  TestPVModel beside("net", {{"p", 0}, {"q", 0}},
                     {ssg_test::erlang("e", 1.0, 2).when(markingIs(0, 0)).fires(setMarking(0, 1)),
                      exponential("x", 4.0).when(markingIs(1, 0)).fires(setMarking(1, 1))});
  run(beside);
  EXPECT_EQ(
      "1: 2=1.0000000000e+00 3=4.0000000000e+00\n"
      "2: 4=1.0000000000e+00 5=4.0000000000e+00\n"
      "3: 5=1.0000000000e+00\n"
      "4: 6=4.0000000000e+00\n"
      "5: 6=1.0000000000e+00\n"
      "6:",
      arm());

  // An instantaneous firing that disables e resets its phase too: x leads
  // to the vanishing q = 1, where i sets p = 5. States (p, q, phase):
  // 1 (0,0,1), 2 (0,0,2), 3 (5,2,1), 4 (1,0,1); from 2 and 4, x reaches 3
  // again.
  TestPVModel vanishing(
      "net", {{"p", 0}, {"q", 0}},
      {ssg_test::erlang("e", 1.0, 2).when(markingIs(0, 0)).fires(setMarking(0, 1)),
       exponential("x", 4.0).when(markingIs(1, 0)).fires(setMarking(1, 1)),
       instantaneous("i").when(markingIs(1, 1)).fires([](Marks m) {
         m[0] = 5;
         m[1] = 2;
       })});
  run(vanishing);
  EXPECT_EQ(
      "1: 2=1.0000000000e+00 3=4.0000000000e+00\n"
      "2: 3=4.0000000000e+00 4=1.0000000000e+00\n"
      "3:\n"
      "4: 3=4.0000000000e+00",
      arm());
}

TEST_F(StateSpaceGenTest, TheCasesOfAnErlangActivityStepTogether) {
  // Each case takes half of g's rate 4 for the phase step to the state
  // (p 0, phases 2 and 2); there each fires with its case probability 1/2.
  TestPVModel cases("net", {{"p", 0}},
                    {ssg_test::erlang("g", 4.0, 2)
                         .when(markingIs(0, 0))
                         .fires(setMarking(0, 1), 1.0)
                         .fires(setMarking(0, 2), 1.0)});
  run(cases);
  EXPECT_EQ("1: 2=4.0000000000e+00\n2: 3=2.0000000000e+00 4=2.0000000000e+00\n3:\n4:", arm());

  // Still enabled after case 1 fires (p up to 2), g starts again with
  // every case at phase 1; case 2 sets p to 5, where g is disabled. States
  // (p, phase): 1 (0,1), 2 (0,2), 3 (1,1), 4 (5,1), 5 (1,2), 6 (2,1).
  TestPVModel again("net", {{"p", 0}},
                    {ssg_test::erlang("g", 4.0, 2)
                         .when([](Marks m) { return m[0] < 2; })
                         .fires([](Marks m) { m[0]++; }, 1.0)
                         .fires(setMarking(0, 5), 1.0)});
  run(again);
  EXPECT_EQ(
      "1: 2=4.0000000000e+00\n2: 3=2.0000000000e+00 4=2.0000000000e+00\n3: 5=4.0000000000e+00\n"
      "4:\n5: 4=2.0000000000e+00 6=2.0000000000e+00\n6:",
      arm());
}

TEST_F(StateSpaceGenTest, EachNewStateCarriesTheImpulseOfTheActionThatReachedIt) {
  // From p = 0, a (impulse 2.5) reaches p = 1 and b (none) p = 2. Then b
  // leads from p = 1 and a from p = 2 to p = 3: its record is written when
  // b reaches it first.
  TestPVModel model("net", {{"p", 0}},
                    {exponential("a", 1.0)
                         .when([](Marks m) { return m[0] == 0 || m[0] == 2; })
                         .fires([](Marks m) { m[0] = m[0] == 0 ? 1 : 3; }),
                     exponential("b", 2.0)
                         .when([](Marks m) { return m[0] == 0 || m[0] == 1; })
                         .fires([](Marks m) { m[0] = m[0] == 0 ? 2 : 3; })},
                    {{"a", 2.5}});
  run(model);
  EXPECT_EQ(
      "1: 2=1.0000000000e+00 3=2.0000000000e+00\n2: 4=2.0000000000e+00\n3: 4=1.0000000000e+00\n4:",
      arm());
  // Per state: number, impulse, rate reward (the marking).
  EXPECT_EQ("marking\n1\n0\n0\n2\n2.5\n1\n3\n0\n2\n4\n0\n3\n", dir.read("m.var"));
}

TEST_F(StateSpaceGenTest, AbsorbingStatesAreReportedWhenAsked) {
  TestPVModel model("net", {{"p", 0}},
                    {exponential("a", 1.0).when(markingIs(0, 0)).fires(setMarking(0, 1)),
                     exponential("b", 1.0).when(markingIs(0, 0)).fires(setMarking(0, 2))});
  EXPECT_EQ(console("", 3), ssg_test::withoutTime(run(model)));
  TestPVModel asked("net", {{"p", 0}},
                    {exponential("a", 1.0).when(markingIs(0, 0)).fires(setMarking(0, 1)),
                     exponential("b", 1.0).when(markingIs(0, 0)).fires(setMarking(0, 2))});
  // The trace shows each absorbing state's marking whatever its level.
  EXPECT_EQ(console(absorbing(asked, 1) + absorbing(asked, 2), 3),
            ssg_test::withoutTime(run(asked, 1)));
  EXPECT_EQ("1: 2=1.0000000000e+00 3=1.0000000000e+00\n2:\n3:", arm());

  // A model without activities: one absorbing state.
  TestPVModel still("still", {{"p", 5}}, {});
  EXPECT_EQ(console(absorbing(still, 5), 1), ssg_test::withoutTime(run(still, 1)));
  EXPECT_EQ("1:", arm());
  EXPECT_EQ("marking\n1\n0\n5\n", dir.read("m.var"));
}

TEST_F(StateSpaceGenTest, ProgressIsMarkedEveryThousandStates) {
  TestPVModel model(
      "line", {{"p", 0}},
      {exponential("step", 1.0).when([](Marks m) { return m[0] < 2499; }).fires([](Marks m) {
        m[0]++;
      })});
  EXPECT_EQ(console("_$1000$\n_$2000$\n", 2500), ssg_test::withoutTime(run(model)));
  const std::string records = arm();  // checks the count 2500 and its padding
  EXPECT_EQ(0u, records.find("1: 2=1.0000000000e+00\n2: 3=1.0000000000e+00\n"));
  const std::string last = "2499: 2500=1.0000000000e+00\n2500:";
  EXPECT_EQ(records.size() - last.size(), records.rfind(last));
}

TEST_F(StateSpaceGenTest, AWriteThatFailsOnTheWriterThreadIsReportedWithItsOwnReason) {
  // 200 x 200 states of about 54 bytes of records each: the first full
  // buffer goes to the writer thread while the exploration goes on.
  TestPVModel grid(
      "grid", {{"p", 0}, {"q", 0}},
      {exponential("right", 1.0).when([](Marks m) { return m[0] < 199; }).fires([](Marks m) {
         m[0]++;
       }),
       exponential("up", 1.0).when([](Marks m) { return m[1] < 199; }).fires([](Marks m) {
         m[1]++;
       })});
  // Files stop growing at 64 KB, as on a full disk.
  const auto limited = [&] {
    const rlimit limit = {65536, 65536};
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, SIG_IGN);
    runToDeath(grid);
  };
  EXPECT_EXIT(limited(), testing::ExitedWithCode(1),
              "Error: Could not write .*/m\\.arm: File too large\n");
  EXPECT_TRUE(std::filesystem::is_empty(dir.path)) << "a failed run leaves no file";
}

TEST_F(StateSpaceGenTest, TheCountFillsItsPlaceholderOrGetsTheRoomItNeeds) {
  TestPVModel model("net", {{"p", 0}}, {});
  StateSpaceGen generator(&model, dir.prefix().c_str(), "m", 0, 0.5, nullptr, nullptr, nullptr);
  const std::string name = dir.prefix() + "count.arm";
  // The head with the count, and one record after it.
  auto written = [&](unsigned long count, int width) {
    OutputFile arm;
    EXPECT_TRUE(arm.open(name.c_str()));
    generator.writeHeader(arm, width);
    arm.put("1\n0\n");
    generator.rewriteCount(arm, name.c_str(), count, width);
    EXPECT_TRUE(arm.close());
    return dir.read("count.arm");
  };
  // The deterministic mode's placeholder of 8: seven digits leave an empty
  // line, eight fill it, nine need the head rewritten.
  EXPECT_EQ("1\n1234567\n\n1\n0\n", written(1234567, ssg_test::kDeterministicPlaceholder));
  EXPECT_EQ("1\n12345678\n1\n0\n", written(12345678, ssg_test::kDeterministicPlaceholder));
  EXPECT_EQ("1\n123456789\n1\n0\n", written(123456789, ssg_test::kDeterministicPlaceholder));
  // The normal mode's 63 hold the largest count with room to spare.
  EXPECT_EQ("1\n18446744073709551615\n" + std::string(42, ' ') + "\n1\n0\n",
            written(std::numeric_limits<unsigned long>::max(), ssg_test::kNormalPlaceholder));
}

TEST_F(StateSpaceGenTest, ModelsTheGeneratorCannotHandleAreRefused) {
  const std::string distribution =
      std::string(kSetTraceLevel) +
      "Error:  Can not generate state space with Current Action Distribution Type\n";
  TestPVModel mixed("net", {{"p", 0}},
                    {ssg_test::deterministic("d", 1.0), ssg_test::erlang("e", 1.0, 2)});
  EXPECT_EXIT(runToDeath(mixed), testing::ExitedWithCode(1),
              testing::Matcher<const std::string&>(distribution));
  // The reward types were written first, and removed with the run.
  EXPECT_TRUE(std::filesystem::is_empty(dir.path));

  for (int position = 0; position < 3; position++) {
    std::vector<ssg_test::ActivityDef> activities(2, exponential("x", 1.0));
    activities.insert(activities.begin() + position, ssg_test::ActivityDef("u", Uniform, 1.0));
    TestPVModel unsupported("net", {{"p", 0}}, activities);
    EXPECT_EXIT(runToDeath(unsupported), testing::ExitedWithCode(1),
                testing::Matcher<const std::string&>(distribution))
        << "position " << position;
  }

  TestPVModel unstable("net", {{"p", 0}},
                       {exponential("a", 1.0), instantaneous("i").when(markingIs(0, 0))});
  EXPECT_EXIT(runToDeath(unstable), testing::ExitedWithCode(1),
              testing::Matcher<const std::string&>(
                  std::string(kSetTraceLevel) +
                  "Error: The initial state is not stable, i.e., at least one instantaneous "
                  "action is enabled in that state.\n"));

  TestPVModel empty("empty", {}, {});
  EXPECT_EXIT(runToDeath(empty), testing::ExitedWithCode(1),
              testing::Matcher<const std::string&>(
                  "The model is empty, i.e., does not have any state variables.\n"));
}

TEST_F(StateSpaceGenTest, UnusableRatesAndCaseProbabilitiesStopTheRun) {
  // p = 0 leads to state 2 (p = 1), where the activity "bad" is enabled.
  auto refusedInState2 = [this](ssg_test::ActivityDef bad, const char* expected) {
    TestPVModel model("net", {{"p", 0}},
                      {exponential("a", 1.0).when(markingIs(0, 0)).fires(setMarking(0, 1)),
                       bad.when(markingIs(0, 1))});
    EXPECT_EXIT(runToDeath(model), testing::ExitedWithCode(1),
                std::string("Error: activity ") + expected +
                    " in state 2; rates and case probabilities must be finite and not negative");
  };
  refusedInState2(exponential("bad", -2.0), "bad has the rate -2");
  refusedInState2(exponential("bad", std::numeric_limits<double>::infinity()),
                  "bad has the rate inf");
  // Case weights as an override can make them: 1 - 1000/512 and 1000/512.
  refusedInState2(
      exponential("bad", 1.0).fires(setMarking(0, 2), -0.953125).fires(setMarking(0, 3), 1.953125),
      "bad_case1 has the case probability -0.953125");

  // Enabled instantaneous activities whose weights give no usable probability.
  auto refusedChoice = [this](double left, double right, const char* expected) {
    TestPVModel model(
        "net", {{"q", 0}},
        {intoVanishing(), instantaneous("left").when(markingIs(0, 1)).fires(setMarking(0, 2), left),
         instantaneous("right").when(markingIs(0, 1)).fires(setMarking(0, 3), right)});
    EXPECT_EXIT(runToDeath(model), testing::ExitedWithCode(1),
                std::string("Error: activity ") + expected + " in state 1;");
  };
  refusedChoice(0.0, 0.0, "left has the case probability -?nan");
  // All weights negative would give positive shares; still refused.
  refusedChoice(-1.0, -3.0, "left has the weight -1");
}

TEST_F(StateSpaceGenTest, WeightsWhoseSumOverflowsShareAsAnyOthers) {
  // 1e308 + 1.7e308 overflows; the shares are 1/2.7 and 1.7/2.7 of rate 4.
  const char* expected = "1: 2=1.4814814815e+00 3=2.5185185185e+00\n2:\n3:";
  TestPVModel instants(
      "net", {{"q", 0}},
      {intoVanishing(), instantaneous("left").when(markingIs(0, 1)).fires(setMarking(0, 2), 1e308),
       instantaneous("right").when(markingIs(0, 1)).fires(setMarking(0, 3), 1.7e308)});
  EXPECT_EQ(console("", 3), ssg_test::withoutTime(run(instants)));
  EXPECT_EQ(expected, arm());
  TestPVModel cases("net", {{"p", 0}},
                    {exponential("a", 4.0)
                         .when(markingIs(0, 0))
                         .fires(setMarking(0, 1), 1e308)
                         .fires(setMarking(0, 2), 1.7e308)});
  run(cases);
  EXPECT_EQ(expected, arm());
}

TEST_F(StateSpaceGenTest, RatesOutOfAStateWhoseSumOverflowsStopTheRun) {
  for (short second : {0, 1}) {  // to the same state as the first, or another
    TestPVModel model(
        "net", {{"p", 0}},
        {exponential("a", 1e308).when(markingIs(0, 0)).fires(setMarking(0, 1)),
         exponential("b", 1.7e308).when(markingIs(0, 0)).fires(setMarking(0, 1 + second))});
    EXPECT_EXIT(runToDeath(model), testing::ExitedWithCode(1),
                "Error: the rates out of state 1 sum to more than the largest number when "
                "activity b of model net adds 1.7e\\+308");
  }
}

}  // namespace
