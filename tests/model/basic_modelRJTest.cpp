#include <gtest/gtest.h>

#include <forward_list>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "Cpp/Composer/SharedStateVarLink.h"
#include "model/basic_modelRJ.h"
#include "model/basic_model_studyRangeStudy.h"
#include "tests/ModelViews.h"

namespace {

using model_views::shorts;
using model_views::stateOf;

std::set<std::string> namesOf(const std::forward_list<BaseActionClass*>& actions) {
  std::set<std::string> names;
  for (BaseActionClass* action : actions) {
    names.insert(action->Name);
  }
  return names;
}

class BasicModelTest : public testing::Test {
 protected:
  basic_modelRJ model;
  flash_systemSAN& flash = *model.flash_system;
  ram_systemSAN& ram = *model.ram_system;
};

TEST_F(BasicModelTest, TheJoinHoldsBothModelsAndOneSharedPlace) {
  EXPECT_STREQ("Join1", model.Name);
  EXPECT_STREQ("flash_system", flash.Name);
  EXPECT_STREQ("ram_system", ram.Name);
  EXPECT_EQ(&flash, model.GetChild(0));
  EXPECT_EQ(&ram, model.GetChild(1));
  ASSERT_EQ(1, model.NumSharedStateVariables);
  EXPECT_STREQ("flash_corrupted", model.SharedStateNames[0]);
  EXPECT_STREQ("flash_corrupted", basic_modelRJ__SharedNames[0]);
  EXPECT_EQ(model.flash_corrupted, model.SharedPtrs[0]);
  EXPECT_EQ(4, model.NumStateVariables);
  EXPECT_EQ(10, model.NumActions);
  EXPECT_EQ(7, model.NumGroups);
  EXPECT_EQ(40, model.ActionHashSize);  // ten distinct action names
}

TEST_F(BasicModelTest, TheInitialStateVectorHasEightBytes) {
  EXPECT_EQ(8, model.StateSize());
  EXPECT_EQ(8, model.CompositeStateSize);
  EXPECT_EQ(2, model.ChildStateSizes[0]);
  EXPECT_EQ(4, model.ChildStateSizes[1]);
  // flash_working, ram_working, ram_corrupted, flash_corrupted.
  EXPECT_EQ(shorts({1, 1, 0, 0}), stateOf(model));
}

TEST_F(BasicModelTest, AllThreeCopiesOfTheSharedPlaceReadOneCell) {
  EXPECT_TRUE(model.flash_corrupted->getStored());
  EXPECT_FALSE(flash.flash_corrupted->getStored());
  EXPECT_FALSE(ram.flash_corrupted->getStored());
  EXPECT_EQ(model.flash_corrupted->Value, flash.flash_corrupted->Mark);
  EXPECT_EQ(model.flash_corrupted->Value, ram.flash_corrupted->Mark);
  EXPECT_EQ(model.flash_corrupted->Value, flash.sefi.flash_corrupted_Mark);
  EXPECT_EQ(model.flash_corrupted->Value, flash.power_cycle.flash_corrupted_Mark);
  ram.flash_corrupted->setMark(3);
  EXPECT_EQ(3, flash.flash_corrupted->getMark());
  EXPECT_EQ(3, model.flash_corrupted->getMark());
}

TEST_F(BasicModelTest, AnInterruptOfTheFlashIsSeenByTheRamModelAndTheJoin) {
  flash.sefi.Fire();
  EXPECT_EQ(1, ram.flash_corrupted->getMark());
  EXPECT_EQ(1, model.flash_corrupted->getMark());
  EXPECT_EQ(shorts({0, 1, 0, 1}), stateOf(model));
  // No RAM predicate reads flash_corrupted; the flash's power cycle reads it
  // through its cached pointer, so a change made on the RAM side reaches it.
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
  EXPECT_EQ(1, ram.flash_corrupted->getMark());
  EXPECT_TRUE(model.CompareState(&loaded[0], &stateOf(model)[0]));
}

TEST_F(BasicModelTest, TheEnabledActivitiesOfTheInitialMarking) {
  std::set<std::string> enabled;
  for (int i = 0; i < model.NumActions; i++) {
    if (model.Actions[i]->Enabled()) {
      enabled.insert(model.Actions[i]->Name);
    }
  }
  EXPECT_EQ(
      (std::set<std::string>{"seu_case1", "seu_case2", "sefi", "random_failure", "bit_error_case1",
                             "bit_error_case2", "page_error_case1", "page_error_case2"}),
      enabled);
}

TEST_F(BasicModelTest, GroupsAreNumberedFlashFirstThenRam) {
  EXPECT_EQ(0, flash.seu_case1.GroupID);
  EXPECT_EQ(0, flash.seu_case2.GroupID);
  EXPECT_EQ(1, flash.sefi.GroupID);
  EXPECT_EQ(2, flash.power_cycle.GroupID);
  EXPECT_EQ(3, ram.watchdog_reboot.GroupID);
  EXPECT_EQ(4, ram.random_failure.GroupID);
  EXPECT_EQ(5, ram.bit_error_case1.GroupID);
  EXPECT_EQ(5, ram.bit_error_case2.GroupID);
  EXPECT_EQ(6, ram.page_error_case1.GroupID);
  EXPECT_EQ(6, ram.page_error_case2.GroupID);
  for (int i = 0; i < model.NumActions; i++) {
    BaseActionClass* action = model.Actions[i];
    EXPECT_TRUE(model.Groups[action->GroupID] == action ||
                model.Groups[action->GroupID]->IsAMember(action))
        << action->Name;
  }
}

TEST_F(BasicModelTest, CaseProbabilitiesFollowTheGlobalVariables) {
  ram_size = 512;
  BaseGroupClass* bitErrors = model.Groups[ram.bit_error_case2.GroupID];
  EXPECT_EQ(1.0, bitErrors->Probability(&ram.bit_error_case2));
  EXPECT_EQ(0.0, bitErrors->Probability(&ram.bit_error_case1));
  BaseGroupClass* pageErrors = model.Groups[ram.page_error_case1.GroupID];
  EXPECT_EQ(0.75, pageErrors->Probability(&ram.page_error_case1));
  EXPECT_EQ(0.25, pageErrors->Probability(&ram.page_error_case2));
  flash_size = 256;
  EXPECT_EQ(0.5, model.Groups[0]->Probability(&flash.seu_case2));
}

TEST_F(BasicModelTest, RamFailuresAccumulateAndTheWatchdogRestores) {
  ram.random_failure.Fire();
  ram.bit_error_case2.Fire();
  EXPECT_EQ(shorts({1, 0, 2, 0}), stateOf(model));
  EXPECT_FALSE(ram.page_error_case2.Enabled());
  ram.watchdog_reboot.Fire();
  EXPECT_EQ(shorts({1, 1, 0, 0}), stateOf(model));
}

TEST_F(BasicModelTest, TheSharedPlaceCarriesTheFlashArcs) {
  std::vector<BaseActionClass*> affecting(model.flash_corrupted->getAffectingActions()->getList(),
                                          model.flash_corrupted->getAffectingActions()->getList() +
                                              model.flash_corrupted->getNumAffectingActions());
  EXPECT_EQ((std::vector<BaseActionClass*>{&flash.seu_case2, &flash.sefi, &flash.power_cycle}),
            affecting);
  EXPECT_EQ(1, model.flash_corrupted->getNumEnabledActions());
  EXPECT_TRUE(flash.sefi.AffectedSVs.contains(model.flash_corrupted));
  EXPECT_FALSE(flash.sefi.AffectedSVs.contains(flash.flash_corrupted));
  EXPECT_TRUE(flash.power_cycle.EnablingSVs.contains(model.flash_corrupted));
}

TEST_F(BasicModelTest, OnlyFlashActivitiesTouchTheSharedPlace) {
  std::forward_list<BaseActionClass*> flashGlobal;
  std::forward_list<BaseActionClass*> flashLocal;
  std::forward_list<BaseActionClass*> ramGlobal;
  flash.GetGlobalActions(flashGlobal);
  flash.GetLocalActions(flashLocal);
  ram.GetGlobalActions(ramGlobal);
  EXPECT_EQ((std::set<std::string>{"seu_case2", "sefi", "power_cycle"}), namesOf(flashGlobal));
  EXPECT_EQ((std::set<std::string>{"seu_case1"}), namesOf(flashLocal));
  EXPECT_TRUE(ramGlobal.empty());
}

TEST_F(BasicModelTest, TheSharingRecordsLeadBackToTheJoinsPlace) {
  EXPECT_EQ(model.flash_corrupted, model.getMainSharedVariable(ram.flash_corrupted));
  SharedStateVarLink* chain = model.getListOfSharedVariables(model.flash_corrupted);
  ASSERT_NE(nullptr, chain);
  EXPECT_EQ(flash.flash_corrupted, chain->StateVariable);
  EXPECT_EQ(&flash, chain->Model);
  ASSERT_NE(nullptr, chain->Next);
  EXPECT_EQ(ram.flash_corrupted, chain->Next->StateVariable);

  List<BaseStateVariableClass> svs;
  List<BaseModelClass> models;
  model.listSVs("ram_system", "flash_corrupted", &svs, &models);
  ASSERT_EQ(1, svs.getNumItems());
  EXPECT_EQ(ram.flash_corrupted, svs[0]);
  EXPECT_EQ(&ram, models[0]);
}

TEST(BasicModelLifetimeTest, BuildingAndDeletingTheModelReleasesEverything) {
  std::unique_ptr<basic_modelRJ> model(new basic_modelRJ);
  model->flash_system->sefi.Fire();
  EXPECT_EQ(1, model->ram_system->flash_corrupted->getMark());
  model.reset();
  // A second model is independent of the first.
  basic_modelRJ second;
  EXPECT_EQ(0, second.ram_system->flash_corrupted->getMark());
}

}  // namespace
