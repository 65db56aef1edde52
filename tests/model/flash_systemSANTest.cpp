#include <gtest/gtest.h>

#include "basic_model.h"

namespace {

class FlashSystemTest : public testing::Test {
 protected:
  flash_systemSAN flash;

  short working() { return flash.flash_working->getMark(); }
  short corrupted() { return flash.flash_corrupted->getMark(); }
};

TEST_F(FlashSystemTest, UpsetCaseWeightsFollowFlashSizeInDouble) {
  flash_size = 64;
  EXPECT_EQ(0.875, flash.seu_case1.Weight());
  EXPECT_EQ(0.125, flash.seu_case2.Weight());
  EXPECT_EQ(0.125, flash.seuGroup.Probability(&flash.seu_case2));
  flash_size = 0.1f;
  EXPECT_EQ(1.0 - static_cast<double>(0.001953125f) * static_cast<double>(flash_size),
            flash.seu_case1.Weight());
}

TEST_F(FlashSystemTest, AnUpsetOrInterruptCorruptsUntilThePowerCycle) {
  EXPECT_TRUE(flash.seu_case1.Enabled());
  EXPECT_TRUE(flash.seu_case2.Enabled());
  EXPECT_TRUE(flash.sefi.Enabled());
  EXPECT_FALSE(flash.power_cycle.Enabled());

  flash.seu_case1.Fire();
  EXPECT_EQ(1, working());
  EXPECT_EQ(0, corrupted());

  EXPECT_EQ(&flash.sefi, flash.sefi.Fire());
  EXPECT_EQ(0, working());
  EXPECT_EQ(1, corrupted());
  EXPECT_FALSE(flash.sefi.Enabled());
  EXPECT_TRUE(flash.power_cycle.Enabled());

  flash.power_cycle.Fire();
  EXPECT_EQ(1, working());
  EXPECT_EQ(0, corrupted());

  flash.seu_case2.Fire();
  EXPECT_EQ(1, corrupted());
  // The power cycle waits for exactly one corruption.
  flash.flash_corrupted->setMark(2);
  EXPECT_FALSE(flash.power_cycle.Enabled());
}

}  // namespace
