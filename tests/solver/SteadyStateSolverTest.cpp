// Long-run values against values by hand: ergodic chains, and chains that
// end in one of several closed classes.
#include <gtest/gtest.h>

#include "solver/SteadyStateSolver.h"
#include "tests/solver/Chains.h"

namespace {

using solver_test::chainOf;

void expectValue(double exact, const solver::Estimate& estimate) {
  EXPECT_NEAR(exact, estimate.value, estimate.error);
  EXPECT_LE(estimate.error, 1e-10);
}

TEST(SteadyStateSolverTest, ErgodicChainsByHand) {
  // Two states: mu / (lambda + mu).
  expectValue(0.6, solver::steadyStateRewards(chainOf(2, {{0, 1, 2}, {1, 0, 3}}, {{1, 0}}), 1e-10,
                                              1000000)[0]);
  // Birth and death 0 <-> 1 <-> 2 with rates 1, 3 up and 2, 4 down:
  // pi = (8, 4, 3) / 15, so the mean state is 10 / 15.
  const solver::MarkovChain chain =
      chainOf(3, {{0, 1, 1}, {1, 0, 2}, {1, 2, 3}, {2, 1, 4}}, {{0, 1, 2}, {1, 0, 0}});
  const auto estimates = solver::steadyStateRewards(chain, 1e-10, 1000000);
  expectValue(10.0 / 15, estimates[0]);
  expectValue(8.0 / 15, estimates[1]);
}

// From 0 (which also visits 3) the chain ends in the absorbing state 2 with
// probability 3/4, or in the class {1, 4}, where it spends half its time
// in 4.
TEST(SteadyStateSolverTest, ChainsEndingInSeveralClassesWeighThemByTheirChances) {
  const solver::MarkovChain chain =
      chainOf(5, {{0, 1, 1}, {0, 2, 3}, {0, 3, 5}, {1, 4, 1}, {3, 0, 7}, {4, 1, 1}},
              {{0, 0, 1, 0, 0}, {0, 0, 0, 0, 1}});
  std::size_t numBottom = 0;
  const std::vector<std::int64_t> bottom = solver::bottomComponents(chain, numBottom);
  EXPECT_EQ(2u, numBottom);
  EXPECT_EQ(-1, bottom[0]);
  EXPECT_EQ(-1, bottom[3]);
  EXPECT_EQ(bottom[1], bottom[4]);
  EXPECT_NE(bottom[1], bottom[2]);
  const auto estimates = solver::steadyStateRewards(chain, 1e-10, 1000000);
  expectValue(0.75, estimates[0]);
  expectValue(0.125, estimates[1]);
}

TEST(SteadyStateSolverTest, StoppedEarlyTheValueStillLiesWithinItsError) {
  const solver::MarkovChain chain =
      chainOf(3, {{0, 1, 1}, {1, 0, 2}, {1, 2, 3}, {2, 1, 4}}, {{0, 1, 2}});
  const solver::Estimate estimate = solver::steadyStateRewards(chain, 1e-10, 3)[0];
  EXPECT_GT(estimate.error, 1e-10);
  EXPECT_NEAR(10.0 / 15, estimate.value, estimate.error);
}

}  // namespace
