// Every kind of reward variable solved from hand-written run files against
// closed forms derived by hand, the same variable asked several ways, and
// the variables the solver refuses.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "solver/Solve.h"
#include "tests/TestFiles.h"
#include "tests/solver/RunWriter.h"

namespace {

using solver_test::HandRun;
using solver_test::Variable;
using test_files::ScratchDir;

class MeasuresTest : public testing::Test {
 protected:
  solver::Parsed<solver::Solution> solve(const HandRun& run, double epsilon = 1e-10) {
    solver_test::writeRun(run, dir.prefix() + "m");
    solver::SolveOptions options;
    options.base = dir.prefix() + "m";
    options.epsilon = epsilon;
    options.longRun = longRun;
    return solver::solve(options);
  }
  // The values in the solution's order.
  std::vector<solver::VariableValue> values(const HandRun& run) {
    const auto solution = solve(run);
    EXPECT_TRUE(solution.ok()) << solution.error().text();
    return solution.ok() ? solution.value().values : std::vector<solver::VariableValue>();
  }
  std::string refusal(const HandRun& run) {
    const auto solution = solve(run);
    return solution.ok() ? "solved" : solution.error().message;
  }

  ScratchDir dir;
  bool longRun = false;
};

void expectValue(double exact, const solver::VariableValue& value, double epsilon = 1e-10) {
  EXPECT_NEAR(exact, value.estimate.value, value.estimate.error) << value.variable;
  EXPECT_LE(value.estimate.error, epsilon) << value.variable;
}

// Up (0) fails at rate l, down (1) is repaired at rate m; s = l + m. The
// availability is A(t) = m/s + l/s e^(-st), so the uptime over [a, b] is
// m/s (b - a) + l/s^2 (e^(-sa) - e^(-sb)), and the expected number of
// repairs over [0, T], an impulse of 1 at rate m while down, is
// m (l/s T - l/s^2 (1 - e^(-sT))).
TEST_F(MeasuresTest, IntervalAvailabilityOfATwoStateRepairableComponent) {
  const double l = 0.1, m = 1.0, s = l + m;
  const auto uptime = [&](double a, double b) {
    return m / s * (b - a) + l / (s * s) * (std::exp(-s * a) - std::exp(-s * b));
  };
  HandRun run{2, {{0, 1, l}, {1, 0, m}}, {}};
  run.variables = {{"available", 2, {{0, 10}, {5, 20}}, {1, 0}, {}},
                   {"uptime", 1, {{0, 10}}, {1, 0}, {}},
                   {"repairs", 1, {{0, 10}}, {0, 0}, {0, m}},
                   {"availability", 0, {{2, 2}}, {1, 0}, {}}};
  const auto found = values(run);
  ASSERT_EQ(5u, found.size());
  expectValue(uptime(0, 10) / 10, found[0]);
  expectValue(uptime(5, 20) / 15, found[1]);
  expectValue(uptime(0, 10), found[2]);
  expectValue(m * (10 - uptime(0, 10)), found[3]);
  expectValue(m / s + l / s * std::exp(-2 * s), found[4]);
}

// M/M/1/K with arrivals at l and service at m, K = 4: in the long run the
// departures, an impulse of 1 at rate m in every state but the empty one,
// come at l (1 - P_block), P_block = rho^K (1 - rho) / (1 - rho^(K+1)); so
// do the accepted arrivals, an impulse at rate l in every state but the full one.
TEST_F(MeasuresTest, ThroughputOfMM1KAsImpulsesOnDepartures) {
  const double l = 2, m = 3, rho = l / m;
  const std::uint32_t k = 4;
  HandRun run{k + 1, {}, {}};
  Variable departures{"departures", 3, {}, std::vector<double>(k + 1, 0.0), {}};
  Variable accepted{"accepted", 3, {}, std::vector<double>(k + 1, 0.0), {}};
  for (std::uint32_t i = 0; i <= k; i++) {
    if (i < k) {
      run.rates.push_back({i, i + 1, l});
    }
    if (i > 0) {
      run.rates.push_back({i, i - 1, m});
    }
    departures.impulses.push_back(i > 0 ? m : 0);
    accepted.impulses.push_back(i < k ? l : 0);
  }
  run.variables = {departures, accepted};
  const double block = std::pow(rho, k) * (1 - rho) / (1 - std::pow(rho, k + 1));
  const auto found = values(run);
  ASSERT_EQ(2u, found.size());
  expectValue(l * (1 - block), found[0]);
  expectValue(l * (1 - block), found[1]);
  EXPECT_EQ("inf", std::string(std::isinf(found[0].time) ? "inf" : "finite"));
}

// Three components failing at l each; the system fails with fewer than
// two. Without repair: 3 -3l-> 2 -2l-> failed, a mean time to failure of
// 1/(3l) + 1/(2l) = 5/(6l), and P(failed by t) = 1 - 3e^(-2lt) + 2e^(-3lt).
// With one repair at m from 2 back to 3: m3 = 1/(3l) + m2 and
// m2 = 1/(2l + m) + m/(2l + m) m3 give m3 = (5l + m) / (6 l^2).
TEST_F(MeasuresTest, MeanTimeToFailureOfTwoOutOfThree) {
  const double l = 0.01, m = 0.5, t = 40;
  HandRun plain{3, {{0, 1, 3 * l}, {1, 2, 2 * l}}, {}};
  plain.variables = {{"mttf", 4, {}, {0, 0, 1}, {}}, {"failed", 5, {{t, t}}, {0, 0, 1}, {}}};
  const auto withoutRepair = values(plain);
  ASSERT_EQ(2u, withoutRepair.size());
  expectValue(5 / (6 * l), withoutRepair[0], 1e-9);
  expectValue(1 - 3 * std::exp(-2 * l * t) + 2 * std::exp(-3 * l * t), withoutRepair[1]);
  HandRun repaired{3, {{0, 1, 3 * l}, {1, 0, m}, {1, 2, 2 * l}}, {}};
  repaired.variables = {{"mttf", 4, {}, {0, 0, 1}, {}}};
  expectValue((5 * l + m) / (6 * l * l), values(repaired)[0], 1e-8);
}

// A mean time is infinite when the chain can avoid the condition for good
// (here by a safe absorbing state reached from 2 up); it is 0 where the
// condition holds at once, and so is the chance it has held by 0.
TEST_F(MeasuresTest, AConditionThatCanBeAvoidedForeverHasAnInfiniteMeanTime) {
  HandRun run{4, {{0, 1, 0.03}, {1, 2, 0.02}, {1, 3, 0.5}}, {}};
  run.variables = {{"mttf", 4, {}, {0, 0, 1, 0}, {}}, {"at_once", 4, {}, {1, 0, 0, 0}, {}},
                   {"by_zero", 5, {{0, 0}}, {1, 0, 0, 0}, {}}};
  const auto solution = solve(run);
  ASSERT_TRUE(solution.ok()) << solution.error().text();
  const auto& found = solution.value().values;
  EXPECT_TRUE(found[0].infinite);
  EXPECT_EQ(0.0, found[1].estimate.value);
  EXPECT_EQ(0.0, found[1].estimate.error);
  EXPECT_EQ(1.0, found[2].estimate.value);
  EXPECT_TRUE(solution.value().withinBound);
  bool noted = false;
  for (const std::string& note : solution.value().notes) {
    noted = noted || note == "mttf: the chain can avoid the condition forever (with positive "
                             "probability), so the mean time until it holds is infinite";
  }
  EXPECT_TRUE(noted);
}

// The queue length of the M/M/1/K queue above asked four ways: the
// accumulated value is the average times the length and adds up over
// adjoining intervals; far from the start, the instant and the average
// over a unit interval are the long-run value (the chain forgets its start
// at the rate of its spectral gap, about 0.1, so at t = 400 within 1e-17).
TEST_F(MeasuresTest, TheSameVariableAskedFourWaysAgrees) {
  const std::vector<std::pair<double, double>> intervals = {{0, 20}, {20, 50}, {0, 50}};
  HandRun run{5, {{0, 1, 2}, {1, 0, 3}, {1, 2, 2}, {2, 1, 3}, {2, 3, 2}, {3, 2, 3}, {3, 4, 2}, {4, 3, 3}},
          {}};
  const std::vector<double> length = {0, 1, 2, 3, 4};
  run.variables = {{"accumulated", 1, intervals, length, {}},
                   {"average", 2, {{20, 50}, {400, 401}}, length, {}},
                   {"instant", 0, {{400, 400}}, length, {}},
                   {"long_run", 3, {}, length, {}}};
  const auto found = values(run);
  ASSERT_EQ(7u, found.size());
  const double longRun = found[6].estimate.value;
  EXPECT_NEAR(found[0].estimate.value + found[1].estimate.value, found[2].estimate.value, 3e-10);
  EXPECT_NEAR(30 * found[3].estimate.value, found[1].estimate.value, 1e-9);
  EXPECT_NEAR(longRun, found[4].estimate.value, 2e-10);
  EXPECT_NEAR(longRun, found[5].estimate.value, 2e-10);
  // pi_i is proportional to (2/3)^i.
  double weight = 0, mean = 0;
  for (int i = 0; i <= 4; i++) {
    weight += std::pow(2.0 / 3, i);
    mean += i * std::pow(2.0 / 3, i);
  }
  expectValue(mean / weight, found[6]);
}

// -s adds the long run to the variables taken at times, none to the others.
TEST_F(MeasuresTest, TheLongRunOfVariablesTakenAtTimes) {
  longRun = true;
  HandRun run{2, {{0, 1, 1}, {1, 0, 3}}, {}};
  run.variables = {{"up", 0, {{1, 1}}, {1, 0}, {}}, {"mttf", 4, {}, {0, 1}, {}}};
  const auto found = values(run);
  ASSERT_EQ(3u, found.size());
  EXPECT_TRUE(std::isinf(found[1].time));
  expectValue(0.75, found[1]);
  expectValue(1.0, found[2]);
}

TEST_F(MeasuresTest, VariablesThatCannotBeEvaluatedAreRefusedNeverGivenAValue) {
  HandRun run{2, {{0, 1, 1}, {1, 0, 3}}, {}};
  const std::string pvtype = dir.prefix() + "m.pvtype";
  run.variables = {{"hits", 0, {{1, 1}}, {0, 0}, {1, 0}}};
  EXPECT_EQ("variable hits has impulse rewards, which an instant-of-time variable (type 0) "
            "cannot use: impulses are earned at instants, so they count over an interval or in "
            "the long run (types 1, 2 and 3)",
            refusal(run));
  run.variables = {{"ready", 4, {}, {0, 0.5}, {}}};
  EXPECT_EQ("variable ready is a mean time to a condition (type 4), but its rate reward in state 2 "
            "is 0.5: a condition is 1 where it holds and 0 elsewhere",
            refusal(run));
  run.variables = {{"odd", 9, {}, {0, 1}, {}}};
  EXPECT_EQ("variable odd has type 9: the solver knows types 0 to 5", refusal(run));
  run.variables = {{"mean", 3, {{1, 1}}, {0, 1}, {}}};
  EXPECT_EQ("variable mean is a long-run variable (type 3), which has no time points, but lists "
            "1 time point",
            refusal(run));
  run.variables = {{"used", 1, {{2, 1}}, {0, 1}, {}}};
  EXPECT_EQ("variable used is taken over intervals, but an interval's start 2 is not before its "
            "stop 1",
            refusal(run));
  // Files written before impulses were solved record them only in .var.
  run.variables = {{"repairs", 1, {{0, 1}}, {0, 1}, {}}};
  solver_test::writeRun(run, dir.prefix() + "m");
  std::ofstream(dir.prefix() + "m.var", std::ios::binary)
      << "repairs\n1\n1\n0\n2\n0\n1\n";
  solver::SolveOptions options;
  options.base = dir.prefix() + "m";
  EXPECT_EQ(dir.prefix() +
                "m.var: variable repairs has impulse rewards, but there is no .imp file with "
                "what they earn: generate the run again",
            solver::solve(options).error().text());
}

// A chain that settles at once needs no window, whatever q t (here 2e12);
// rewards of 1e300 and -1e300 that cancel leave a value whose rounding
// bound says it means nothing, flagged in a note.
TEST_F(MeasuresTest, LongHorizonsAndCancellingRewards) {
  HandRun settled{2, {{0, 1, 1}, {1, 0, 1}}, {}};
  settled.variables = {{"half", 0, {{1e12, 1e12}}, {1, 0}, {}}};
  expectValue(0.5, values(settled)[0]);
  HandRun cancelling{3, {{0, 1, 1}, {0, 2, 1}, {1, 0, 1}, {2, 0, 1}}, {}};
  cancelling.variables = {{"huge", 0, {{5, 5}}, {1, 1e300, -1e300}, {}}};
  const auto solution = solve(cancelling);
  ASSERT_TRUE(solution.ok()) << solution.error().text();
  const solver::VariableValue& huge = solution.value().values[0];
  EXPECT_GT(huge.estimate.error, 1e280);
  EXPECT_FALSE(solution.value().withinBound);
  EXPECT_EQ("huge at 5: rounding may be as large as the value itself (rewards of opposite signs "
            "cancel): it says nothing",
            solution.value().notes.back());
}

}  // namespace
