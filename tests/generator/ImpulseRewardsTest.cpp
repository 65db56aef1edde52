// The impulse file: per state, the impulses its timed firings earn per unit
// time over the paths of their zero-time chains, and what each enabled
// deterministic activity earns per firing; written only for models with
// impulses.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "tests/generator/GeneratorTestModels.h"

namespace {

using ssg_test::deterministic;
using ssg_test::exponential;
using ssg_test::instantaneous;
using ssg_test::markingIs;
using ssg_test::setMarking;
using ssg_test::TestPVModel;

class ImpulseRewardsTest : public ssg_test::GeneratorRunTest {};

const char kHeader[] = "Version:1\nNumPV:1\nmarking\n1\n";

// A state's record without deterministic activities: its number, its
// impulse rate, 0.
std::string record(int state, const char* rate) {
  return std::to_string(state) + "\n" + rate + "\n0\n";
}

const char kZero[] = "0.0000000000e+00";

TEST_F(ImpulseRewardsTest, APathEarnsTheImpulsesOfAllItsFiringsWeightedByItsProbability) {
  std::unique_ptr<TestPVModel> plain(ssg_test::twoChoicesAfter(exponential("start", 2.0)));
  run(*plain);
  EXPECT_FALSE(dir.exists("m.imp")) << "a model without impulses writes none";

  // start (rate 2, impulse 1) is followed by the choices first (1 : 1) and
  // second (1 : 3); first_case1 earns 10, second_case2 100. The paths earn
  // 11, 111, 1 and 101 with probabilities 1/8, 3/8, 1/8 and 3/8: 81 per
  // firing, 162 per unit time.
  std::unique_ptr<TestPVModel> model(ssg_test::twoChoicesAfter(
      exponential("start", 2.0), {{"start", 1.0}, {"first_case1", 10.0}, {"second_case2", 100.0}}));
  run(*model);
  EXPECT_EQ(std::string(kHeader) + record(1, "1.6200000000e+02") + record(2, kZero) +
                record(3, kZero) + record(4, kZero) + record(5, kZero),
            dir.read("m.imp"));
}

TEST_F(ImpulseRewardsTest, ErlangPhaseStepsEarnNothingAndSelfLoopsCount) {
  // g (2 phases of rate 4, impulse 1) completes from its second phase; stay
  // (rate 0.5, impulse 3) returns to the state it leaves.
  TestPVModel model(
      "net", {{"p", 0}},
      {ssg_test::erlang("g", 4.0, 2).when(markingIs(0, 0)).fires(setMarking(0, 1)),
       exponential("stay", 0.5).when(markingIs(0, 0))},
      {{"g", 1.0}, {"stay", 3.0}});
  run(model);
  EXPECT_EQ(std::string(kHeader) + record(1, "1.5000000000e+00") +
                record(2, "5.5000000000e+00") + record(3, kZero),
            dir.read("m.imp"));
}

TEST_F(ImpulseRewardsTest, EachDeterministicActivityEarnsOverItsCasesAndTheirChains) {
  // From q = 0: to1 (rate 2, impulse 1); d (delay 2.5) with the cases 0.3
  // (impulse 10) and 0.7, whose chain step earns 100: 3 + 70 per firing;
  // e (delay 1, impulse 7).
  TestPVModel model(
      "net", {{"q", 0}},
      {exponential("to1", 2.0).when(markingIs(0, 0)).fires(setMarking(0, 1)),
       deterministic("d", 2.5)
           .when(markingIs(0, 0))
           .fires(setMarking(0, 2), 0.3)
           .fires(setMarking(0, 3), 0.7),
       instantaneous("step").when(markingIs(0, 3)).fires(setMarking(0, 4)),
       deterministic("e", 1.0).when(markingIs(0, 0)).fires(setMarking(0, 5))},
      {{"to1", 1.0}, {"d_case1", 10.0}, {"step", 100.0}, {"e", 7.0}});
  run(model);
  EXPECT_EQ(std::string(kHeader) +
                "1\n2.0000000000e+00\n2\n"
                "1\n2.5000000000e+00\n7.3000000000e+01\n"
                "2\n1.0000000000e+00\n7.0000000000e+00\n" +
                record(2, kZero) + record(3, kZero) + record(4, kZero) + record(5, kZero),
            dir.read("m.imp"));
}

}  // namespace
