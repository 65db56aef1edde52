// Transient values against closed forms: the two-state chain (also stiff,
// where it has long become stationary) and a three-state chain by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "solver/TransientSolver.h"
#include "tests/solver/Chains.h"

namespace {

using solver::Estimate;
using solver_test::chainOf;

// Value within its error, and the error within the bound.
void expectValue(double exact, const Estimate& estimate, double epsilon = 1e-10) {
  EXPECT_NEAR(exact, estimate.value, estimate.error);
  EXPECT_LE(estimate.error, epsilon);
}

// p0(t) = mu / (lambda + mu) + lambda / (lambda + mu) e^-(lambda + mu) t,
// starting in state 0; a second variable holds state 1's probability.
TEST(TransientSolverTest, TheTwoStateChainFollowsItsClosedForm) {
  const double lambda = 2, mu = 3;
  const solver::MarkovChain chain = chainOf(2, {{0, 1, lambda}, {1, 0, mu}}, {{1, 0}, {0, 1}});
  const std::vector<double> times = {0, 0.05, 0.5, 1, 4};
  const auto estimates = solver::transientRewards(chain, times, 1e-10, 1000000);
  for (std::size_t t = 0; t < times.size(); t++) {
    SCOPED_TRACE("t = " + std::to_string(times[t]));
    const double p0 =
        mu / (lambda + mu) + lambda / (lambda + mu) * std::exp(-(lambda + mu) * times[t]);
    expectValue(p0, estimates[t][0]);
    expectValue(1 - p0, estimates[t][1]);
  }
}

// Rates in the millions at t = 1000 make q t about 3e9: the values must come
// from the detected stationarity, within a few hundred steps.
TEST(TransientSolverTest, AStiffChainStopsOnceStationary) {
  const solver::MarkovChain chain = chainOf(2, {{0, 1, 1e6}, {1, 0, 3e6}}, {{1, 0}});
  solver::UniformizationSteps steps;
  const auto estimates = solver::transientRewards(chain, {1000.0}, 1e-10, 1000, &steps);
  expectValue(0.75, estimates[0][0]);
  EXPECT_GT(steps.needed, 3000000000u);
  EXPECT_LT(steps.taken, 100u);
  // A chain that settles at once needs no window, however far its time
  // (q t = 3e306 here): only steps the iteration reaches are limited.
  expectValue(0.75, solver::transientRewards(chain, {1e300}, 1e-10, 1000)[0][0]);
  // Here the long-run value, 0, lies between the state values -100 and 1
  // scaled alike, so the midpoint of their spread, which the remaining
  // Poisson mass takes, is within half the bound of it (the low end would
  // be nearly the whole bound away).
  const solver::MarkovChain lopsided = chainOf(2, {{0, 1, 1e6}, {1, 0, 1e4}}, {{-100, 1}});
  const double settled = solver::transientRewards(lopsided, {1000.0}, 1e-10, 1000)[0][0].value;
  EXPECT_LE(std::fabs(settled), 0.5e-10);
}

// Two absorbing states with different rewards never agree, so every step
// the Poisson window reaches is taken: a limit of exactly that many is
// enough. P(in 1 at t) = (1 - e^-2t) / 2.
TEST(TransientSolverTest, TheStepLimitAllowsExactlyTheStepsNeeded) {
  const solver::MarkovChain chain = chainOf(3, {{0, 1, 1}, {0, 2, 1}}, {{0, 1, 0}});
  solver::UniformizationSteps steps;
  const auto unlimited = solver::transientRewards(chain, {1.0}, 1e-10, 1000000, &steps);
  expectValue((1 - std::exp(-2.0)) / 2, unlimited[0][0]);
  EXPECT_EQ(steps.needed, steps.taken);
  const auto limited = solver::transientRewards(chain, {1.0}, 1e-10, steps.needed);
  EXPECT_EQ(unlimited[0][0].value, limited[0][0].value);
  try {
    solver::transientRewards(chain, {1.0}, 1e-10, steps.needed - 1);
    ADD_FAILURE() << "one step short of the limit";
  } catch (const solver::SolveError& error) {
    EXPECT_EQ("uniformization needs " + std::to_string(steps.needed) +
                  " steps to reach the last time point and did not become stationary within "
                  "the limit of " +
                  std::to_string(steps.needed - 1) + " (-m)",
              error.what());
  }
}

// 0 -a-> 1 -b-> 2: P1(t) = a / (b - a) (e^-at - e^-bt),
// P2(t) = 1 - (b e^-at - a e^-bt) / (b - a).
TEST(TransientSolverTest, AThreeStateChainByHand) {
  const double a = 1, b = 3;
  const solver::MarkovChain chain = chainOf(3, {{0, 1, a}, {1, 2, b}}, {{0, 1, 0}, {0, 0, 1}});
  const std::vector<double> times = {0.7, 2, 60};
  const auto estimates = solver::transientRewards(chain, times, 1e-10, 1000000);
  for (std::size_t i = 0; i < times.size(); i++) {
    const double t = times[i];
    expectValue(a / (b - a) * (std::exp(-a * t) - std::exp(-b * t)), estimates[i][0]);
    expectValue(1 - (b * std::exp(-a * t) - a * std::exp(-b * t)) / (b - a), estimates[i][1]);
  }
}

TEST(TransientSolverTest, RewardsScaleTheBoundAndAChainWithoutTransitionsStays) {
  const solver::MarkovChain chain = chainOf(2, {{0, 1, 2.0}, {1, 0, 3.0}}, {{1000, 0}});
  const auto estimates = solver::transientRewards(chain, {0.5}, 1e-6, 1000000);
  expectValue(1000 * (0.6 + 0.4 * std::exp(-2.5)), estimates[0][0], 1e-6);
  const auto still = solver::transientRewards(chainOf(2, {}, {{7, 0}}), {0, 3}, 1e-10, 10);
  EXPECT_EQ(7.0, still[1][0].value);
  EXPECT_EQ(0.0, still[1][0].error);
}

}  // namespace
