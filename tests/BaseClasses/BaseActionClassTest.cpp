#include <gtest/gtest.h>

#include "Cpp/BaseClasses/BaseActionClass.h"
#include "tests/BaseClasses/TestActivities.h"

namespace {

using group_test::TestActivity;

TEST(BaseActionClassTest, PhaseCountsErlangPhasesUntilTheLast) {
  BaseActionClass plain;
  EXPECT_TRUE(plain.ReadyToFire());
  plain.Age();
  EXPECT_FALSE(plain.ReadyToFire());
  plain.ResetPhase();
  EXPECT_TRUE(plain.ReadyToFire());

  TestActivity erlang("erlang", Erlang);
  erlang.phases = 3.0;
  EXPECT_FALSE(erlang.ReadyToFire());
  erlang.Age();
  EXPECT_FALSE(erlang.ReadyToFire());
  erlang.Age();
  EXPECT_TRUE(erlang.ReadyToFire());
  erlang.ResetPhase();
  EXPECT_EQ(1, erlang.Phase);
}

}  // namespace
