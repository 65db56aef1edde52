#include <gtest/gtest.h>

#include "Cpp/BaseClasses/Activity.h"
#include "tests/BaseClasses/TestActivities.h"

namespace {

using group_test::TestActivity;

TEST(ActivityTest, IsItsOwnOnlyCaseAndComparesEnablingWithTheEvaluationBefore) {
  TestActivity a("a");
  TestActivity b("b");
  EXPECT_EQ(1.0, a.Probability(&a));
  EXPECT_EQ(0.0, a.Probability(&b));

  a.Enabled();
  EXPECT_FALSE(a.EnablingChange());  // true, then true again
  b.predicate = false;
  b.Enabled();
  b.predicate = true;
  EXPECT_TRUE(b.EnablingChange());
  EXPECT_FALSE(b.EnablingChange());
  b.predicate = false;
  EXPECT_FALSE(b.SelectAction());
}

}  // namespace
