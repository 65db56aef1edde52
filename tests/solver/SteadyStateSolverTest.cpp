// Long-run values against values by hand: ergodic chains, and chains that
// end in one of several closed classes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

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
solver::MeasureSettings settingsFor(solver::LinearSettings::Method method,
                                    std::uint64_t iterations = 1000000) {
  solver::MeasureSettings settings;
  settings.linear.method = method;
  settings.linear.maxIterations = iterations;
  return settings;
}

const solver::LinearSettings::Method kMethods[] = {solver::LinearSettings::Method::kDirect,
                                                   solver::LinearSettings::Method::kIterative};

// From 0 (which also visits 3) the chain ends in the absorbing state 2 with
// probability 3/4, or in the class {1, 4}, where it spends half its time
// in 4; by either method of solving.
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
  for (const auto method : kMethods) {
    const auto estimates = solver::longRunRewards(chain, settingsFor(method)).estimates;
    expectValue(0.75, estimates[0]);
    expectValue(0.125, estimates[1]);
  }
}

// Birth and death on 0 .. 39, up at 1 and down at 2: pi_i is proportional
// to 2^-i. The bounds hold whatever the solver reached: with jumps of 7
// added (so that its preconditioner is not exact) and two iterations
// allowed, the value is far from converged, yet within its error of the
// factorised solution.
TEST(SteadyStateSolverTest, TheBoundsHoldHoweverFarTheSolverGot) {
  const std::uint32_t n = 40;
  std::vector<solver_test::Rate> rates;
  std::vector<solver_test::Rate> jumping;
  std::vector<double> level;
  double weight = 0;
  double mean = 0;
  for (std::uint32_t i = 0; i < n; i++) {
    if (i + 1 < n) {
      rates.push_back({i, i + 1, 1.0});
    }
    if (i > 0) {
      rates.push_back({i, i - 1, 2.0});
    }
    level.push_back(i);
    weight += std::pow(0.5, i);
    mean += i * std::pow(0.5, i);
  }
  jumping = rates;
  for (std::uint32_t i = 0; i + 7 < n; i++) {
    jumping.push_back({i, i + 7, 0.3});
  }
  const auto bySource = [](auto a, auto b) { return a.from < b.from; };
  std::stable_sort(rates.begin(), rates.end(), bySource);
  std::stable_sort(jumping.begin(), jumping.end(), bySource);
  const solver::MarkovChain chain = chainOf(n, rates, {level}, 7);
  for (const auto method : kMethods) {
    expectValue(mean / weight, solver::longRunRewards(chain, settingsFor(method)).estimates[0]);
  }
  const solver::MarkovChain jumps = chainOf(n, jumping, {level}, 7);
  const solver::Estimate exact =
      solver::longRunRewards(jumps, settingsFor(solver::LinearSettings::Method::kDirect))
          .estimates[0];
  const solver::Estimate early =
      solver::longRunRewards(jumps, settingsFor(solver::LinearSettings::Method::kIterative, 2))
          .estimates[0];
  EXPECT_GT(early.error, 1e-6);
  EXPECT_NEAR(exact.value, early.value, early.error + exact.error);
}

}  // namespace
