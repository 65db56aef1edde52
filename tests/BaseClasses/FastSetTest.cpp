#include <gtest/gtest.h>

#include "Cpp/BaseClasses/FastSet.h"

namespace {

TEST(FastSetTest, BuildsASetAndFreezesItInAscendingOrder) {
  FastSet set;
  EXPECT_TRUE(set.empty());
  EXPECT_TRUE(set.insert(5));
  EXPECT_TRUE(set.insert(1));
  EXPECT_TRUE(set.insert(3));
  EXPECT_FALSE(set.insert(5));
  EXPECT_TRUE(set.find(3));
  EXPECT_FALSE(set.find(4));
  EXPECT_FALSE(set.empty());

  set.NoMoreModifications();
  ASSERT_EQ(3, set.size());
  EXPECT_EQ(1, set[0]);
  EXPECT_EQ(3, set[1]);
  EXPECT_EQ(5, set[2]);

  set.clear();
  EXPECT_EQ(0, set.size());  // still frozen
}

TEST(FastSetTest, EmptySetFreezesToSizeZero) {
  FastSet set;
  set.NoMoreModifications();
  EXPECT_EQ(0, set.size());
}

TEST(FastSetDeathTest, OperationsOnTheWrongRepresentationEndTheProgram) {
  FastSet tree;
  EXPECT_DEATH(tree.size(), "Assertion failed: is_vec_rep, file FastSet");
  EXPECT_DEATH(tree[0], "Assertion failed: is_vec_rep, file FastSet");

  FastSet frozen;
  frozen.NoMoreModifications();
  const char* report = "Assertion failed: !is_vec_rep, file FastSet";
  EXPECT_DEATH(frozen.insert(1), report);
  EXPECT_DEATH(frozen.find(1), report);
  EXPECT_DEATH(frozen.empty(), report);
  EXPECT_DEATH(frozen.NoMoreModifications(), report);
}

}  // namespace
