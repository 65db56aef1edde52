#include <gtest/gtest.h>

#include "Cpp/BaseClasses/Activity.h"
#include "Cpp/BaseClasses/PostselectGroup.h"
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

// A case activity whose class leaves out everything but its rank.
class Bare : public Activity {
 public:
  explicit Bare(const char* name) {
    ActivityInitialize(name, 0, Exponential, RaceEnabled, 0, 0, false);
  }
  bool Enabled() override { return true; }
  int Rank() override { return 1; }
  BaseActionClass* Fire() override { return this; }
  void LinkVariables() override {}
};

TEST(ActivityDeathTest, AnOperationTheClassLeavesOutEndsTheRunNamingTheActivity) {
  Bare bare("lazy");
  TestActivity other("other");
  PostselectGroup group;
  group.initialize(2, "cases");
  group.appendGroup(&other);
  group.appendGroup(&bare);
  // The case probability asks every enabled case for its weight.
  EXPECT_EXIT(group.Probability(&other), testing::ExitedWithCode(1),
              "^Error: activity lazy does not define Weight\\(\\)\n$");
  EXPECT_EXIT(bare.Rate(), testing::ExitedWithCode(1), "lazy does not define Rate\\(\\)");
  EXPECT_EXIT(bare.SampleDistribution(), testing::ExitedWithCode(1),
              "lazy does not define SampleDistribution\\(\\)");
  EXPECT_EXIT(bare.Activity::Rank(), testing::ExitedWithCode(1), "lazy does not define Rank\\(\\)");
}

}  // namespace
