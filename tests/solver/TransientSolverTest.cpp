// Transient values against closed forms: the two-state chain (also stiff,
// where it has long become stationary) and a three-state chain by hand;
// the iterations forwards and backwards against each other.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
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

// A chain of n states with uneven rows (one to a dozen transitions, to
// states near and far, at a few distinct rates, or at a rate of each
// state's own) and three variables of either sign.
solver::MarkovChain unevenChain(std::uint32_t n, bool ownRates = false) {
  std::mt19937 random(7);
  std::vector<solver_test::Rate> rates;
  const double distinct[] = {0.5, 1.0, 2.5, 4.0};
  for (std::uint32_t s = 0; s < n; s++) {
    const std::uint32_t count = 1 + random() % 12;
    for (std::uint32_t i = 0; i < count; i++) {
      const std::uint32_t to = i % 2 == 0 ? (s + 1 + random() % 5) % n : random() % n;
      if (to != s) {
        rates.push_back({s, to, ownRates ? 0.5 + 0.01 * s : distinct[random() % 4]});
      }
    }
  }
  std::vector<std::vector<double>> variables(3, std::vector<double>(n));
  for (std::uint32_t s = 0; s < n; s++) {
    variables[0][s] = s % 3;
    variables[1][s] = s % 2 == 0 ? -2.5 : 1.0;
    variables[2][s] = s == 0 ? 1.0 : 0.0;
  }
  return chainOf(n, rates, variables);
}

// Sizes that leave the last slice of eight rows short, at instants and over
// intervals (from 0 and not, summed and averaged): both ways agree within
// their bounds, each within the bound asked (times the length of a summed
// interval, whose rounding grows with its value). With more distinct
// rates than the forward iteration's table holds, it leaves the chain to
// the backward one.
TEST(TransientSolverTest, ForwardsAndBackwardsAgree) {
  for (std::uint32_t n : {5u, 203u, 1002u, 400u}) {
    SCOPED_TRACE("n = " + std::to_string(n));
    const solver::MarkovChain chain = unevenChain(n, n == 400);
    std::vector<solver::TransientMeasure> measures;
    for (std::size_t v = 0; v < 3; v++) {
      for (double t : {0.0, 0.3, 2.0, 40.0}) {
        measures.push_back({v, t, t, false});
      }
      measures.push_back({v, 0.0, 3.0, false});
      measures.push_back({v, 1.5, 30.0, false});
      measures.push_back({v, 1.5, 30.0, true});
    }
    solver::TransientSettings settings;
    settings.direction = solver::TransientDirection::kForward;
    const auto forwards = solver::transientMeasures(chain, measures, settings);
    settings.direction = solver::TransientDirection::kBackward;
    const auto backwards = solver::transientMeasures(chain, measures, settings);
    for (std::size_t m = 0; m < measures.size(); m++) {
      SCOPED_TRACE("measure " + std::to_string(m));
      const Estimate& f = forwards.estimates[m];
      const Estimate& b = backwards.estimates[m];
      EXPECT_NEAR(b.value, f.value, f.error + b.error);
      const bool summed = measures[m].start != measures[m].stop && !measures[m].average;
      const double bound = 1e-10 * (summed ? measures[m].stop - measures[m].start : 1.0);
      EXPECT_LE(f.error, bound);
      EXPECT_LE(b.error, bound);
    }
  }
}

// Forwards, the interval availability of the two-state chain:
// the integral of p0 over [a, b] is mu / s (b - a) + lambda / s^2
// (e^-s a - e^-s b), s = lambda + mu.
TEST(TransientSolverTest, ForwardsTheIntervalAvailabilityOfTheTwoStateChain) {
  const double lambda = 2, mu = 3, s = lambda + mu;
  const solver::MarkovChain chain = chainOf(2, {{0, 1, lambda}, {1, 0, mu}}, {{1, 0}, {0, 1}});
  const double a = 0.25, b = 4;
  const std::vector<solver::TransientMeasure> measures = {{0, a, b, false}, {1, a, b, true}};
  solver::TransientSettings settings;
  settings.direction = solver::TransientDirection::kForward;
  const auto found = solver::transientMeasures(chain, measures, settings);
  const double up = mu / s * (b - a) + lambda / (s * s) * (std::exp(-s * a) - std::exp(-s * b));
  expectValue(up, found.estimates[0]);
  expectValue(1 - up / (b - a), found.estimates[1]);
}

// With two variables the iteration starts forwards; a stiff chain settles
// long before its window (q t = 4e9), which only the backward iteration
// can tell, so it hands over and still stops within a few hundred steps.
TEST(TransientSolverTest, AStiffChainWithTwoVariablesHandsOverToTheBackwardIteration) {
  const solver::MarkovChain chain = chainOf(2, {{0, 1, 1e6}, {1, 0, 3e6}}, {{1, 0}, {0, 1}});
  solver::UniformizationSteps steps;
  const auto estimates = solver::transientRewards(chain, {1000.0}, 1e-10, 1000000, &steps);
  expectValue(0.75, estimates[0][0]);
  expectValue(0.25, estimates[0][1]);
  EXPECT_LT(steps.taken, 1000u);
}

}  // namespace
