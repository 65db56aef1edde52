// The series corrected where a clock fires, on small processes with two
// clocks: against the plain series where no clock is disabled, and where
// moves disable them (one starting the other's clock), against the Erlang
// phases and the probabilities' own sum.
#include "solver/PreemptiveSeries.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "solver/DeterministicProcess.h"
#include "solver/Measures.h"
#include "solver/ShiftedPoissonSeries.h"
#include "tests/solver/Chains.h"

namespace {

using solver_test::Rate;

const std::uint64_t kSteps = 10000000;
const std::vector<double> kTimes = {0.5, 1.3, 3.2};  // off the sums of delays
const std::vector<solver::Span> kSpans = {{0, 3.2}, {1.1, 2.9}};

// 0 moves to 1 at 1.5. Clock A (delay 1) runs in 1 and 2, which 1 moves to
// at 2; it fires from 1 to 3 and from 2 to 4. Clock B (delay 0.7) runs in
// 3 and fires to 0. 4 moves to 0 at 3 and to 3 at 1. The rewards: each
// state's indicator, and one of mixed signs. Further rates may disable
// the clocks.
solver::DeterministicProcess twoClocks(std::vector<Rate> more) {
  std::vector<Rate> rates = {{0, 1, 1.5}, {1, 2, 2}, {4, 0, 3}, {4, 3, 1}};
  rates.insert(rates.end(), more.begin(), more.end());
  std::vector<std::vector<double>> rewards(5, std::vector<double>(5, 0.0));
  for (std::size_t s = 0; s < 5; s++) {
    rewards[s][s] = 1;
  }
  rewards.push_back({0, 1, -2, 3, 0.5});
  solver::DeterministicProcess process;
  process.exponential = solver_test::chainOf(5, rates, rewards);
  process.clockNames = {"A", "B"};
  process.firings = {{0, 1.0, {{3, 1.0}}, {}}, {0, 1.0, {{4, 1.0}}, {}}, {1, 0.7, {{0, 1.0}}, {}}};
  process.firingOf = {-1, 0, 1, 2, -1};
  return process;
}

void expectAgree(const std::vector<std::vector<solver::Estimate>>& expected,
                 const std::vector<std::vector<solver::Estimate>>& found, double epsilon) {
  ASSERT_EQ(expected.size(), found.size());
  for (std::size_t t = 0; t < expected.size(); t++) {
    ASSERT_EQ(expected[t].size(), found[t].size());
    for (std::size_t v = 0; v < expected[t].size(); v++) {
      EXPECT_NEAR(expected[t][v].value, found[t][v].value,
                  expected[t][v].error + found[t][v].error + epsilon)
          << "time " << t << ", variable " << v;
      EXPECT_LE(found[t][v].error, 1e-10) << "time " << t << ", variable " << v;
    }
  }
}

TEST(PreemptiveSeriesTest, WhereNoClockIsDisabledItAgreesWithThePlainSeries) {
  const solver::DeterministicProcess process = twoClocks({});
  ASSERT_TRUE(solver::clocksRunToTheEnd(process));
  expectAgree(solver::shiftedPoissonRewards(process, kTimes, 1e-10, kSteps),
              solver::preemptiveRewards(process, kTimes, 1e-10, kSteps), 0);
  expectAgree(solver::shiftedPoissonIntegrals(process, kSpans, 1e-10, kSteps),
              solver::preemptiveIntegrals(process, kSpans, 1e-10, kSteps), 0);
}

// 1 falls back to 0 at 0.8, disabling A; 3 moves to 1 at 0.5, disabling B
// and starting A.
TEST(PreemptiveSeriesTest, DisabledClocksKeepTheMassWholeAndAgreeWithThePhases) {
  const solver::DeterministicProcess process = twoClocks({{1, 0, 0.8}, {3, 1, 0.5}});
  ASSERT_FALSE(solver::clocksRunToTheEnd(process));
  const auto values = solver::preemptiveRewards(process, kTimes, 1e-10, kSteps);
  const auto integrals = solver::preemptiveIntegrals(process, kSpans, 1e-10, kSteps);
  std::vector<solver::MeasureRequest> requests;
  for (std::size_t v = 0; v < 6; v++) {
    for (double t : kTimes) {
      requests.push_back({v, solver::VariableKind::kInstant, t, t});
    }
  }
  solver::EvaluationSettings settings;
  settings.epsilon = 1e-12;
  // The phases' error shrinks like 1/k: twice the values for 2048 less
  // those for 1024 leave much less of it.
  const solver::Evaluation fine =
      solver::evaluateMeasures(solver::erlangChain(process, 2048), requests, settings);
  const solver::Evaluation coarse =
      solver::evaluateMeasures(solver::erlangChain(process, 1024), requests, settings);
  for (std::size_t t = 0; t < kTimes.size(); t++) {
    double sum = 0.0;
    double error = 0.0;
    for (std::size_t v = 0; v < 6; v++) {
      const solver::Estimate& value = values[t][v];
      EXPECT_LE(value.error, 1e-10);
      const std::size_t r = v * kTimes.size() + t;
      EXPECT_NEAR(2 * fine.estimates[r].value - coarse.estimates[r].value, value.value, 1e-5)
          << "time " << kTimes[t] << ", variable " << v;
      if (v < 5) {
        EXPECT_GE(value.value, -value.error);
        sum += value.value;
        error += value.error;
      }
    }
    EXPECT_NEAR(1.0, sum, error);
  }
  for (std::size_t t = 0; t < kSpans.size(); t++) {
    double sum = 0.0;
    double error = 0.0;
    for (std::size_t v = 0; v < 5; v++) {
      EXPECT_LE(integrals[t][v].error, 1e-10);
      sum += integrals[t][v].value;
      error += integrals[t][v].error;
    }
    EXPECT_NEAR(kSpans[t].stop - kSpans[t].start, sum, error);
  }
}

// A time far beyond the steps allowed is given up before its terms are
// held (they would take one per jump up to it), with or without
// corrections.
TEST(PreemptiveSeriesTest, ATimeFarBeyondTheStepsIsGivenUpBeforeItsTermsAreHeld) {
  const solver::DeterministicProcess process = twoClocks({{1, 0, 0.8}});
  EXPECT_THROW(solver::preemptiveIntegrals(process, {{0, 1e12}}, 1e-10, 1000000),
               solver::SolveError);
  EXPECT_THROW(solver::preemptiveRewards(process, {1e12}, 1e-10, 1000000), solver::SolveError);
  // So does the plain series, whose window at 1e12 would hold 400 MB.
  EXPECT_THROW(solver::shiftedPoissonRewards(twoClocks({}), {1e12}, 1e-10, 1000000),
               solver::SolveError);
}

}  // namespace
