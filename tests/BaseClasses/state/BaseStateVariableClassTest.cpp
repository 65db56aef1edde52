#include <gtest/gtest.h>

#include "Cpp/BaseClasses/BaseActionClass.h"
#include "Cpp/BaseClasses/state/BaseStateVariableClass.h"
#include "Cpp/BaseClasses/state/Place.h"

namespace {

TEST(BaseStateVariableClassTest, ActionIndexOutOfRangeIsReportedAndGivesNull) {
  Place p("p");
  BaseActionClass action;
  p.appendAffectingAction(&action);
  testing::internal::CaptureStderr();
  EXPECT_EQ(nullptr, p.getAffectingAction(1));
  EXPECT_EQ(nullptr, p.getEnabledAction(0));
  EXPECT_EQ(nullptr, p.getAffectingAction(-1));
  EXPECT_EQ(
      "!! BaseStateVariableClass::getAffectingAction(int):  AffectingAction index out of bounds\n"
      "!! BaseStateVariableClass::getEnabledAction(int):  EnabledAction index out of bounds\n"
      "!! BaseStateVariableClass::getAffectingAction(int):  AffectingAction index out of bounds\n",
      testing::internal::GetCapturedStderr());
}

}  // namespace
