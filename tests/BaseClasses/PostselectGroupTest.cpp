#include <gtest/gtest.h>

#include "Cpp/BaseClasses/PostselectGroup.h"
#include "tests/BaseClasses/TestActivities.h"

namespace {

using group_test::FixedSampler;
using group_test::TestActivity;

TEST(PostselectGroupTest, FiringSelectsACaseAndFiresIt) {
  FixedSampler sampler;
  TestActivity first("first"), second("second");
  first.weight = 0.75;
  second.weight = 0.25;
  PostselectGroup group;
  group.initialize(2, "bit_errorGroup");
  group.appendGroup(&first);
  group.appendGroup(&second);
  EXPECT_EQ(1.0, group.Weight());

  sampler.draw->next = 0.8;
  EXPECT_EQ(&second, group.Fire());
  EXPECT_EQ(1, second.firings);
  sampler.draw->next = 0.1;
  EXPECT_EQ(&first, group.Fire());

  first.predicate = second.predicate = false;
  EXPECT_EQ(nullptr, group.Fire());
  EXPECT_EQ(1, first.firings);
}

}  // namespace
