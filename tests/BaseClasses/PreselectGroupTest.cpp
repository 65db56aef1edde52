#include <gtest/gtest.h>

#include "Cpp/BaseClasses/PreselectGroup.h"
#include "tests/BaseClasses/TestActivities.h"

namespace {

using group_test::FixedSampler;
using group_test::TestActivity;

TEST(PreselectGroupTest, SelectsOnTheFirstQuestionAndKeepsTheSelectionUntilFired) {
  FixedSampler sampler;
  TestActivity a("a"), b("b");
  b.rank = 2;
  PreselectGroup group(2);
  group.appendGroup(&a);
  group.appendGroup(&b);

  EXPECT_EQ(2, group.Rank());  // selects b, the only member of rank 2
  EXPECT_EQ(2, group.Rank());
  EXPECT_EQ(1, sampler.draw->draws);
  EXPECT_EQ(&b, group.Fire());
  EXPECT_TRUE(group.SelectionPending);
  EXPECT_EQ(2, group.Rank());
  EXPECT_EQ(2, sampler.draw->draws);

  // Without an enabled member the selection stays pending.
  a.predicate = b.predicate = false;
  PreselectGroup idle;
  idle.appendGroup(&a);
  EXPECT_EQ(0, idle.Rank());
  EXPECT_TRUE(idle.SelectionPending);
  EXPECT_EQ(nullptr, idle.Fire());
}

}  // namespace
