// The generator on small nets with deterministic activities: negated firing
// probabilities in the ".arm" file, the enabling records of the ".det" file,
// zero-time chains resolved by case probabilities, and the values refused.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "tests/generator/GeneratorOutput.h"
#include "tests/generator/GeneratorTestModels.h"

namespace {

using ssg_test::chainOf;
using ssg_test::deterministic;
using ssg_test::exponential;
using ssg_test::instantaneous;
using ssg_test::markingIs;
using ssg_test::Marks;
using ssg_test::setMarking;
using ssg_test::TestPVModel;

class StateSpaceGenDetTest : public ssg_test::GeneratorRunTest {
 protected:
  std::string arm() const {
    return ssg_test::armRecords(dir.read("m.arm"), ssg_test::kDeterministicPlaceholder);
  }
  std::string det() const { return ssg_test::detRecords(dir.read("m.det")); }
};

TEST_F(StateSpaceGenDetTest, ADeterministicFiringRecordsMinusItsProbabilityAndItsDelay) {
  TestPVModel model("net", {{"q", 0}},
                    {exponential("to1", 1.0).when(markingIs(0, 0)).fires(setMarking(0, 1)),
                     exponential("to2", 1.0).when(markingIs(0, 0)).fires(setMarking(0, 2)),
                     deterministic("d", 2.5).when(markingIs(0, 0)).fires(setMarking(0, 3))});
  run(model);
  EXPECT_EQ(
      "1\n4\n      \n"
      "1\n2\n1.0000000000e+00\n3\n1.0000000000e+00\n4\n-1.0000000000e+00\n0\n"
      "2\n0\n3\n0\n4\n0\n",
      dir.read("m.arm"));
  EXPECT_EQ("1\n2.5000000000e+00\n1\n0\n", dir.read("m.det"));
  EXPECT_EQ("marking\n1\n0\n0\n2\n0\n1\n3\n0\n2\n4\n0\n3\n", dir.read("m.var"));
}

TEST_F(StateSpaceGenDetTest, EachCaseRecordsItsOwnProbabilityAndEnablingRecord) {
  TestPVModel model("net", {{"q", 0}},
                    {deterministic("d", 1.5)
                         .when(markingIs(0, 0))
                         .fires(setMarking(0, 1), 0.3)
                         .fires(setMarking(0, 2), 0.7)});
  run(model);
  EXPECT_EQ("1: 2=-3.0000000000e-01 3=-7.0000000000e-01\n2:\n3:", arm());
  EXPECT_EQ("1.5000000000e+00: 1 1", det());
}

TEST_F(StateSpaceGenDetTest, StatesAreListedUnderEveryDelayEnabledInThem) {
  // In state 2 (q = 1) three deterministic activities are enabled, two of
  // them with the same delay.
  TestPVModel model("net", {{"q", 0}},
                    {exponential("start", 1.0).when(markingIs(0, 0)).fires(setMarking(0, 1)),
                     deterministic("d1", 1.0).when(markingIs(0, 1)).fires(setMarking(0, 2)),
                     deterministic("d2", 2.0).when(markingIs(0, 1)).fires(setMarking(0, 3)),
                     deterministic("d3", 1.0).when(markingIs(0, 1)).fires(setMarking(0, 4))});
  run(model);
  EXPECT_EQ(
      "1: 2=1.0000000000e+00\n"
      "2: 3=-1.0000000000e+00 4=-1.0000000000e+00 5=-1.0000000000e+00\n"
      "3:\n4:\n5:",
      arm());
  EXPECT_EQ("1.0000000000e+00: 2 2\n2.0000000000e+00: 2", det());
}

TEST_F(StateSpaceGenDetTest, RatesAndNegatedProbabilitiesToOneTargetAreSummed) {
  TestPVModel model("net", {{"q", 0}},
                    {exponential("fast", 2.0).when(markingIs(0, 0)).fires(setMarking(0, 1)),
                     deterministic("d", 3.0).when(markingIs(0, 0)).fires(setMarking(0, 1))});
  run(model);
  EXPECT_EQ("1: 2=1.0000000000e+00\n2:", arm());
}

TEST_F(StateSpaceGenDetTest, AZeroProductRecordsNothing) {
  // q = 1 and q = 3 are reached only with value 0 and never become states;
  // the enabled case of probability 0 still lists the state under its delay.
  TestPVModel model("net", {{"q", 0}},
                    {deterministic("d", 1.0)
                         .when(markingIs(0, 0))
                         .fires(setMarking(0, 1), 0.0)
                         .fires(setMarking(0, 2), 1.0),
                     exponential("idle", 0.0).when(markingIs(0, 0)).fires(setMarking(0, 3))});
  run(model);
  EXPECT_EQ("1: 2=-1.0000000000e+00\n2:", arm());
  EXPECT_EQ("1.0000000000e+00: 1 1", det());
}

TEST_F(StateSpaceGenDetTest, ANeverEnabledDeterministicActivityWritesAnEmptyRecordList) {
  TestPVModel model("net", {{"q", 0}},
                    {deterministic("never", 1.0).when([](Marks) { return false; })});
  const std::string out = run(model, 1);
  EXPECT_EQ("0\n", dir.read("m.det"));
  EXPECT_EQ("1\n1\n      \n1\n0\n", dir.read("m.arm"));
  EXPECT_EQ("marking\n1\n0\n0\n", dir.read("m.var"));
  // The absorbing state is reported with its marking on standard output.
  std::ostringstream marking;
  model.printState(&marking);
  EXPECT_EQ("SSG: SetTraceLevel: 0\n\nThis following State is absorbing:\n" + marking.str(),
            out.substr(0, out.find("_$")));
  EXPECT_NE(std::string::npos, marking.str().find("q = 0"));
}

TEST_F(StateSpaceGenDetTest, ZeroTimeChoicesTakeCaseProbabilitiesUnnormalised) {
  // After the timed firing (q = 1) two instantaneous activities without
  // cases are enabled: each is its group's only case, so each target gets
  // the whole rate, whatever their weights.
  auto vanishing = [](ssg_test::ActivityDef left, ssg_test::ActivityDef right) {
    return new TestPVModel("net", {{"q", 0}},
                           {exponential("go", 4.0).when(markingIs(0, 0)).fires(setMarking(0, 1)),
                            left.when(markingIs(0, 1)).fires(setMarking(0, 2), 1.0),
                            right.when(markingIs(0, 1)).fires(setMarking(0, 3), 3.0),
                            deterministic("never", 1.0).when([](Marks) { return false; })});
  };
  std::unique_ptr<TestPVModel> plain(vanishing(instantaneous("left"), instantaneous("right")));
  run(*plain);
  EXPECT_EQ("1: 2=4.0000000000e+00 3=4.0000000000e+00\n2:\n3:", arm());

  std::unique_ptr<TestPVModel> ranked(
      vanishing(instantaneous("left").withRank(2), instantaneous("right")));
  run(*ranked);
  EXPECT_EQ("1: 2=4.0000000000e+00\n2:", arm());
}

TEST_F(StateSpaceGenDetTest, ChoicesInARowMultiplyTheirCaseProbabilities) {
  // The cases of one instantaneous activity share its probability:
  // -1 x 1/2 x 1/4 and -1 x 1/2 x 3/4.
  std::unique_ptr<TestPVModel> model(ssg_test::twoChoicesAfter(deterministic("d", 1.0)));
  run(*model);
  EXPECT_EQ(
      "1: 2=-1.2500000000e-01 3=-3.7500000000e-01 4=-1.2500000000e-01 5=-3.7500000000e-01\n"
      "2:\n3:\n4:\n5:",
      arm());
  EXPECT_EQ("1.0000000000e+00: 1", det());
}

TEST_F(StateSpaceGenDetTest, ChainsOf23InstantaneousFiringsAreTheLongestAccepted) {
  std::unique_ptr<TestPVModel> accepted(chainOf(deterministic("d", 1.0), 23));
  run(*accepted);
  EXPECT_EQ("1: 2=-1.0000000000e+00\n2:", arm());

  std::unique_ptr<TestPVModel> refused(chainOf(deterministic("d", 1.0), 24));
  EXPECT_EXIT(runToDeath(*refused), testing::ExitedWithCode(1),
              testing::Matcher<const std::string&>(
                  "SSG: SetTraceLevel: 0\n"
                  "Error:  Maximum number of zero time transition firings exceeded(23)\n"
                  "Possible undetermined model\n"
                  "Please check the model and try again\n"));
  // The enabling records are written at the end only.
  EXPECT_EQ("", dir.read("m.det"));
}

TEST_F(StateSpaceGenDetTest, UnusableCaseProbabilitiesAndRatesStopTheRun) {
  // The deterministic d leads from state 1 to q = 1, where "bad" is enabled.
  auto refused = [this](ssg_test::ActivityDef bad, const char* expected) {
    TestPVModel model("net", {{"q", 0}},
                      {deterministic("d", 1.0).when(markingIs(0, 0)).fires(setMarking(0, 1)),
                       bad.when(markingIs(0, 1))});
    EXPECT_EXIT(runToDeath(model), testing::ExitedWithCode(1),
                std::string("Error: activity ") + expected + ";");
  };
  refused(deterministic("bad", 1.0).fires(setMarking(0, 2), -1.0).fires(setMarking(0, 3), 2.0),
          "bad_case1 has the case probability -1 in state 2");
  // Instantaneous, q = 1 is vanishing: the choice is made exploring state 1.
  refused(instantaneous("bad").fires(setMarking(0, 2), 0.0).fires(setMarking(0, 3), 0.0),
          "bad_case1 has the case probability -?nan in state 1");
}

}  // namespace
