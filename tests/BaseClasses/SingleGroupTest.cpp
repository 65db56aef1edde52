#include <gtest/gtest.h>

#include "Cpp/BaseClasses/PostselectGroup.h"
#include "Cpp/BaseClasses/SingleGroup.h"
#include "tests/BaseClasses/TestActivities.h"

namespace {

using group_test::TestActivity;

const char* kInconsistent =
    "This program has entered into an inconsistant state. Please report this bug.\n";

TEST(SingleGroupTest, AnswersWithItsAction) {
  TestActivity a("a"), other("other");
  SingleGroup group(&a);
  EXPECT_STREQ("a", group.Name);
  EXPECT_EQ(1, group.NumMembers);
  EXPECT_EQ(&a, group.Members[0]);
  EXPECT_EQ(1.0, group.Probability(&a));
  EXPECT_EQ(0.0, group.Probability(&other));
}

TEST(SingleGroupTest, EnablingChangeComparesTheLastTwoEvaluations) {
  TestActivity a("a");
  SingleGroup group(&a);
  EXPECT_TRUE(group.Enabled());
  EXPECT_TRUE(group.EnablingChange());
  EXPECT_TRUE(group.EnablingChange());  // evaluates nothing
  group.Enabled();
  EXPECT_FALSE(group.EnablingChange());
}

TEST(SingleGroupTest, SelectionReportsAnInconsistentStateAndSelectsTheAction) {
  TestActivity a("a");
  SingleGroup group;
  group.SetAction(&a);
  testing::internal::CaptureStderr();
  EXPECT_TRUE(group.SelectAction());
  a.predicate = false;
  group.SelectedAction = nullptr;
  EXPECT_FALSE(group.SelectAction());
  EXPECT_EQ(std::string(kInconsistent) + kInconsistent, testing::internal::GetCapturedStderr());
  EXPECT_EQ(nullptr, group.SelectedAction);
  EXPECT_FALSE(a.Disabled);
  EXPECT_FALSE(group.Disabled);
}

TEST(EmptyGroupTest, IsTheGroupOfNoAction) {
  TestActivity a("a");
  EmptyGroup group;
  group.SetAction(&a);
  EXPECT_STREQ("ImmediateGroup", group.Name);
  EXPECT_EQ(0, group.GroupID);
  EXPECT_EQ(0, group.NumMembers);
  EXPECT_FALSE(group.Enabled());
  EXPECT_EQ(0.0, group.Probability(&a));
  testing::internal::CaptureStderr();
  EXPECT_FALSE(group.SelectAction());
  EXPECT_EQ(kInconsistent, testing::internal::GetCapturedStderr());
}

}  // namespace
