#include <gtest/gtest.h>

#include <cstring>

#include "Cpp/BaseClasses/BaseActionClass.h"
#include "Cpp/BaseClasses/BaseModelClass.h"
#include "Cpp/BaseClasses/state/BaseStateVariableClass.h"
#include "tests/BaseClasses/StubModel.h"

namespace {

class StubVariable : public BaseStateVariableClass {
 public:
  explicit StubVariable(const char* name) : BaseStateVariableClass(name, "") {}
  int StateSize() override { return 0; }
  void SetState(void*) override {}
  void CurrentState(void*) override {}
  void share(BaseStateVariableClass*) override {}
};

TEST(BaseModelClassTest, ModelsAreNumberedInConstructionOrder) {
  StubModel first;
  StubModel second;
  EXPECT_EQ(first.ModelId + 1, second.ModelId);
  EXPECT_EQ(BaseModelClass::globalModelId, second.ModelId);
  EXPECT_EQ(second.ModelId, second.ParentId);
  second.SetParentId(first.ModelId);
  EXPECT_EQ(first.ModelId, second.ParentId);
}

TEST(BaseModelClassTest, DefineNameReplacesTheNameWithACopy) {
  StubModel model;
  EXPECT_EQ(nullptr, model.Name);
  char name[] = "flash";
  model.DefineName(name);
  name[0] = 'x';
  EXPECT_STREQ("flash", model.Name);
  model.DefineName("ram");
  EXPECT_STREQ("ram", model.Name);
}

TEST(BaseModelClassTest, ArcsAreRecordedOnBothEnds) {
  StubModel model;
  StubVariable place("p");
  BaseActionClass action;
  model.AddAffectArc(&place, &action);
  model.AddEnableArc(&place, &action);
  ASSERT_EQ(1, place.getNumAffectingActions());
  EXPECT_EQ(&action, place.getAffectingAction(0));
  ASSERT_EQ(1, place.getNumEnabledActions());
  EXPECT_EQ(&action, place.getEnabledAction(0));
  EXPECT_TRUE(action.AffectedSVs.contains(&place));
  EXPECT_TRUE(action.EnablingSVs.contains(&place));
}

TEST(BaseModelClassDeathTest, BaseSlotsThatMustBeOverriddenEndTheProgram) {
  StubModel model;
  std::forward_list<BaseActionClass*> actions;
  State* state = nullptr;
  const char* report = "Assertion failed: false, file BaseModelClass.cpp";
  EXPECT_DEATH(model.GetModelType(), report);
  EXPECT_DEATH(model.GetNumberOfChildren(), report);
  EXPECT_DEATH(model.GetChild(0), report);
  EXPECT_DEATH(model.GetLocalActions(actions), report);
  EXPECT_DEATH(model.GetGlobalActions(actions), report);
  EXPECT_DEATH(model.HasLocalState(), report);
  EXPECT_DEATH(model.GetLocalState(state), report);
  EXPECT_DEATH(model.SetLocalState(state), report);
  EXPECT_DEATH(model.ConstructLocalState(state), report);
  EXPECT_DEATH(model.DestructLocalState(state), report);
}

}  // namespace
