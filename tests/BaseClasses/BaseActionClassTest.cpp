#include <gtest/gtest.h>

#include "Cpp/BaseClasses/BaseActionClass.h"
#include "Cpp/BaseClasses/state/Place.h"
#include "tests/BaseClasses/TestActivities.h"

namespace {

using group_test::TestActivity;

TEST(BaseActionClassTest, FreshActionPrintsItsDefaults) {
  BaseActionClass action;
  testing::internal::CaptureStdout();
  action.PrintInfo();
  EXPECT_EQ(
      "********* default**********\n"
      "\n"
      "Enabled by:\n"
      "Affects:\n"
      "Group ID = 0\n"
      "Execution Policy = 1\n"
      "Disabled = 1\n"
      "Reactivation = 0\n"
      "DistributionType = 1\n",
      testing::internal::GetCapturedStdout());
}

TEST(BaseActionClassTest, PrintInfoListsTheArcsAndTheInitializedValues) {
  BaseActionClass action("watchdog_reboot", 3, Deterministic, RaceEnabled, 2, 1, true);
  Place corrupted("ram_corrupted");
  Place working("ram_working");
  action.addEnablingSV(&corrupted);
  action.addAffectedSV(&corrupted);
  action.addAffectedSV(&working);
  testing::internal::CaptureStdout();
  action.PrintInfo();
  EXPECT_EQ(
      "********* watchdog_reboot**********\n"
      "\n"
      "Enabled by:\n"
      "           ram_corrupted\n"
      "Affects:\n"
      "           ram_corrupted\n"
      "           ram_working\n"
      "Group ID = 3\n"
      "Execution Policy = 1\n"
      "Disabled = 1\n"
      "Reactivation = 1\n"
      "DistributionType = 2\n",
      testing::internal::GetCapturedStdout());
}

TEST(BaseActionClassTest, ActionsAreNumberedInConstructionOrder) {
  BaseActionClass first;
  BaseActionClass second;
  EXPECT_EQ(first.ActionID + 1, second.ActionID);
  EXPECT_EQ(BaseActionClass::MaxID, second.ActionID + 1);
}

TEST(BaseActionClassTest, PhaseCountsErlangPhasesUntilTheLast) {
  BaseActionClass plain;
  EXPECT_TRUE(plain.ReadyToFire());
  plain.Age();
  EXPECT_FALSE(plain.ReadyToFire());
  plain.ResetPhase();
  EXPECT_TRUE(plain.ReadyToFire());

  TestActivity erlang("erlang", Erlang);
  erlang.phases = 3.0;
  EXPECT_FALSE(erlang.ReadyToFire());
  erlang.Age();
  EXPECT_FALSE(erlang.ReadyToFire());
  erlang.Age();
  EXPECT_TRUE(erlang.ReadyToFire());
  EXPECT_EQ(3, erlang.Phase);
  erlang.ResetPhase();
  EXPECT_EQ(1, erlang.Phase);
}

TEST(BaseActionClassTest, RewardStructuresAreAllocatedOnDemand) {
  BaseActionClass action;
  EXPECT_FALSE(action.IsPVRateDSAllocated());
  action.AllocatePVRateDS(0);
  EXPECT_TRUE(action.IsPVRateDSAllocated());
  action.DeallocatePVRateDS();
  EXPECT_FALSE(action.IsPVRateDSAllocated());

  EXPECT_FALSE(action.IsPVImpulseDSAllocated());
  action.AllocatePVImpulseDS(2);
  ASSERT_TRUE(action.IsPVImpulseDSAllocated());
  EXPECT_TRUE(action.PVImpulseIndices[1].empty());
  EXPECT_EQ(nullptr, action.PVImpulseWorkers[1]);
  EXPECT_EQ(nullptr, action.PVImpulseWorkerCounts[0]);
  action.DeallocatePVImpulseDS();
  EXPECT_FALSE(action.IsPVImpulseDSAllocated());
}

}  // namespace
