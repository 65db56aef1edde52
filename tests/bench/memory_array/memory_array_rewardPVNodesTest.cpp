#include <gtest/gtest.h>

#include <vector>

#include "bench/memory_array/memory_arrayRJ.h"
#include "bench/memory_array/memory_array_rewardPVModel.h"
#include "bench/memory_array/memory_array_rewardPVNodes.h"
#include "bench/memory_array/memory_array_studyRangeStudy.h"

namespace {

class CorruptedRamsTest : public testing::Test {
 protected:
  static memory_array_rewardPVModel* build(int rams) {
    num_rams = rams;
    memory_array_rewardPVModel* model = new memory_array_rewardPVModel(false);
    model->ConsiderOnly(nullptr, -1);
    return model;
  }

  void TearDown() override { delete model; }

  // Fires action through the reward model; the value of "corrupted_rams" in
  // the marking reached.
  double fire(BaseActionClass* action) {
    model->FireAction(state.data(), action);
    EXPECT_EQ(0.0, node.ImpulseReward);
    return node.RateReward;
  }

  memory_array_rewardPVModel* model = build(3);
  memory_arrayRJ& join = *static_cast<memory_arrayRJ*>(model->ChildModel);
  PerformanceVariableNode& node = *model->PVList[0];
  std::vector<char> state = std::vector<char>(model->StateSize());
};

TEST_F(CorruptedRamsTest, OneWorkerPerRamInstance) {
  ASSERT_EQ(1, model->NumPVs);
  EXPECT_STREQ("corrupted_rams", node.Name);
  ASSERT_EQ(1, node.NumModelDependencies);
  EXPECT_STREQ("ram_system", node.ModelDependencies[0]);
  ASSERT_EQ(3, node.NumWorkers);
  for (int w = 0; w < 3; w++) {
    EXPECT_EQ(join.ram_system[w],
              static_cast<memory_array_rewardPV0Worker*>(node.Workers[w])->ram_system);
  }
  EXPECT_EQ(nullptr, model->createPVNode(1, 0));
}

TEST_F(CorruptedRamsTest, OnlyTheRamActionsOnRamCorruptedReachTheirOwnWorker) {
  // watchdog_reboot, random_failure, bit_error_case2, page_error_case2 of
  // each RAM; no flash action.
  EXPECT_EQ(12, node.NumAffectingActions);
  EXPECT_EQ(0, join.flash_system->sefi.AffectedNodesByRateReward.size());
  for (int w = 0; w < 3; w++) {
    FastSet& workers = join.ram_system[w]->page_error_case2.PVRateWorkers[0];
    ASSERT_EQ(1, workers.size());
    EXPECT_EQ(w, workers[0]);
  }
}

TEST_F(CorruptedRamsTest, CountsTheCorruptedRams) {
  EXPECT_EQ(0.0, fire(&model->NoAction));
  EXPECT_EQ(1.0, fire(&join.ram_system[0]->random_failure));
  EXPECT_EQ(2.0, fire(&join.ram_system[2]->bit_error_case2));
  // A second corruption of the same RAM and the flash's corruption count
  // nothing more.
  EXPECT_EQ(2.0, fire(&join.ram_system[0]->page_error_case2));
  EXPECT_EQ(2.0, fire(&join.flash_system->sefi));
  EXPECT_EQ(3.0, fire(&join.ram_system[1]->random_failure));
  EXPECT_EQ(2.0, fire(&join.ram_system[0]->watchdog_reboot));
}

}  // namespace
