// The ".var" reader: rate rewards by state, impulses noticed, and files of
// another model or state count refused.
#include <gtest/gtest.h>

#include <sstream>

#include "solver/RewardFile.h"
#include "tests/solver/Problems.h"

namespace {

using solver_test::problemOf;

solver::Parsed<solver::StateRewards> read(const std::string& text, std::uint32_t numStates) {
  std::istringstream in(text);
  return solver::readStateRewards(in, "m.var", {"up", "lost"}, numStates);
}

// up earns an impulse in the first state only, lost in the last only: both
// are noticed.
TEST(RewardFileTest, RateRewardsByStateAndVariable) {
  const auto rewards = read("up\nlost\n1\n3\n1\n0\n0\n2\n0\n0.5\n2.5\n1e-07\n", 2);
  ASSERT_EQ("ok", problemOf(rewards));
  EXPECT_EQ((std::vector<double>{1, 0, 0.5, 1e-07}), rewards.value().rate);
  EXPECT_EQ((std::vector<bool>{true, true}), rewards.value().hasImpulses);
  EXPECT_EQ((std::vector<bool>{false, false}),
            read("up\nlost\n1\n0\n1\n0\n0\n", 1).value().hasImpulses);
}

TEST(RewardFileTest, AnotherModelOrStateCountIsRefused) {
  const char kTwoStates[] = "up\nlost\n1\n0\n1\n0\n0\n2\n0\n0\n0\n0\n";
  EXPECT_EQ(
      "m.var:13: the file ends where the record of state 3 (the state space has 3) should "
      "follow: it is truncated",
      problemOf(read(kTwoStates, 3)));
  EXPECT_EQ("m.var:8: unexpected line after the records of all 1 states",
            problemOf(read(kTwoStates, 1)));
  EXPECT_EQ("m.var:2: reward variable \"kept\" where the reward types name \"lost\"",
            problemOf(read("up\nkept\n1\n0\n1\n0\n0\n", 1)));
  EXPECT_EQ("m.var:3: the record of state 1 (the state space has 1) expected",
            problemOf(read("up\nlost\n2\n0\n1\n0\n0\n", 1)));
  EXPECT_EQ("m.var:5: a rate reward expected (a finite number), not \"inf\"",
            problemOf(read("up\nlost\n1\n0\ninf\n0\n0\n", 1)));
}

}  // namespace
