#include <gtest/gtest.h>

#include <forward_list>
#include <memory>
#include <string>
#include <vector>

#include "model/basic_model_studyRangeStudy.h"
#include "model/ram_systemSAN.h"
#include "tests/ModelViews.h"

namespace {

using model_views::itemsOf;
using model_views::shorts;
using model_views::stateOf;

class RamSystemTest : public testing::Test {
 protected:
  ram_systemSAN ram;

  short working() { return ram.ram_working->getMark(); }
  short corrupted() { return ram.ram_corrupted->getMark(); }
};

TEST_F(RamSystemTest, PlacesAndInitialMarking) {
  EXPECT_STREQ("ram_system", ram.Name);
  ASSERT_EQ(3, ram.NumStateVariables);
  EXPECT_EQ(0, ram.NumReadOnlyPlaces);
  EXPECT_STREQ("flash_corrupted", ram.Places[0]->Name);
  EXPECT_STREQ("ram_working", ram.Places[1]->Name);
  EXPECT_STREQ("ram_corrupted", ram.Places[2]->Name);
  EXPECT_EQ(ram.ram_corrupted, ram.Places[2]);
  EXPECT_EQ(6, ram.StateSize());
  EXPECT_EQ(shorts({0, 1, 0}), stateOf(ram));
}

TEST_F(RamSystemTest, ActivitiesAndGroupsAreTabledInOrder) {
  const char* names[6] = {"watchdog_reboot", "random_failure",   "bit_error_case1",
                          "bit_error_case2", "page_error_case1", "page_error_case2"};
  const int groups[6] = {0, 1, 2, 2, 3, 3};
  const Distribution distributions[6] = {Deterministic, Exponential, Exponential,
                                         Exponential,   Exponential, Exponential};
  const int affects[6] = {2, 1, 1, 2, 1, 2};
  ASSERT_EQ(6, ram.NumActions);
  for (int i = 0; i < 6; i++) {
    BaseActionClass* action = ram.Actions[i];
    EXPECT_STREQ(names[i], action->Name);
    EXPECT_EQ(groups[i], action->GroupID) << names[i];
    EXPECT_EQ(distributions[i], action->DistributionType) << names[i];
    EXPECT_EQ(affects[i], action->AffectedSVs.getNumItems()) << names[i];
    EXPECT_EQ(1, action->EnablingSVs.getNumItems()) << names[i];
    EXPECT_EQ(1, action->Rank());
    EXPECT_EQ(&ram, action->OwnerModel);
  }
  ASSERT_EQ(4, ram.NumGroups);
  EXPECT_EQ(&ram.watchdog_reboot, ram.Groups[0]);
  EXPECT_EQ(&ram.random_failure, ram.Groups[1]);
  EXPECT_STREQ("bit_errorGroup", ram.Groups[2]->Name);
  ASSERT_EQ(2, ram.bit_errorGroup.NumMembers);
  EXPECT_EQ(&ram.bit_error_case1, ram.bit_errorGroup.Members[0]);
  EXPECT_EQ(&ram.bit_error_case2, ram.bit_errorGroup.Members[1]);
  EXPECT_STREQ("page_errorGroup", ram.Groups[3]->Name);
  EXPECT_EQ(&ram.page_error_case2, ram.page_errorGroup.Members[1]);
  EXPECT_STREQ("ImmediateGroup", ram.ImmediateGroup.Name);
}

TEST_F(RamSystemTest, ArcsFollowTheTables) {
  EXPECT_EQ((std::vector<BaseStateVariableClass*>{ram.ram_corrupted, ram.ram_working}),
            itemsOf(ram.watchdog_reboot.AffectedSVs));
  EXPECT_EQ((std::vector<BaseStateVariableClass*>{ram.ram_working, ram.ram_corrupted}),
            itemsOf(ram.page_error_case2.AffectedSVs));
  EXPECT_EQ((std::vector<BaseActionClass*>{&ram.watchdog_reboot, &ram.random_failure,
                                           &ram.bit_error_case2, &ram.page_error_case2}),
            itemsOf(*ram.ram_corrupted->getAffectingActions()));
  EXPECT_EQ((std::vector<BaseActionClass*>{&ram.watchdog_reboot, &ram.random_failure}),
            itemsOf(*ram.ram_corrupted->getEnabledActions()));
  EXPECT_EQ(0, ram.flash_corrupted->getNumAffectingActions());
  EXPECT_EQ(0, ram.flash_corrupted->getNumEnabledActions());
}

TEST_F(RamSystemTest, CachedPointersDesignateThePlaces) {
  EXPECT_EQ(ram.ram_corrupted->Value, ram.watchdog_reboot.ram_corrupted_Mark);
  EXPECT_EQ(ram.ram_working->Value, ram.watchdog_reboot.ram_working_Mark);
  EXPECT_EQ(ram.ram_working->Value, ram.page_error_case2.ram_working_Mark);
  // Value, Mark and one cached pointer per activity that touches the place.
  EXPECT_EQ(2 + 4, ram.ram_corrupted->getSharingCount());
  EXPECT_EQ(2 + 5, ram.ram_working->getSharingCount());
  EXPECT_EQ(2, ram.flash_corrupted->getSharingCount());
}

TEST_F(RamSystemTest, RatesDelaysAndParameters) {
  EXPECT_EQ(0.0, ram.watchdog_reboot.Rate());
  EXPECT_EQ(0.00347, ram.watchdog_reboot.DeterministicParamValue());
  EXPECT_EQ(0.00347, ram.watchdog_reboot.SampleDistribution());
  EXPECT_EQ(0.00347, ram.watchdog_reboot.ReturnDistributionParameters()[0]);
  EXPECT_EQ(0.00548, ram.random_failure.Rate());
  EXPECT_EQ(0.00548, ram.random_failure.ReturnDistributionParameters()[0]);
  EXPECT_EQ(6.012, ram.bit_error_case1.Rate());
  EXPECT_EQ(6.012, ram.bit_error_case2.Rate());
  EXPECT_EQ(2.95e-06, ram.page_error_case1.Rate());
  EXPECT_EQ(2.95e-06, ram.page_error_case2.ReturnDistributionParameters()[0]);
  EXPECT_GT(ram.random_failure.SampleDistribution(), 0.0);
  EXPECT_FALSE(ram.bit_error_case2.ReactivationPredicate());
  EXPECT_FALSE(ram.bit_error_case2.ReactivationFunction());
  EXPECT_EQ(1.0, ram.watchdog_reboot.Weight());
  EXPECT_EQ(1.0, ram.random_failure.Weight());
}

TEST_F(RamSystemTest, CaseWeightsFollowRamSize) {
  ram_size = 512;
  EXPECT_EQ(0.0, ram.bit_error_case1.Weight());
  EXPECT_EQ(1.0, ram.bit_error_case2.Weight());
  EXPECT_EQ(1.0, ram.bit_errorGroup.Probability(&ram.bit_error_case2));
  ram_size = 0;
  EXPECT_EQ(1.0, ram.bit_error_case1.Weight());
  EXPECT_EQ(0.0, ram.bit_errorGroup.Probability(&ram.bit_error_case2));
  ram_size = 128;
  EXPECT_EQ(0.75, ram.bit_errorGroup.Probability(&ram.bit_error_case1));
  EXPECT_EQ(0.25, ram.bit_errorGroup.Probability(&ram.bit_error_case2));
}

TEST_F(RamSystemTest, CaseWeightsAreComputedInDouble) {
  ram_size = 0.1f;
  double product = static_cast<double>(0.001953125f) * static_cast<double>(ram_size);
  EXPECT_EQ(product, ram.bit_error_case2.Weight());
  EXPECT_EQ(1.0 - product, ram.bit_error_case1.Weight());
  // In float the difference would round.
  EXPECT_NE(static_cast<double>(1.0f - 0.001953125f * ram_size), ram.bit_error_case1.Weight());
}

TEST_F(RamSystemTest, PageErrorCasesHaveFixedProbabilities) {
  EXPECT_EQ(0.75, ram.page_error_case1.Weight());
  EXPECT_EQ(0.25, ram.page_error_case2.Weight());
  EXPECT_EQ(0.75, ram.page_errorGroup.Probability(&ram.page_error_case1));
  EXPECT_EQ(0.25, ram.page_errorGroup.Probability(&ram.page_error_case2));
}

TEST_F(RamSystemTest, InTheInitialMarkingAllButTheWatchdogAreEnabled) {
  EXPECT_FALSE(ram.watchdog_reboot.Enabled());
  for (int i = 1; i < ram.NumActions; i++) {
    EXPECT_TRUE(ram.Actions[i]->Enabled()) << ram.Actions[i]->Name;
  }
}

TEST_F(RamSystemTest, FailuresAccumulateUntilTheWatchdogRestores) {
  EXPECT_EQ(&ram.random_failure, ram.random_failure.Fire());
  EXPECT_EQ(1, corrupted());
  EXPECT_FALSE(ram.random_failure.Enabled());
  EXPECT_TRUE(ram.watchdog_reboot.Enabled());

  ram.bit_error_case2.Fire();
  EXPECT_EQ(0, working());
  EXPECT_EQ(2, corrupted());
  for (int i = 1; i < ram.NumActions; i++) {
    EXPECT_FALSE(ram.Actions[i]->Enabled()) << ram.Actions[i]->Name;
  }

  ram.watchdog_reboot.Fire();
  EXPECT_EQ(1, working());
  EXPECT_EQ(0, corrupted());
  EXPECT_FALSE(ram.watchdog_reboot.Enabled());
}

TEST_F(RamSystemTest, ThePageErrorCasesCorruptOrLeaveTheMarking) {
  ram.page_error_case1.Fire();
  ram.bit_error_case1.Fire();
  EXPECT_EQ(shorts({0, 1, 0}), stateOf(ram));
  ram.random_failure.Fire();
  ram.page_error_case2.Fire();
  EXPECT_EQ(shorts({0, 0, 2}), stateOf(ram));
}

TEST(RamSystemLifetimeTest, AFreshModelOwnsAndReleasesEverything) {
  std::unique_ptr<ram_systemSAN> ram(new ram_systemSAN);
  std::forward_list<BaseActionClass*> global;
  ram->GetGlobalActions(global);
  EXPECT_TRUE(global.empty());
  ram->CustomInitialization();
  ram->assignPlacesToActivitiesInst();
  ram->assignPlacesToActivitiesTimed();
  EXPECT_EQ(ram->ram_working, ram->bit_error_case1.ram_working);
}

}  // namespace
