#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "memory_array.h"
#include "tests/ModelViews.h"

namespace {

using model_views::shorts;
using model_views::stateOf;

class MemoryArrayTest : public testing::Test {
 protected:
  static memory_arrayRJ* build(int rams) {
    num_rams = rams;
    return new memory_arrayRJ();
  }

  memory_arrayRJ* model = build(3);
  flash_systemSAN& flash = *model->flash_system;

  void TearDown() override { delete model; }
};

TEST_F(MemoryArrayTest, TheFlashComesFirstThenEveryRamUnderOneName) {
  ASSERT_EQ(3u, model->ram_system.size());
  ASSERT_EQ(4, model->GetNumberOfChildren());
  EXPECT_EQ(&flash, model->GetChild(0));
  for (int i = 0; i < 3; i++) {
    EXPECT_EQ(model->ram_system[i], model->GetChild(i + 1));
    EXPECT_STREQ("ram_system", model->ram_system[i]->Name);
  }
  EXPECT_EQ(4 + 3 * 6, model->NumActions);
  EXPECT_EQ(3 + 3 * 4, model->NumGroups);
  // flash_working, then ram_working and ram_corrupted of each RAM, then the
  // shared flash_corrupted once.
  EXPECT_EQ(2 + 3 * 4 + 2, model->StateSize());
  EXPECT_EQ(shorts({1, 1, 0, 1, 0, 1, 0, 0}), stateOf(*model));
}

TEST_F(MemoryArrayTest, EveryRamSeesTheFlashCorruption) {
  flash.sefi.Fire();
  for (int i = 0; i < 3; i++) {
    EXPECT_EQ(1, model->ram_system[i]->flash_corrupted->getMark());
  }
  EXPECT_EQ(shorts({0, 1, 0, 1, 0, 1, 0, 1}), stateOf(*model));
  flash.power_cycle.Fire();
  EXPECT_EQ(shorts({1, 1, 0, 1, 0, 1, 0, 0}), stateOf(*model));
}

TEST_F(MemoryArrayTest, EachRamChangesOnlyItsOwnPlaces) {
  model->ram_system[1]->bit_error_case2.Fire();
  model->ram_system[2]->random_failure.Fire();
  EXPECT_EQ(shorts({1, 1, 0, 0, 1, 1, 1, 0}), stateOf(*model));
  EXPECT_FALSE(model->ram_system[0]->watchdog_reboot.Enabled());
  EXPECT_TRUE(model->ram_system[1]->watchdog_reboot.Enabled());
  model->ram_system[1]->watchdog_reboot.Fire();
  EXPECT_EQ(shorts({1, 1, 0, 1, 0, 1, 1, 0}), stateOf(*model));
  // Loading a state reaches every RAM.
  std::string loaded = shorts({0, 0, 2, 1, 1, 0, 1, 1});
  model->SetState(&loaded[0]);
  EXPECT_EQ(loaded, stateOf(*model));
  EXPECT_EQ(2, model->ram_system[0]->ram_corrupted->getMark());
  EXPECT_EQ(1, model->ram_system[2]->flash_corrupted->getMark());
}

TEST(MemoryArrayBuildTest, WithoutRamsOnlyTheFlashRemains) {
  num_rams = 0;
  memory_arrayRJ model;
  EXPECT_EQ(1, model.GetNumberOfChildren());
  EXPECT_EQ(4, model.NumActions);
  EXPECT_EQ(shorts({1, 0}), stateOf(model));
}

TEST(MemoryArrayBuildTest, ANumberOfRamsOutsideZeroToTenThousandStopsTheBuild) {
  for (int rams : {-2, 10001, 2147483647}) {
    num_rams = rams;
    EXPECT_EXIT(memory_arrayRJ(), testing::ExitedWithCode(1),
                "^Error: join memory_array asks for " + std::to_string(rams) +
                    " copies of ram_system; the number of copies must lie between 0 and "
                    "10000\n$");
  }
}

}  // namespace
