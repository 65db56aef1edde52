#include <gtest/gtest.h>

#include "Cpp/BaseClasses/Activity.h"
#include "Cpp/BaseClasses/state/Place.h"
#include "tests/BaseClasses/TestActivities.h"

namespace {

using group_test::TestActivity;

TEST(ActivityTest, IsItsOwnSelectionAndItsOnlyCase) {
  TestActivity a("a");
  TestActivity b("b");
  EXPECT_EQ(&a, a.SelectedAction);
  EXPECT_EQ(1.0, a.Probability(&a));
  EXPECT_EQ(0.0, a.Probability(&b));
  EXPECT_TRUE(a.Disabled);
  EXPECT_FALSE(a.Reactivation);
  a.setGroupId(4);
  EXPECT_EQ(4, a.GroupID);
  a.predicate = false;
  EXPECT_FALSE(a.SelectAction());
}

TEST(ActivityTest, EnablingChangeComparesWithTheEvaluationBefore) {
  TestActivity steady("steady");
  steady.Enabled();
  EXPECT_FALSE(steady.EnablingChange());  // true, then true again

  TestActivity turning("turning");
  turning.predicate = false;
  turning.Enabled();
  turning.predicate = true;
  EXPECT_TRUE(turning.EnablingChange());
  EXPECT_FALSE(turning.EnablingChange());
}

TEST(ActivityTest, KnowsTheVariablesItAffects) {
  TestActivity a("a");
  Place p("p");
  Place q("q");
  a.addAffectedSV(&p);
  EXPECT_TRUE(a.IsAnAffectingStateVariable(&p));
  EXPECT_FALSE(a.IsAnAffectingStateVariable(&q));
}

}  // namespace
