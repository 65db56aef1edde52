#include <gtest/gtest.h>

#include "Cpp/BaseClasses/BaseActionClass.h"
#include "Cpp/BaseClasses/BaseModelClass.h"
#include "Cpp/BaseClasses/state/Place.h"
#include "tests/BaseClasses/StubModel.h"

namespace {

TEST(BaseModelClassTest, ArcsAreRecordedOnBothEndsAndTheNameIsACopy) {
  StubModel model;
  char name[] = "flash";
  model.DefineName(name);
  name[0] = 'x';
  EXPECT_STREQ("flash", model.Name);

  Place place("p");
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

// Slots a concrete model must override end the program, also in a release
// build, naming the expression and the file.
TEST(BaseModelClassDeathTest, BaseSlotsThatMustBeOverriddenEndTheProgram) {
  StubModel model;
  State* state = nullptr;
  const char* report = "Assertion failed: false, file BaseModelClass.cpp";
  EXPECT_DEATH(model.GetModelType(), report);
  EXPECT_DEATH(model.ConstructLocalState(state), report);
}

}  // namespace
