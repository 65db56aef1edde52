#include <gtest/gtest.h>

#include "Cpp/BaseClasses/SingleGroup.h"
#include "tests/BaseClasses/TestActivities.h"

namespace {

using group_test::TestActivity;

const char* kInconsistent =
    "This program has entered into an inconsistant state. Please report this bug.\n";

TEST(SingleGroupTest, AnswersWithItsActionAndReportsSelection) {
  TestActivity a("a"), other("other");
  SingleGroup group(&a);
  EXPECT_EQ(1.0, group.Probability(&a));
  EXPECT_EQ(0.0, group.Probability(&other));
  EXPECT_TRUE(group.Enabled());
  EXPECT_TRUE(group.EnablingChange());
  group.Enabled();
  EXPECT_FALSE(group.EnablingChange());

  testing::internal::CaptureStderr();
  EXPECT_TRUE(group.SelectAction());
  a.predicate = false;
  EXPECT_FALSE(group.SelectAction());
  EXPECT_EQ(std::string(kInconsistent) + kInconsistent, testing::internal::GetCapturedStderr());
}

TEST(EmptyGroupTest, IsTheGroupOfNoAction) {
  TestActivity a("a");
  EmptyGroup group;
  group.SetAction(&a);
  EXPECT_EQ(0, group.NumMembers);
  EXPECT_FALSE(group.Enabled());
  EXPECT_EQ(0.0, group.Probability(&a));
  testing::internal::CaptureStderr();
  EXPECT_FALSE(group.SelectAction());
  EXPECT_EQ(kInconsistent, testing::internal::GetCapturedStderr());
}

}  // namespace
