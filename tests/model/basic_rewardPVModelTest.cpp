#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Cpp/BaseClasses/PerformanceVariableNode.h"
#include "generator/Reward.h"
#include "model/basic_modelRJ.h"
#include "model/basic_model_studyRangeStudy.h"
#include "model/basic_rewardPVModel.h"
#include "model/basic_rewardPVNodes.h"
#include "tests/TestFiles.h"

namespace {

// What the reward file holds once its buffered records are written out.
std::string rewardFileText(const test_files::TempFile& file) {
  rewfile.flush();
  return file.read();
}

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

TEST_F(BasicRewardModelTest, WrapsTheJoinWithTheVariableReliability) {
  EXPECT_STREQ("basic_rewardPVModel", model.Name);
  EXPECT_STREQ("Join1", join.Name);
  EXPECT_EQ(8, model.StateSize());
  EXPECT_EQ(10, model.NumActions);
  EXPECT_EQ(7, model.NumGroups);
  ASSERT_EQ(1, model.NumPVs);
  EXPECT_STREQ("reliability", node.Name);
  EXPECT_EQ(0, node.PVId);
  EXPECT_EQ(InstantOfTimeType, node.GetRewardType());
  EXPECT_EQ(365.0, node.StartTime);
  ASSERT_EQ(2, node.NumModelDependencies);
  EXPECT_STREQ("ram_system", node.ModelDependencies[0]);
  EXPECT_STREQ("flash_system", node.ModelDependencies[1]);
  ASSERT_EQ(1, node.NumWorkers);
  basic_rewardPV0Worker* worker = static_cast<basic_rewardPV0Worker*>(node.Workers[0]);
  EXPECT_EQ(&ram, worker->ram_system);
  EXPECT_EQ(&flash, worker->flash_system);
  EXPECT_EQ(nullptr, model.createPVNode(1, 0));
}

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
  ASSERT_EQ(1, flash.sefi.PVRateWorkers[0].size());
  EXPECT_EQ(0, flash.sefi.PVRateWorkers[0][0]);
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
  std::vector<char> reached(model.StateSize());
  join.CurrentState(reached.data());
  EXPECT_EQ(reached, state);
}

TEST_F(BasicRewardModelTest, TheTypeFileHasSevenLines) {
  test_files::TempFile name("basic.pvtype");
  ASSERT_TRUE(model.WritePVTypeFile(name.c_str()));
  EXPECT_EQ("Version:1\nNumPV:1\nName:reliability\nType:0\nNumTimes:1\nStart:365\nStop:365\n",
            name.read());
}

TEST_F(BasicRewardModelTest, TheRewardFileHoldsThreeLinesPerState) {
  test_files::TempFile name("basic.var");
  {
    Reward reward(&model, 1, name.c_str());
    fire(&model.NoAction);
    reward.Calculate(1);
    fire(&flash.sefi);
    fire(&ram.random_failure);
    reward.Calculate(2);
    EXPECT_TRUE(reward.good());
  }
  EXPECT_EQ("reliability\n1\n0\n0\n2\n0\n1\n", rewardFileText(name));
}

TEST(BasicRewardModelTimeTest, ExpandingTimePointsStillGivesOneNode) {
  basic_rewardPVModel model(true);
  EXPECT_EQ(1, model.NumPVs);
}

TEST(BasicRewardModelStudyTest, TheStudyBuildsAFreshRewardModelOnEveryRequest) {
  basic_model_studyRangeStudy study;
  study.SetGVs(0);
  PVModel* first = study.GetPVModel(false);
  ASSERT_NE(nullptr, first);
  EXPECT_STREQ("basic_rewardPVModel", first->Name);
  EXPECT_EQ(first, study.ThePVModel);
  PVModel* second = study.GetPVModel(false);
  EXPECT_EQ(second, study.ThePVModel);
  EXPECT_EQ(0, second->PVList[0]->PVId);
  EXPECT_EQ(8, second->StateSize());
}

}  // namespace
