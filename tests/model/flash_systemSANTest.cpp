#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/basic_model_studyRangeStudy.h"
#include "model/flash_systemSAN.h"
#include "tests/ModelViews.h"

namespace {

using model_views::itemsOf;

class FlashSystemTest : public testing::Test {
 protected:
  flash_systemSAN flash;

  short working() { return flash.flash_working->getMark(); }
  short corrupted() { return flash.flash_corrupted->getMark(); }
};

TEST_F(FlashSystemTest, PlacesAndInitialMarking) {
  EXPECT_STREQ("flash_system", flash.Name);
  ASSERT_EQ(2, flash.NumStateVariables);
  EXPECT_EQ(flash.flash_corrupted, flash.Places[0]);
  EXPECT_EQ(flash.flash_working, flash.Places[1]);
  EXPECT_EQ(0, corrupted());
  EXPECT_EQ(1, working());
  EXPECT_EQ(4, flash.StateSize());
}

TEST_F(FlashSystemTest, ActivitiesAndGroupsAreTabledInOrder) {
  const char* names[4] = {"seu_case1", "seu_case2", "sefi", "power_cycle"};
  const int groups[4] = {0, 0, 1, 2};
  const Distribution distributions[4] = {Exponential, Exponential, Exponential, Deterministic};
  const int affects[4] = {1, 2, 2, 2};
  ASSERT_EQ(4, flash.NumActions);
  for (int i = 0; i < 4; i++) {
    EXPECT_STREQ(names[i], flash.Actions[i]->Name);
    EXPECT_EQ(groups[i], flash.Actions[i]->GroupID) << names[i];
    EXPECT_EQ(distributions[i], flash.Actions[i]->DistributionType) << names[i];
    EXPECT_EQ(affects[i], flash.Actions[i]->AffectedSVs.getNumItems()) << names[i];
    EXPECT_EQ(1, flash.Actions[i]->EnablingSVs.getNumItems()) << names[i];
  }
  ASSERT_EQ(3, flash.NumGroups);
  EXPECT_EQ(&flash.seuGroup, flash.Groups[0]);
  EXPECT_STREQ("seuGroup", flash.seuGroup.Name);
  EXPECT_EQ(&flash.seu_case2, flash.seuGroup.Members[1]);
  EXPECT_EQ(&flash.sefi, flash.Groups[1]);
  EXPECT_EQ(&flash.power_cycle, flash.Groups[2]);

  EXPECT_EQ((std::vector<BaseActionClass*>{&flash.seu_case2, &flash.sefi, &flash.power_cycle}),
            itemsOf(*flash.flash_corrupted->getAffectingActions()));
  EXPECT_EQ((std::vector<BaseActionClass*>{&flash.power_cycle}),
            itemsOf(*flash.flash_corrupted->getEnabledActions()));
}

TEST_F(FlashSystemTest, RatesDelaysAndWeights) {
  EXPECT_EQ(1.5e-16, flash.seu_case1.Rate());
  EXPECT_EQ(1.5e-16, flash.seu_case2.ReturnDistributionParameters()[0]);
  EXPECT_EQ(0.00274, flash.sefi.Rate());
  EXPECT_EQ(1.0, flash.sefi.Weight());
  EXPECT_EQ(0.0, flash.power_cycle.Rate());
  EXPECT_EQ(1e+19, flash.power_cycle.DeterministicParamValue());
  EXPECT_EQ(1e+19, flash.power_cycle.SampleDistribution());
  EXPECT_EQ(1e+19, flash.power_cycle.ReturnDistributionParameters()[0]);

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
