#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Cpp/BaseClasses/PerformanceVariableNode.h"
#include "basic_model.h"

namespace {

class BasicRewardModelTest : public testing::Test {
 protected:
  void SetUp() override { model.ConsiderOnly(nullptr, -1); }

  // Fires action through the reward model and returns the rate reward of
  // "reliability" in the marking reached.
  double fire(BaseActionClass* action) {
    model.FireAction(state.data(), action);
    EXPECT_EQ(0.0, node.ImpulseReward);
    return node.RateReward;
  }

  basic_rewardPVModel model{false};
  basic_modelRJ& join = *static_cast<basic_modelRJ*>(model.ChildModel);
  flash_systemSAN& flash = *join.flash_system;
  ram_systemSAN& ram = *join.ram_system;
  PerformanceVariableNode& node = *model.PVList[0];
  std::vector<char> state = std::vector<char>(model.StateSize());
};

TEST_F(BasicRewardModelTest, EveryActionChangingEitherPlaceAffectsTheVariable) {
  // flash_corrupted, shared: seu_case2, sefi, power_cycle; ram_corrupted:
  // watchdog_reboot, random_failure, bit_error_case2, page_error_case2.
  EXPECT_EQ(7, model.NumRateAffectingActions);
  EXPECT_EQ(0, model.NumImpulseAffectingActions);
  ASSERT_EQ(7, model.NumAffectingActions);
  ASSERT_EQ(7, node.NumAffectingActions);
  std::vector<std::string> names;
  for (int k = 0; k < node.NumAffectingActions; k++) {
    names.push_back(node.AffectingActions[k]->Name);
  }
  EXPECT_EQ(std::vector<std::string>({"seu_case2", "sefi", "power_cycle", "watchdog_reboot",
                                      "random_failure", "bit_error_case2", "page_error_case2"}),
            names);
  EXPECT_EQ(0, ram.bit_error_case1.AffectedNodesByRateReward.size());
}

TEST_F(BasicRewardModelTest, ReliabilityIsOneOnceBothPlacesAreCorrupted) {
  EXPECT_EQ(0.0, fire(&model.NoAction));
  EXPECT_EQ(0.0, fire(&flash.sefi));
  EXPECT_EQ(1.0, fire(&ram.random_failure));
  EXPECT_EQ(1.0, fire(&ram.random_failure));
  EXPECT_EQ(2, ram.ram_corrupted->getMark());
  EXPECT_EQ(0.0, fire(&flash.power_cycle));
  EXPECT_EQ(1.0, fire(&flash.seu_case2));
  EXPECT_EQ(0.0, fire(&ram.watchdog_reboot));
  EXPECT_EQ(1.0, fire(&ram.page_error_case2));
  EXPECT_EQ(0.0, fire(&ram.watchdog_reboot));
  EXPECT_EQ(1.0, fire(&ram.bit_error_case2));
  // flash_working, ram_working, ram_corrupted, then the shared flash_corrupted.
  ASSERT_EQ(8, model.StateSize());
  std::vector<short> reached(4);
  join.CurrentState(reached.data());
  EXPECT_EQ(std::vector<short>({0, 0, 1, 1}), reached);
}

TEST(BasicRewardModelStudyTest, TheStudyBuildsAFreshRewardModelOnEveryRequest) {
  basic_model_studyRangeStudy study;
  study.SetGVs(0);
  study.GetPVModel(false);
  PVModel* second = study.GetPVModel(false);
  EXPECT_EQ(second, study.ThePVModel);
  EXPECT_EQ(0, second->PVList[0]->PVId);
}

}  // namespace
