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

TEST(BaseGroupClassTest, CaseProbabilitiesAreShareOfTheWeights) {
  TestActivity first("first"), second("second");
  first.weight = 0.75;
  second.weight = 0.25;
  PostselectGroup group;
  caseGroup(group, {&first, &second});
  EXPECT_DOUBLE_EQ(0.75, group.Probability(&first));
  EXPECT_DOUBLE_EQ(0.25, group.Probability(&second));

  second.predicate = false;  // a disabled case takes no share
  EXPECT_DOUBLE_EQ(1.0, group.Probability(&first));
}

TEST(BaseGroupClassTest, HigherRanksOutrankLowerOnes) {
  TestActivity low("low"), high1("high1"), high2("high2"), idleHigher("idle");
  low.weight = 5.0;
  high1.rank = high2.rank = 2;
  high1.weight = 1.0;
  high2.weight = 3.0;
  idleHigher.rank = 3;
  idleHigher.predicate = false;
  PostselectGroup group;
  caseGroup(group, {&low, &high1, &high2, &idleHigher});
  EXPECT_EQ(0.0, group.Probability(&low));
  EXPECT_DOUBLE_EQ(0.25, group.Probability(&high1));
  EXPECT_DOUBLE_EQ(0.75, group.Probability(&high2));
}

TEST(BaseGroupClassTest, RankZeroMembersCountWhenNoneRanksHigher) {
  TestActivity a("a"), b("b");
  a.rank = b.rank = 0;
  b.weight = 3.0;
  PostselectGroup group;
  caseGroup(group, {&a, &b});
  EXPECT_DOUBLE_EQ(0.25, group.Probability(&a));
}

TEST(BaseGroupClassTest, WeightsFollowAGlobalVariable) {
  SizedCase keeps("keeps", false), corrupts("corrupts", true);
  PostselectGroup group;
  caseGroup(group, {&keeps, &corrupts});
  test_size = 128;
  EXPECT_DOUBLE_EQ(0.75, group.Probability(&keeps));
  EXPECT_DOUBLE_EQ(0.25, group.Probability(&corrupts));
  test_size = 512;
  EXPECT_DOUBLE_EQ(0.0, group.Probability(&keeps));
  EXPECT_DOUBLE_EQ(1.0, group.Probability(&corrupts));
}

TEST(BaseGroupClassTest, NestedGroupsMultiplyTheirProbabilities) {
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
}

TEST(BaseGroupClassTest, ActionsTheGroupDoesNotHoldHaveNoProbability) {
  TestActivity a("a"), stranger("stranger");
  PostselectGroup empty;
  EXPECT_EQ(0.0, empty.Probability(&a));
  PostselectGroup group;
  caseGroup(group, {&a});
  EXPECT_EQ(0.0, group.Probability(&stranger));
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
  PostselectGroup empty;
  EXPECT_FALSE(empty.Enabled());
}

TEST(BaseGroupClassTest, WeightDistributionKeepsTheHighestRankEnabledMembers) {
  TestActivity off("off"), b("b"), c("c"), d("d"), e("e"), f("f");
  off.predicate = false;
  c.weight = 2.0;
  d.rank = e.rank = 2;
  d.weight = 4.0;
  f.weight = 5.0;
  PostselectGroup group;
  caseGroup(group, {&off, &b, &c, &d, &e, &f});
  EXPECT_DOUBLE_EQ(5.0, group.CalculateWeightDistribution());
  EXPECT_EQ(2, group.MaxRank);
  ASSERT_EQ(2, group.NumWeightEntries);
  EXPECT_EQ(&d, group.WeightDistribution[0].Action);
  EXPECT_DOUBLE_EQ(4.0, group.WeightDistribution[0].CumulativeWeight);
  EXPECT_EQ(&e, group.WeightDistribution[1].Action);
  EXPECT_DOUBLE_EQ(5.0, group.WeightDistribution[1].CumulativeWeight);
  EXPECT_TRUE(off.Disabled);
  EXPECT_TRUE(f.Disabled);
  EXPECT_FALSE(d.Disabled);
  // Members kept before a higher rank appeared keep their cleared flag.
  EXPECT_FALSE(b.Disabled);
  EXPECT_FALSE(c.Disabled);

  for (TestActivity* m : {&b, &c, &d, &e, &f}) {
    m->predicate = false;
  }
  EXPECT_EQ(-1.0, group.CalculateWeightDistribution());
  EXPECT_EQ(2, group.NumWeightEntries);
  EXPECT_TRUE(d.Disabled);
}

TEST(BaseGroupClassTest, SelectionFindsTheMemberWhoseWeightCoversTheDraw) {
  FixedSampler sampler;
  TestActivity a("a"), b("b"), c("c");
  c.weight = 2.0;  // cumulative weights 1, 2, 4
  PostselectGroup group;
  caseGroup(group, {&a, &b, &c});
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
}

TEST(BaseGroupClassTest, SelectionDescendsIntoNestedGroups) {
  FixedSampler sampler;
  TestActivity a("a"), g0("g0"), g1("g1");
  PostselectGroup inner;
  caseGroup(inner, {&g0, &g1});
  PostselectGroup outer;
  outer.initialize(2, "outer");
  outer.appendGroup(&a);
  outer.appendGroup(&inner);
  sampler.draw->next = 0.75;  // the inner group, then its second member
  ASSERT_TRUE(outer.SelectAction());
  EXPECT_EQ(&g1, outer.SelectedAction);
  EXPECT_DOUBLE_EQ(1.0, outer.Weight());
  EXPECT_EQ(2.0, outer.Rate());
  EXPECT_EQ(&g1, outer.BaseGroupClass::Fire());
  EXPECT_EQ(1, g1.firings);
  EXPECT_EQ(nullptr, outer.SelectedAction);
}

TEST(BaseGroupClassTest, NoSelectionWithoutAnEnabledMember) {
  FixedSampler sampler;
  TestActivity a("a"), b("b");
  PostselectGroup group;
  caseGroup(group, {&a, &b});
  sampler.draw->next = 0.0;
  ASSERT_TRUE(group.SelectAction());
  a.predicate = b.predicate = false;
  EXPECT_FALSE(group.SelectAction());
  EXPECT_EQ(&a, group.SelectedAction);
  EXPECT_EQ(2, sampler.draw->draws);  // drawn before anything else
}

TEST(BaseGroupClassTest, WithoutSelectionTheGroupHasNoValues) {
  BaseGroupClass group;
  EXPECT_EQ(0.0, group.Weight());
  EXPECT_EQ(0.0, group.Rate());
  EXPECT_EQ(0, group.Rank());
  EXPECT_EQ(0.0, group.SampleDistribution());
  EXPECT_EQ(nullptr, group.Fire());
  EXPECT_EQ(&group, group.getPrintedAction());
}

TEST(BaseGroupClassTest, AppendGroupGrowsByOneWhenFull) {
  TestActivity a("a"), b("b"), c("c");
  PostselectGroup group;
  group.initialize(2, "g");
  EXPECT_STREQ("g", group.Name);
  group.appendGroup(&a);
  BaseActionClass** before = group.Members;
  group.appendGroup(&b);
  EXPECT_EQ(before, group.Members);
  EXPECT_EQ(2, group.Capacity);
  group.appendGroup(&c);
  EXPECT_EQ(3, group.Capacity);
  ASSERT_EQ(3, group.NumMembers);
  EXPECT_EQ(&a, group.Members[0]);
  EXPECT_EQ(&c, group.Members[2]);
  EXPECT_EQ(&a, group.getPrintedAction());
}

TEST(BaseGroupClassTest, MembersCanBeCopiedReplacedAndSet) {
  TestActivity a("a"), b("b"), c("c");
  PostselectGroup source;
  caseGroup(source, {&a, &b});
  PostselectGroup group;
  group.initialize(1, "g");
  group.appendGroup(&c);
  group.appendMembers(&source);
  ASSERT_EQ(3, group.NumMembers);
  EXPECT_EQ(3, group.Capacity);
  EXPECT_EQ(&b, group.Members[2]);

  group.SelectedAction = &a;
  group.replaceMember(&a, &c);
  EXPECT_EQ(&c, group.SelectedAction);
  EXPECT_EQ(&c, group.Members[1]);
  group.setMember(&b, 0);
  EXPECT_EQ(&b, group.Members[0]);

  testing::internal::CaptureStderr();
  group.setMember(&a, 3);
  EXPECT_EQ("Array out of bounds error at Array out of bounds (BaseGroupClass::setMember()\n",
            testing::internal::GetCapturedStderr());
}

TEST(BaseGroupClassTest, GroupIdReachesEveryActivityBelow) {
  TestActivity a("a"), g0("g0");
  PostselectGroup inner;
  caseGroup(inner, {&g0});
  PostselectGroup outer;
  outer.initialize(2, "outer");
  outer.appendGroup(&a);
  outer.appendGroup(&inner);
  outer.GroupID = 9;
  outer.setGroupId(5);
  EXPECT_EQ(5, a.GroupID);
  EXPECT_EQ(5, g0.GroupID);
  EXPECT_EQ(9, outer.GroupID);
}

TEST(BaseGroupClassTest, PrintGroupLabelsNestedMembers) {
  TestActivity a("a"), g0("g0"), g1("g1"), h0("h0");
  PostselectGroup g;
  caseGroup(g, {&g0, &g1});
  g.defineName("g");
  PostselectGroup h;
  caseGroup(h, {&h0});
  h.defineName("h");
  PostselectGroup top;
  top.initialize(3, "top");
  top.appendGroup(&a);
  top.appendGroup(&g);
  top.appendGroup(&h);
  testing::internal::CaptureStdout();
  top.printGroup();
  EXPECT_EQ(
      "** Members of Group top\n"
      "[0] a\n"
      "[1] g\n"
      "  [1.0] g0\n"
      "  [1.1] g1\n"
      "[2] h\n",
      testing::internal::GetCapturedStdout());
}

TEST(BaseGroupClassTest, PrintInfoNamesMembersAndSelection) {
  TestActivity a("a"), b("b");
  PostselectGroup group;
  caseGroup(group, {&a, &b});
  testing::internal::CaptureStdout();
  group.PrintInfo();
  group.SelectedAction = &b;
  group.PrintInfo();
  EXPECT_EQ(
      "************ Group: caseGroup ****************\n"
      "Contains the following actions:\n"
      "  a\n"
      "  b\n"
      "Selected Action = none\n"
      "************ Group: caseGroup ****************\n"
      "Contains the following actions:\n"
      "  a\n"
      "  b\n"
      "Selected Action = b\n",
      testing::internal::GetCapturedStdout());
}

}  // namespace
