// What the checks hand to the code generator: the activity classes and group
// table of an atomic model, the places each activity reads and changes, and
// the experiments of a study.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/compiler/CompileHelpers.h"

namespace {

using compile_helpers::compiled;

TEST(ModelLayoutTest, CasesBecomeActivityClassesOfOneGroup) {
  const sanc::Model model = compiled(
      "atomic a {\n  place p, q, r\n"
      "  activity t rate r  in p  when q > 0\n"
      "    case 0.5:  out q\n"
      "    case 0.5:  do { r = 0; }\n"
      "  activity u rate 1  out r\n}\n");
  const sanc::Atomic& atomic = model.atomics.at(0);
  ASSERT_EQ(3u, atomic.actions.size());
  const sanc::Action& second = atomic.actions[1];
  EXPECT_EQ("t_case2", second.member);
  EXPECT_EQ("tActivity_case2", second.className);
  EXPECT_EQ(2, second.caseNumber);
  EXPECT_EQ(0, second.group);
  EXPECT_EQ(1, atomic.actions[2].group);
  // p by its arc, q by the predicate; p and r change; the rate reads r.
  EXPECT_EQ(std::vector<int>({0, 1}), second.enabling);
  EXPECT_EQ(std::vector<int>({0, 2}), second.affected);
  EXPECT_EQ(std::vector<int>({0, 1, 2}), second.touched);
  EXPECT_EQ(std::vector<int>({0, 1}), atomic.actions[0].affected);
  ASSERT_EQ(2u, atomic.groups.size());
  EXPECT_TRUE(atomic.groups[0].isCaseGroup);
  EXPECT_EQ("tGroup", atomic.groups[0].member);
  EXPECT_EQ("u", atomic.groups[1].member);
  EXPECT_EQ("a_reward", model.rewardName);
  EXPECT_EQ("a_study", model.study.name);
}

// A range needs no spaces around its dots, and a number may have a signed
// exponent.
TEST(ModelLayoutTest, ARangeStudyVariesItsFirstVariableSlowest) {
  const sanc::Model model = compiled(
      "global int a = 7\nglobal float f = 1e-3\nglobal long g = 3\nglobal bool b\n"
      "atomic m {\n}\n"
      "study plan range {\n  g = 1..2\n  a = 10 .. 30 step 10\n}\n");
  EXPECT_EQ("plan", model.study.name);
  ASSERT_EQ(6, model.study.numExperiments);
  EXPECT_EQ(std::vector<std::string>({"10", "20", "30", "10", "20", "30"}), model.study.values[0]);
  EXPECT_EQ(std::vector<std::string>(6, "1e-3f"), model.study.values[1]);
  EXPECT_EQ(std::vector<std::string>({"1L", "1L", "1L", "2L", "2L", "2L"}), model.study.values[2]);
  EXPECT_EQ(std::vector<std::string>(6, "false"), model.study.values[3]);
  EXPECT_EQ(std::vector<std::string>({"7", "1e-3f", "3L", "false"}), model.globalValues);
}

TEST(ModelLayoutTest, JoinsListSharedPlacesInChildOrder) {
  const sanc::Model model = compiled(
      "atomic a {\n  place p\n}\n"
      "join j {\n  first = a, second = a, third = a\n"
      "  share s = third.p, first.p\n}\n"
      "rewards sums {\n  r at 1 = first.p + third.p\n}\n");
  const sanc::Join& join = model.joins.at(0);
  ASSERT_EQ(1u, join.shares.size());
  ASSERT_EQ(2u, join.shares[0].members.size());
  EXPECT_EQ(0, join.shares[0].members[0].child);
  EXPECT_EQ(2, join.shares[0].members[1].child);
  EXPECT_EQ("sums", model.rewardName);
  ASSERT_EQ(2u, model.rewards.at(0).models.size());
  EXPECT_EQ("third", model.rewards[0].models[1].instance);
}

}  // namespace
