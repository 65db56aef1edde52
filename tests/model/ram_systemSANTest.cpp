#include <gtest/gtest.h>

#include "basic_model.h"
#include "tests/ModelViews.h"

namespace {

using model_views::shorts;
using model_views::stateOf;

class RamSystemTest : public testing::Test {
 protected:
  ram_systemSAN ram;

  short working() { return ram.ram_working->getMark(); }
  short corrupted() { return ram.ram_corrupted->getMark(); }
};

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

}  // namespace
