#include <gtest/gtest.h>

#include <string>

#include "basic_model.h"
#include "tests/ModelViews.h"

namespace {

using model_views::shorts;
using model_views::stateOf;

class BasicModelTest : public testing::Test {
 protected:
  basic_modelRJ model;
  flash_systemSAN& flash = *model.flash_system;
  ram_systemSAN& ram = *model.ram_system;
};

TEST_F(BasicModelTest, TheInitialStateVectorHasEightBytes) {
  EXPECT_EQ(8, model.StateSize());
  EXPECT_EQ(10, model.NumActions);
  // flash_working, ram_working, ram_corrupted, flash_corrupted.
  EXPECT_EQ(shorts({1, 1, 0, 0}), stateOf(model));
}

TEST_F(BasicModelTest, AnInterruptOfTheFlashIsSeenByTheRamModelAndTheJoin) {
  EXPECT_EQ(model.flash_corrupted->Value, ram.flash_corrupted->Mark);
  EXPECT_EQ(model.flash_corrupted->Value, flash.power_cycle.flash_corrupted_Mark);
  flash.sefi.Fire();
  EXPECT_EQ(1, ram.flash_corrupted->getMark());
  EXPECT_EQ(1, model.flash_corrupted->getMark());
  EXPECT_EQ(shorts({0, 1, 0, 1}), stateOf(model));
  // The flash's power cycle reads the place through its cached pointer, so
  // a change made on the RAM side reaches it.
  EXPECT_TRUE(flash.power_cycle.Enabled());
  ram.flash_corrupted->setMark(0);
  EXPECT_FALSE(flash.power_cycle.Enabled());
}

TEST_F(BasicModelTest, SetStateLoadsTheMarkingEveryActivitySees) {
  std::string loaded = shorts({0, 0, 2, 1});
  model.SetState(&loaded[0]);
  EXPECT_EQ(loaded, stateOf(model));
  EXPECT_TRUE(flash.power_cycle.Enabled());
  EXPECT_FALSE(flash.sefi.Enabled());
  EXPECT_TRUE(ram.watchdog_reboot.Enabled());
  EXPECT_FALSE(ram.bit_error_case2.Enabled());
}

}  // namespace
