// The classes sanc generates, for a model that uses every construct: the
// state layout of nested, repeated and renamed children, the expressions of
// activities and cases, the effects of arcs and gates, the rewards and the
// study.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "constructs.h"
#include "tests/ModelViews.h"
#include "tests/TestFiles.h"

namespace {

using model_views::shorts;
using model_views::stateOf;

class ConstructsTest : public testing::Test {
 protected:
  void SetUp() override {
    tokens = 2;
    speed = 1.5;
    flag = true;
    copies = 2;
    slot = 0;
  }

  topRJ model;
  cellRJ& cell = *model.left;
  producerSAN& producer = *cell.producer;
};

TEST_F(ConstructsTest, NestedRepeatedAndRenamedChildrenShareOneCell) {
  ASSERT_EQ(2u, cell.consumer.size());
  // made and spare of the producer, used of each copy, used of the helper,
  // then goods (the stock of everyone) and the stores' slots, written once by
  // the top join.
  EXPECT_EQ(shorts({3, 1, 0, 0, 0, 0, 1, 1, 1}), stateOf(model));
  producer.stock->setMark(4);
  EXPECT_EQ(4, model.goods->getMark());
  for (consumerSAN* copy : cell.consumer) {
    EXPECT_EQ(model.goods->Value, copy->use.stock_Mark);
  }
  EXPECT_EQ(model.goods->Value, model.helper->use.stock_Mark);
  EXPECT_STREQ("producer", producer.Name);
  EXPECT_STREQ("helper", model.helper->Name);
}

TEST_F(ConstructsTest, WhatTheModelExpandsToAndItsMultiplicitiesAreCheckedWhenItIsBuilt) {
  // cell: producer (3 places, 8 activity instances), 2 consumers (2, 1) and
  // stock; top: cell, a consumer, two stores (3 places; shift, peek and
  // turn[0], turn[1]) and 4 shared places.
  const sanc_runtime::Expansion expansion = topRJ::expansion();
  EXPECT_EQ(20, expansion.places);
  EXPECT_EQ(19, expansion.activities);
  // The family follows its bounds' global variables.
  slot = -2;  // turn[0 .. -1] has no member
  EXPECT_EQ(15, topRJ::expansion().activities);
  slot = 0;
  // tokens is the multiplicity of ship's input arc.
  EXPECT_EXIT((tokens = 0, topRJ()), testing::ExitedWithCode(1),
              "^Error: the arc of activity ship of model producer to or from place stock has the "
              "multiplicity 0; a multiplicity must be a whole number from 1 to 32767\n$");
}

TEST_F(ConstructsTest, TimingsTakeTheirExpressionsAndParameters) {
  EXPECT_EQ(Erlang, producer.make.DistributionType);
  EXPECT_EQ(3.0, producer.make.Rate());  // speed * scale
  EXPECT_EQ(3.0, producer.make.ErlangParamM());
  EXPECT_EQ(3.0, producer.make.ReturnDistributionParameters()[0]);
  EXPECT_EQ(3.0, producer.make.ReturnDistributionParameters()[1]);
  EXPECT_EQ(Deterministic, producer.ship.DistributionType);
  EXPECT_EQ(2.0, producer.ship.DeterministicParamValue());
  EXPECT_EQ(0.0, producer.ship.Rate());
  EXPECT_EQ(Instantaneous, producer.pick.DistributionType);
  EXPECT_EQ(2.5, producer.pick.Weight());  // 5 / 2: numbers are real numbers
  EXPECT_EQ(2, producer.pick.Rank());
  producer.made->setMark(4);
  EXPECT_EQ(5, producer.pick.Rank());
  model.goods->setMark(2);
  EXPECT_EQ(3.0, model.helper->use.Rate());  // speed * min(stock, 9)
}

TEST_F(ConstructsTest, ArcsAndGatesEnableAndFire) {
  EXPECT_FALSE(producer.ship.Enabled());  // stock below tokens
  producer.make.Fire();
  EXPECT_EQ(2, producer.stock->getMark());
  EXPECT_EQ(4, producer.made->getMark());
  EXPECT_TRUE(producer.ship.Enabled());
  flag = false;
  EXPECT_FALSE(producer.ship.Enabled());
  flag = true;
  producer.stock->setMark(5);
  producer.ship.Fire();  // takes tokens, then the gate copies stock
  EXPECT_EQ(3, producer.stock->getMark());
  EXPECT_EQ(3, producer.spare->getMark());
}

TEST_F(ConstructsTest, CasesHaveTheirOwnWeightsRanksAndEffects) {
  EXPECT_EQ(3.0, producer.split_case1.Weight());
  EXPECT_EQ(4.0, producer.split_case2.Weight());  // made + 1
  EXPECT_EQ(2, producer.split_case1.Rank());
  EXPECT_EQ(1, producer.split_case2.Rank());
  // Case 1 outranks case 2 while its own predicate holds.
  EXPECT_EQ(1.0, producer.splitGroup.Probability(&producer.split_case1));
  producer.stock->setMark(9);
  EXPECT_FALSE(producer.split_case1.Enabled());
  EXPECT_EQ(1.0, producer.splitGroup.Probability(&producer.split_case2));
  producer.split_case2.Fire();
  EXPECT_EQ(0, producer.spare->getMark());
  EXPECT_EQ(10, producer.stock->getMark());
  EXPECT_EQ(producer.split_case1.GroupID, producer.split_case2.GroupID);
  // A case's own rank wins over its activity's, which the other case takes;
  // without a weight, an instantaneous activity weighs 1.
  EXPECT_EQ(4, producer.sort_case1.Rank());
  EXPECT_EQ(3, producer.sort_case2.Rank());
  EXPECT_EQ(0.25, producer.sort_case1.Weight());
  EXPECT_EQ(1.0, producer.drop.Weight());
  EXPECT_EQ(1, producer.drop.Rank());
}

TEST(ConstructsBuildTest, AnInitialMarkingBeyondTheShortRangeStopsTheBuild) {
  // made starts with tokens + 1.
  EXPECT_EXIT(
      {
        tokens = 32767;
        topRJ();
      },
      testing::ExitedWithCode(1),
      "^Error: place made of model producer would start with 32768 tokens; a marking "
      "must lie between 0 and 32767\n$");
}

TEST_F(ConstructsTest, AnOutputArcBeyondTheShortRangeStopsTheRun) {
  producer.made->setMark(32767);
  EXPECT_EXIT(producer.make.Fire(), testing::ExitedWithCode(1),
              "activity make of model producer takes the marking of place made to 32768");
}

TEST_F(ConstructsTest, APlaceArrayIsSharedElementByElementAndIndexed) {
  storeSAN& store = *model.store;
  storeSAN& other = *model.other;
  EXPECT_TRUE(store.shift.Enabled());
  store.shift.Fire();
  // Taken from slots[0]; the gate adds the array's size to slots[1]; two
  // tokens to slots[2]. The other store sees the same cells.
  const short* const* slots = other.slots->marks();
  EXPECT_EQ(0, *slots[0]);
  EXPECT_EQ(4, *slots[1]);
  EXPECT_EQ(3, *slots[2]);
  EXPECT_EQ(shorts({3, 1, 0, 0, 0, 0, 0, 4, 3}), stateOf(model));
  EXPECT_FALSE(other.shift.Enabled());
  slot = 2;
  EXPECT_TRUE(store.peek.Enabled());
  slot = 3;
  EXPECT_EXIT(store.peek.Enabled(), testing::ExitedWithCode(1),
              "Error: index 3 is outside the place array slots of 3 places");
}

TEST(ConstructsRewardTest, ARateRewardSumsOverEveryCombinationOfInstances) {
  copies = 2;
  top_rewardPVModel model(false);
  model.ConsiderOnly(nullptr, -1);
  topRJ& top = *static_cast<topRJ*>(model.ChildModel);
  producerSAN& producer = *top.left->producer;
  PerformanceVariableNode& level = *model.PVList[0];
  PerformanceVariableNode& splits = *model.PVList[1];
  EXPECT_EQ(2, level.NumWorkers);  // one producer times two consumers
  std::vector<char> state(model.StateSize());
  top.left->consumer[1]->used->setMark(3);
  producer.stock->setMark(1);
  model.FireAction(state.data(), &producer.split_case2);
  // Each worker: stock + 2 used, with stock 2 after the firing.
  EXPECT_EQ(2 + 0 + 2 + 2 * 3, level.RateReward);
  EXPECT_EQ(3.0, splits.ImpulseReward);  // the producer's made
  model.FireAction(state.data(), &producer.split_case1);
  EXPECT_EQ(4.0, splits.ImpulseReward);
  model.FireAction(state.data(), &producer.make);
  EXPECT_EQ(0.0, splits.ImpulseReward);
  EXPECT_EQ(2.0, model.PVList[2]->RateReward);  // both slots hold one token
}

// Each kind of variable is written with its type code and its time points
// (an interval's start and stop; none for the long run and the mean time).
const char kConstructsTypes[] =
    "Version:1\nNumPV:7\n"
    "Name:level\nType:0\nNumTimes:2\nStart:1\nStop:1\nStart:2.5\nStop:2.5\n"
    "Name:splits\nType:1\nNumTimes:2\nStart:0\nStop:1\nStart:1\nStop:2.5\n"
    "Name:filled\nType:0\nNumTimes:1\nStart:1\nStop:1\n"
    "Name:mean_level\nType:2\nNumTimes:1\nStart:0\nStop:10\n"
    "Name:throughput\nType:3\nNumTimes:0\n"
    "Name:stocked\nType:4\nNumTimes:0\n"
    "Name:used\nType:5\nNumTimes:2\nStart:1\nStop:1\nStart:5\nStop:5\n";

TEST(ConstructsRewardTest, EachKindHasItsTypeAndAConditionIsOneWhereAnInstanceMeetsIt) {
  copies = 2;
  top_rewardPVModel model(false);
  model.ConsiderOnly(nullptr, -1);
  test_files::TempFile types("constructs.pvtype");
  ASSERT_TRUE(model.WritePVTypeFile(types.c_str()));
  EXPECT_EQ(kConstructsTypes, types.read());

  topRJ& top = *static_cast<topRJ*>(model.ChildModel);
  PerformanceVariableNode& stocked = *model.PVList[5];
  PerformanceVariableNode& used = *model.PVList[6];
  model.UpdateRewards();
  EXPECT_EQ(0.0, stocked.RateReward);  // stock 0
  EXPECT_EQ(0.0, used.RateReward);
  top.left->producer->stock->setMark(3);
  top.left->consumer[1]->used->setMark(2);
  model.UpdateRewards();
  EXPECT_EQ(1.0, stocked.RateReward);
  EXPECT_EQ(1.0, used.RateReward);  // one copy of two
  top.left->consumer[0]->used->setMark(1);
  model.UpdateRewards();
  EXPECT_EQ(1.0, used.RateReward);  // both
}

TEST(ConstructsStudyTest, ASetStudyTakesTheValuesOneByOne) {
  top_studySetStudy study;
  ASSERT_EQ(3, study.GetNumExps());
  testing::internal::CaptureStdout();
  study.PrintGlobalValues(2);
  EXPECT_EQ(
      "The Global Variable values for experiment Experiment 3 are:\n"
      "tokens\tshort\t3\nspeed\tdouble\t2\nbig\tlong\t3\nflag\tbool\t1\nletter\tchar\t65\n"
      "copies\tint\t2\nslot\tshort\t0\npace\tdouble\t4\n",
      testing::internal::GetCapturedStdout());
  EXPECT_EQ(&letter, study.GetGVValue("letter"));
  EXPECT_TRUE(study.overrideGVs("l:big:-7"));
  EXPECT_EQ(-7, big);
}

// A derived global follows the globals it is computed from, overrides
// included, unless an override sets it.
TEST(ConstructsStudyTest, DerivedGlobalsAreComputedAfterTheOverrides) {
  top_studySetStudy study;
  study.SetGVs(0);
  EXPECT_EQ(1.0, pace);
  ASSERT_TRUE(study.overrideGVs("d:speed:3"));
  EXPECT_EQ(6.0, pace);
  top_studySetStudy other;
  other.SetGVs(0);
  ASSERT_TRUE(other.overrideGVs("d:pace:10:d:speed:3"));
  EXPECT_EQ(10.0, pace);
  testing::internal::CaptureStdout();
  other.printValuesInForce();
  EXPECT_NE(std::string::npos, testing::internal::GetCapturedStdout().find("speed\tdouble\t3\n"));
}

}  // namespace
