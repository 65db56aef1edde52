// Reward variables solved from hand-written run files: infinite mean times,
// the same variable asked several ways, the long run added by -s, long
// horizons and cancelling rewards, and the variables the solver refuses.
// (The closed-form models are solved end to end in ClosedFormModelsTest.)
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
  // Why the first variable of run was refused; every other variable is
  // solved, and the refused one has no value.
  std::string refusal(const HandRun& run) {
    const auto solution = solve(run);
    if (!solution.ok()) {
      return solution.error().message;
    }
    for (const solver::VariableValue& value : solution.value().values) {
      EXPECT_NE(run.variables[0].name, value.variable);
    }
    EXPECT_EQ(run.variables.size() - 1, solution.value().values.size());
    return solution.value().refused.empty() ? "solved" : solution.value().refused[0].message;
  }

  ScratchDir dir;
  bool longRun = false;
};

void expectValue(double exact, const solver::VariableValue& value, double epsilon = 1e-10) {
  EXPECT_NEAR(exact, value.estimate.value, value.estimate.error) << value.variable;
  EXPECT_LE(value.estimate.error, epsilon) << value.variable;
}

// A mean time is infinite when the chain can avoid the condition for good
// (here by a safe absorbing state reached from 2 up); it is 0 where the
// condition holds at once, and so is the chance it has held by 0.
TEST_F(MeasuresTest, AConditionThatCanBeAvoidedForeverHasAnInfiniteMeanTime) {
  HandRun run{4, {{0, 1, 0.03}, {1, 2, 0.02}, {1, 3, 0.5}}, {}};
  run.variables = {{"mttf", 4, {}, {0, 0, 1, 0}, {}},
                   {"at_once", 4, {}, {1, 0, 0, 0}, {}},
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
    noted = noted || note ==
                         "mttf: the chain can avoid the condition forever (with positive "
                         "probability), so the mean time until it holds is infinite";
  }
  EXPECT_TRUE(noted);
}

// The queue length of an M/M/1/4 queue (arrivals 2, services 3) asked
// four ways: the accumulated value is the average times the length and
// adds up over adjoining intervals (mm1k.san checks the four ways end to
// end against its closed forms); far from the start, the instant and the average
// over a unit interval are the long-run value (the chain forgets its start
// at the rate of its spectral gap, about 0.1, so at t = 400 within 1e-17).
TEST_F(MeasuresTest, TheSameVariableAskedFourWaysAgrees) {
  const std::vector<std::pair<double, double>> intervals = {{0, 20}, {20, 50}, {0, 50}};
  HandRun run{
      5,
      {{0, 1, 2}, {1, 0, 3}, {1, 2, 2}, {2, 1, 3}, {2, 3, 2}, {3, 2, 3}, {3, 4, 2}, {4, 3, 3}},
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

// Asked with -t 0, a variable accumulated over [0, 0] has earned nothing,
// neither its rate reward nor its impulses, whatever they are at the start.
TEST_F(MeasuresTest, NothingIsEarnedOverAnIntervalOfNoLength) {
  HandRun run{2, {{0, 1, 2}, {1, 0, 3}}, {}};
  run.variables = {{"up_time", 1, {{0, 1}}, {1, 0}, {}}, {"failures", 1, {{0, 1}}, {0, 0}, {2, 0}}};
  solver_test::writeRun(run, dir.prefix() + "m");
  solver::SolveOptions options;
  options.base = dir.prefix() + "m";
  options.times = {0, 1};
  const auto solution = solver::solve(options);
  ASSERT_TRUE(solution.ok()) << solution.error().text();
  const auto& found = solution.value().values;
  ASSERT_EQ(4u, found.size());
  for (const std::size_t at : {0, 2}) {
    EXPECT_EQ(0.0, found[at].estimate.value) << found[at].variable;
    EXPECT_EQ(0.0, found[at].estimate.error) << found[at].variable;
  }
  // Up at rate 2 to 3: the integral of 3/5 + 2/5 e^(-5t) over [0, 1].
  expectValue(0.6 + 0.4 * (1 - std::exp(-5.0)) / 5, found[1]);
  expectValue(2 * found[1].estimate.value, found[3], 2e-10);
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

// Each refused variable is named with why; the others keep their values.
TEST_F(MeasuresTest, VariablesThatCannotBeEvaluatedAreRefusedNeverGivenAValue) {
  HandRun run{2, {{0, 1, 1}, {1, 0, 3}}, {}};
  const Variable up{"up", 0, {{1, 1}}, {1, 0}, {}};
  run.variables = {{"hits", 0, {{1, 1}}, {0, 0}, {1, 0}}, up};
  EXPECT_EQ(
      "variable hits has impulse rewards, which an instant of time cannot count: an impulse "
      "is earned in no time; write 'hits over [0, 1]' for the expected count by time 1, or "
      "'hits in the long run' for its rate",
      refusal(run));
  run.variables = {{"hits", 5, {{1, 1}}, {0, 1}, {1, 0}}, up};
  EXPECT_EQ(
      "variable hits has impulse rewards, which a probability that a condition has held "
      "(type 5) cannot use: its condition is its rate reward alone; ask for the impulses in "
      "a variable of their own, over an interval or in the long run",
      refusal(run));
  run.variables = {{"ready", 4, {}, {0, 0.5}, {}}, up};
  EXPECT_EQ(
      "variable ready is a mean time to a condition (type 4), but its rate reward in state 2 "
      "is 0.5: a condition is 1 where it holds and 0 elsewhere",
      refusal(run));
  run.variables = {{"odd", 9, {}, {0, 1}, {}}, up};
  EXPECT_EQ("variable odd has type 9: the solver knows types 0 to 5", refusal(run));
  run.variables = {{"mean", 3, {{1, 1}}, {0, 1}, {}}, up};
  EXPECT_EQ(
      "variable mean is a long-run variable (type 3), which has no time points, but lists "
      "1 time point",
      refusal(run));
  run.variables = {{"used", 1, {{2, 1}}, {0, 1}, {}}, up};
  EXPECT_EQ(
      "variable used is taken over intervals, but an interval's start 2 is not before its "
      "stop 1",
      refusal(run));
  // Files written before impulses were solved record them only in .var.
  run.variables = {{"repairs", 1, {{0, 1}}, {0, 1}, {}}};
  solver_test::writeRun(run, dir.prefix() + "m");
  std::ofstream(dir.prefix() + "m.var", std::ios::binary) << "repairs\n1\n1\n0\n2\n0\n1\n";
  solver::SolveOptions options;
  options.base = dir.prefix() + "m";
  const auto old = solver::solve(options);
  ASSERT_TRUE(old.ok()) << old.error().text();
  ASSERT_EQ(1u, old.value().refused.size());
  EXPECT_EQ(dir.prefix() +
                "m.var: variable repairs has impulse rewards, but there is no .imp file with "
                "what they earn: generate the run again",
            old.value().refused[0].text());
  EXPECT_TRUE(old.value().values.empty());
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
  EXPECT_EQ(
      "huge at 5: rounding may be as large as the value itself (rewards of opposite signs "
      "cancel): it says nothing",
      solution.value().notes.back());
}

}  // namespace
