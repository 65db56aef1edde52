#include <gtest/gtest.h>

#include <cmath>

#include "Cpp/BaseClasses/BaseGroupClass.h"
#include "Cpp/BaseClasses/PostselectGroup.h"
#include "tests/BaseClasses/TestActivities.h"

namespace {

using group_test::FixedSampler;
using group_test::TestActivity;

float test_size;  // a global variable the case weights read

// A case of an activity whose weight depends on test_size, as generated
// case weights do.
class SizedCase : public TestActivity {
 public:
  SizedCase(const char* name, bool corrupts) : TestActivity(name), corrupts(corrupts) {}
  double Weight() override {
    return corrupts ? 0.001953125f * test_size : 1 - 0.001953125f * test_size;
  }

 private:
  bool corrupts;
};

// A group of the given activities, built as generated models build them.
PostselectGroup* caseGroup(PostselectGroup& group, std::initializer_list<TestActivity*> cases) {
  group.initialize(2, "caseGroup");
  for (TestActivity* c : cases) {
    group.appendGroup(c);
  }
  return &group;
}

TEST(BaseGroupClassTest, ProbabilityIsTheWeightShareAmongTheHighestRankEnabled) {
  // low outranked; high1 and high2 share 1 : 3; idle ranks higher but is off.
  TestActivity low("low"), high1("high1"), high2("high2"), idle("idle"), stranger("stranger");
  low.weight = 5.0;
  high1.rank = high2.rank = 2;
  high2.weight = 3.0;
  idle.rank = 3;
  idle.predicate = false;
  PostselectGroup group;
  caseGroup(group, {&low, &high1, &high2, &idle});
  EXPECT_EQ(0.0, group.Probability(&low));
  EXPECT_DOUBLE_EQ(0.25, group.Probability(&high1));
  EXPECT_DOUBLE_EQ(0.75, group.Probability(&high2));
  EXPECT_EQ(0.0, group.Probability(&stranger));
  high2.predicate = false;
  EXPECT_DOUBLE_EQ(1.0, group.Probability(&high1));

  // Rank 0 members count when none ranks higher.
  TestActivity a("a"), b("b");
  a.rank = b.rank = 0;
  b.weight = 3.0;
  PostselectGroup zeroRank;
  caseGroup(zeroRank, {&a, &b});
  EXPECT_DOUBLE_EQ(0.25, zeroRank.Probability(&a));
}

TEST(BaseGroupClassTest, NestedGroupsMultiplyProbabilitiesAndSelectThrough) {
  FixedSampler sampler;
  TestActivity a("a"), g0("g0"), g1("g1");
  g1.weight = 3.0;
  PostselectGroup inner;
  caseGroup(inner, {&g0, &g1});
  PostselectGroup outer;
  outer.initialize(2, "outer");
  outer.appendGroup(&a);
  outer.appendGroup(&inner);  // a postselect group weighs 1.0
  EXPECT_DOUBLE_EQ(0.5, outer.Probability(&a));
  EXPECT_DOUBLE_EQ(0.125, outer.Probability(&g0));
  EXPECT_DOUBLE_EQ(0.375, outer.Probability(&g1));

  sampler.draw->next = 0.9;  // the inner group, then its second member
  ASSERT_TRUE(outer.SelectAction());
  EXPECT_EQ(&g1, outer.SelectedAction);
  EXPECT_EQ(&g1, outer.BaseGroupClass::Fire());
  EXPECT_EQ(1, g1.firings);
  EXPECT_EQ(nullptr, outer.SelectedAction);

  outer.setGroupId(5);
  EXPECT_EQ(5, a.GroupID);
  EXPECT_EQ(5, g1.GroupID);
}

TEST(BaseGroupClassTest, ZeroTotalWeightIsReportedAndTheQuotientKept) {
  TestActivity a("a"), b("b");
  a.weight = b.weight = 0.0;
  PostselectGroup group;
  caseGroup(group, {&a, &b});
  testing::internal::CaptureStdout();
  double p = group.Probability(&a);
  EXPECT_EQ("BaseGroupClass::Probability() TotalWeight is zero.\n",
            testing::internal::GetCapturedStdout());
  EXPECT_TRUE(std::isnan(p));
}

TEST(BaseGroupClassTest, EveryMemberIsEvaluatedWithoutStoppingEarly) {
  TestActivity a("a"), b("b");
  PostselectGroup group;
  caseGroup(group, {&a, &b});
  EXPECT_TRUE(group.Enabled());
  EXPECT_EQ(1, b.evaluations);
  EXPECT_FALSE(group.EnablingChange());
  EXPECT_EQ(2, b.evaluations);
  a.predicate = b.predicate = false;
  EXPECT_FALSE(group.Enabled());
}

TEST(BaseGroupClassTest, SelectActionPicksTheMemberWhoseWeightCoversTheDraw) {
  FixedSampler sampler;
  TestActivity a("a"), b("b"), c("c"), outranked("outranked");
  c.weight = 2.0;  // cumulative weights 1, 2, 4
  outranked.rank = 0;
  PostselectGroup group;
  caseGroup(group, {&a, &outranked, &b, &c});
  struct {
    double u;
    BaseActionClass* expected;
  } cases[] = {{0.0, &a}, {0.2, &a}, {0.25, &b}, {0.49, &b}, {0.5, &c}, {0.99, &c}, {1.0, &c}};
  for (const auto& draw : cases) {
    sampler.draw->next = draw.u;
    ASSERT_TRUE(group.SelectAction());
    EXPECT_EQ(draw.expected, group.SelectedAction) << "u = " << draw.u;
  }
  EXPECT_EQ(7, sampler.draw->draws);

  // Without an enabled member nothing is selected, but a draw is made; a
  // draw of 0 must not select from the entries of the last evaluation.
  a.predicate = b.predicate = c.predicate = outranked.predicate = false;
  sampler.draw->next = 0.0;
  EXPECT_FALSE(group.SelectAction());
  EXPECT_EQ(&c, group.SelectedAction);
  EXPECT_EQ(8, sampler.draw->draws);
}

}  // namespace
