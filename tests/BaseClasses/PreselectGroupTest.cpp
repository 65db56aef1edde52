#include <gtest/gtest.h>

#include "Cpp/BaseClasses/PreselectGroup.h"
#include "tests/BaseClasses/TestActivities.h"

namespace {

using group_test::FixedSampler;
using group_test::TestActivity;

TEST(PreselectGroupTest, SelectsOnTheFirstQuestionAndKeepsTheSelection) {
  FixedSampler sampler;
  TestActivity a("a"), b("b");
  b.rank = 2;
  PreselectGroup group(2);
  EXPECT_EQ(0, group.NumMembers);
  group.appendGroup(&a);
  group.appendGroup(&b);
  EXPECT_TRUE(group.SelectionPending);

  EXPECT_EQ(2, group.Rank());  // selects b, the only member of rank 2
  EXPECT_FALSE(group.SelectionPending);
  EXPECT_EQ(1, sampler.draw->draws);
  EXPECT_EQ(2, group.Rank());
  EXPECT_EQ(1, sampler.draw->draws);

  EXPECT_EQ(&b, group.Fire());
  EXPECT_TRUE(group.SelectionPending);
  EXPECT_EQ(&b, group.SelectedAction);
  EXPECT_TRUE(group.Enabled());
  EXPECT_EQ(2, sampler.draw->draws);
}

TEST(PreselectGroupTest, StaysPendingWhileNoMemberIsEnabled) {
  FixedSampler sampler;
  TestActivity a("a");
  a.predicate = false;
  PreselectGroup group;
  group.appendGroup(&a);
  EXPECT_EQ(0, group.Rank());
  EXPECT_EQ(0.0, group.SampleDistribution());
  EXPECT_FALSE(group.ReactivationPredicate());
  EXPECT_TRUE(group.SelectionPending);
  EXPECT_EQ(nullptr, group.Fire());
}

}  // namespace
