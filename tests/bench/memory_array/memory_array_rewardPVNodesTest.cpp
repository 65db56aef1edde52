#include <gtest/gtest.h>

#include <vector>

#include "memory_array.h"

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
