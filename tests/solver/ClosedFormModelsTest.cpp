// The models of tests/solver/models, generated and solved end to end, against
// the closed forms derived by hand in their descriptions: every kind of
// reward variable, impulses included, and the same variable asked several
// ways agreeing where theory says they must.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <string>
#include <vector>

#include "solver/Solve.h"
#include "tests/TestFiles.h"

namespace {

class ClosedFormModelsTest : public testing::Test {
 protected:
  // Generates experiment of model into m.* (with the generator's further
  // options) and solves it.
  solver::Solution solve(const std::string& model, int experiment = 0,
                         const std::string& options_ = "") {
    const test_files::ProgramRun run =
        dir.run(std::string(MEASURE_MODELS_DIR) + "/" + model + " -P./ -Nm -B" +
                std::to_string(experiment) + options_);
    EXPECT_EQ(0, run.status) << run.err;
    solver::SolveOptions options;
    options.base = dir.prefix() + "m";
    const solver::Parsed<solver::Solution> solution = solver::solve(options);
    EXPECT_TRUE(solution.ok()) << solution.error().text();
    return solution.ok() ? solution.value() : solver::Solution();
  }
  // The values by "variable@time", the time as the table prints it.
  static std::map<std::string, solver::Estimate> byName(const solver::Solution& solution) {
    std::map<std::string, solver::Estimate> values;
    for (const solver::VariableValue& value : solution.values) {
      char time[64];
      if (value.kind == solver::VariableKind::kAccumulated ||
          value.kind == solver::VariableKind::kAverage) {
        std::snprintf(time, sizeof time, "%g..%g", value.start, value.time);
      } else {
        std::snprintf(time, sizeof time, "%g", value.time);
      }
      values[value.variable + "@" + time] = value.estimate;
    }
    return values;
  }

  test_files::ScratchDir dir{"closed"};
};

void expectValue(double exact, const solver::Estimate& estimate, double epsilon = 1e-10) {
  EXPECT_NEAR(exact, estimate.value, estimate.error);
  EXPECT_LE(estimate.error, epsilon);
}

// repairable.san: A(t) = mu/q + lambda/q e^(-qt), q = lambda + mu; interval
// availability, downtime, failures (impulses of 1 at rate lambda while up)
// and the failure rate in the long run, lambda mu / q.
TEST_F(ClosedFormModelsTest, IntervalAvailabilityOfATwoStateRepairableComponent) {
  const double lambda = 0.5, mu = 2, q = lambda + mu;
  const auto uptime = [&](double t) {
    return mu / q * t + lambda * (1 - std::exp(-q * t)) / (q * q);
  };
  auto values = byName(solve("repairable"));
  ASSERT_EQ(6u, values.size());
  expectValue(uptime(1), values["availability@0..1"]);
  expectValue(uptime(10) / 10, values["availability@0..10"]);
  expectValue(10 - uptime(10), values["downtime@0..10"]);
  expectValue(lambda * uptime(1), values["failures@0..1"]);
  expectValue(lambda * uptime(10), values["failures@0..10"]);
  expectValue(lambda * mu / q, values["failure_rate@inf"]);
}

// mm1k.san, lambda = 1, mu = 2, K = 3: p = (8, 4, 2, 1) / 15. The
// throughput, impulses of 1 on departures, is lambda (1 - P_block) = 14/15;
// the queue length asked four ways agrees: accumulated = 50 x average, at
// 50 and averaged far from the start it is the long run's 11/15.
TEST_F(ClosedFormModelsTest, ThroughputOfMM1KAsImpulsesOnDeparturesAndTheLengthAskedFourWays) {
  auto values = byName(solve("mm1k"));
  ASSERT_EQ(7u, values.size());
  expectValue(1 * (1 - 1.0 / 15), values["throughput@inf"]);
  expectValue(1.0 / 15, values["blocking@inf"]);
  expectValue(11.0 / 15, values["length_long_run@inf"]);
  expectValue(11.0 / 15, values["length@50"]);
  const solver::Estimate accumulated = values["length_accumulated@0..50"];
  const solver::Estimate average = values["length_average@0..50"];
  EXPECT_NEAR(accumulated.value, 50 * average.value, accumulated.error + 50 * average.error);
  // Over [0, 50] the chain starts empty: below the long run by the bias,
  // within 1/50 of it.
  EXPECT_LT(average.value, 11.0 / 15);
  EXPECT_GT(average.value, 11.0 / 15 - 1.0 / 50);
  EXPECT_NEAR(14.0 / 15, values["departures@0..50"].value / 50, 1.0 / 50);
}

// two_of_three.san, lambda = 0.1: the mean time to failure is 5/(6 lambda)
// without repair, (5 lambda + mu)/(6 lambda^2) with repair at mu = 1; the
// probability of having failed by t is 1 - (s1 e^(s2 t) - s2 e^(s1 t)) / (s1 - s2),
// s1 and s2 the roots of s^2 + (5 lambda + mu) s + 6 lambda^2.
TEST_F(ClosedFormModelsTest, MeanTimeToFailureOfTwoOutOfThreeWithAndWithoutRepair) {
  const double lambda = 0.1;
  for (const double mu : {0.0, 1.0}) {
    SCOPED_TRACE("mu = " + std::to_string(mu));
    auto values = byName(solve("two_of_three", mu == 0 ? 0 : 1));
    ASSERT_EQ(3u, values.size());
    expectValue((5 * lambda + mu) / (6 * lambda * lambda), values["mttf@inf"], 1e-9);
    const double b = 5 * lambda + mu;
    const double root = std::sqrt(b * b - 24 * lambda * lambda);
    const double s1 = (-b + root) / 2, s2 = (-b - root) / 2;
    for (const double t : {1.0, 10.0}) {
      const double failed = 1 - (s1 * std::exp(s2 * t) - s2 * std::exp(s1 * t)) / (s1 - s2);
      expectValue(failed, values["failed@" + std::to_string(static_cast<int>(t))]);
    }
  }
}

// The probability that a component failing at rate lambda and rebooted d
// after it fails is up at t: up after k reboots when exactly k failures
// fall in its up time t - k d.
double rebootedUp(double lambda, double d, double t) {
  double up = 0;
  for (int k = 0; k * d <= t; k++) {
    const double x = lambda * (t - k * d);
    up += std::exp(-x + k * std::log(x) - std::lgamma(k + 1.0));
  }
  return up;
}

// The expected number of reboots of that component by t: the k-th comes
// by t when k failures fall in its up time t - k d.
double rebootsBy(double lambda, double d, double t) {
  double reboots = 0;
  for (int k = 1; k * d <= t; k++) {
    const double x = lambda * (t - k * d);
    double fewer = x == 0 ? 1 : 0;  // P(N < k)
    for (int j = 0; x > 0 && j < k; j++) {
      fewer += std::exp(-x + j * std::log(x) - std::lgamma(j + 1.0));
    }
    reboots += 1 - fewer;
  }
  return reboots;
}

// reboot.san: up at t when k failures fall in its up time t - k d, summed
// over k; 1/(1 + lambda d) in the long run. Each cycle, up for 1/lambda on
// average and down for d, ends in one reboot, whose impulse is earned when
// the deterministic activity fires: lambda/(1 + lambda d) reboots per unit
// time, and over an interval the expected number of reboots in it.
TEST_F(ClosedFormModelsTest, AComponentRebootedAFixedTimeAfterItFails) {
  const double lambda = 0.5, d = 1;
  const solver::Solution solution = solve("reboot");
  auto values = byName(solution);
  ASSERT_EQ(7u, values.size());
  EXPECT_TRUE(solution.refused.empty());
  for (const double t : {0.5, 1.5, 2.5}) {
    char name[32];
    std::snprintf(name, sizeof name, "available@%g", t);
    expectValue(rebootedUp(lambda, d, t), values[name]);
  }
  expectValue(1 / (1 + lambda * d), values["availability@inf"]);
  expectValue(lambda / (1 + lambda * d), values["reboot_rate@inf"]);
  expectValue(rebootsBy(lambda, d, 2.5), values["reboots@0..2.5"]);
  expectValue(rebootsBy(lambda, d, 2.5) - rebootsBy(lambda, d, 1.5),
              values["reboots_late@1.5..2.5"]);
  // The firing's impulse is found by its activity when the .firings file names it.
  auto named = byName(solve("reboot", 0, " -D"));
  expectValue(lambda / (1 + lambda * d), named["reboot_rate@inf"]);
  expectValue(rebootsBy(lambda, d, 2.5), named["reboots@0..2.5"]);
  // No reboot can fire by 0.5, and the first by 1 only at 1 after a
  // failure at 0, which has probability 0.
  solver::SolveOptions early;
  early.base = dir.prefix() + "m";
  early.times = {0.5, 1, 4};
  const solver::Parsed<solver::Solution> before = solver::solve(early);
  ASSERT_TRUE(before.ok()) << before.error().text();
  EXPECT_TRUE(before.value().refused.empty());
  auto by = byName(before.value());
  expectValue(0, by["reboots@0..0.5"]);
  expectValue(0, by["reboots@0..1"]);
  expectValue(rebootsBy(lambda, d, 4), by["reboots@0..4"]);
  expectValue(rebootsBy(lambda, d, 4) / 4, by["reboots_late@0..4"]);
}

// With too few steps for the series, the Erlang phases estimate the values
// at instants, and the variables that earn impulses when the reboot fires,
// which the phases cannot count, are refused alone.
TEST_F(ClosedFormModelsTest, WhereTheSeriesGivesUpImpulsesAtFiringsAreRefusedAlone) {
  const double lambda = 0.5, d = 1;
  solve("reboot");
  solver::SolveOptions few;
  few.base = dir.prefix() + "m";
  few.maxSteps = 100;
  const solver::Parsed<solver::Solution> phases = solver::solve(few);
  ASSERT_TRUE(phases.ok()) << phases.error().text();
  const std::vector<solver::Diagnostic>& refused = phases.value().refused;
  ASSERT_EQ(2u, refused.size());
  EXPECT_EQ(0u, refused[0].message.find("variable reboots earns impulses when a deterministic "
                                        "activity fires (state 2)"))
      << refused[0].message;
  EXPECT_EQ(0u, refused[1].message.find("variable reboots_late earns")) << refused[1].message;
  auto values = byName(phases.value());
  ASSERT_EQ(5u, values.size());
  EXPECT_NEAR(rebootedUp(lambda, d, 0.5), values["available@0.5"].value, 1e-2);
  expectValue(1 / (1 + lambda * d), values["availability@inf"]);
  const std::vector<std::string>& notes = phases.value().notes;
  EXPECT_TRUE(std::any_of(notes.begin(), notes.end(), [](const std::string& note) {
    return note.find("series of shifted Poisson terms given up") != std::string::npos;
  }));
}

// The delay equation of interrupted_exposure.san solved by steps of d: on
// [k d, (k + 1) d] a piece's P(t - d) is the piece before's at the same
// offset, so pieces 0..k are integrated together by the classical
// Runge-Kutta method, each from where the one before ended. At each
// multiple of h = d / steps up to pieces * d: {P, E, F, the integral of F}.
std::vector<std::array<double, 4>> interruptedExposure(double lambda, double mu, double d,
                                                       int pieces, int steps) {
  const double h = d / steps;
  const double fails = lambda * std::exp(-mu * d);
  const auto slope = [&](const std::vector<double>& y) {
    std::vector<double> dy(y.size());
    for (std::size_t j = 0; 4 * j < y.size(); j++) {
      const double p = y[4 * j], e = y[4 * j + 1], delayed = j > 0 ? y[4 * j - 4] : 0.0;
      dy[4 * j] = -lambda * p + mu * e;
      dy[4 * j + 1] = lambda * p - mu * e - fails * delayed;
      dy[4 * j + 2] = fails * delayed;
      dy[4 * j + 3] = y[4 * j + 2];
    }
    return dy;
  };
  const auto along = [](std::vector<double> y, const std::vector<double>& dy, double by) {
    for (std::size_t i = 0; i < y.size(); i++) {
      y[i] += by * dy[i];
    }
    return y;
  };
  std::vector<std::array<double, 4>> grid(static_cast<std::size_t>(pieces * steps + 1));
  std::vector<double> starts = {1, 0, 0, 0};
  for (int k = 0; k < pieces; k++) {
    std::vector<double> y = starts;
    for (int i = 0;; i++) {
      std::copy_n(y.end() - 4, 4, grid[static_cast<std::size_t>(k * steps + i)].begin());
      if (i == steps) {
        break;
      }
      const std::vector<double> k1 = slope(y);
      const std::vector<double> k2 = slope(along(y, k1, h / 2));
      const std::vector<double> k3 = slope(along(y, k2, h / 2));
      const std::vector<double> k4 = slope(along(y, k3, h));
      for (std::size_t j = 0; j < y.size(); j++) {
        y[j] += h / 6 * (k1[j] + 2 * k2[j] + 2 * k3[j] + k4[j]);
      }
    }
    starts.insert(starts.end(), y.end() - 4, y.end());
  }
  return grid;
}

// exposure.san: a failure needs a fixed exposure d that a repair at rate mu
// interrupts, and a warning may come while the exposure's clock runs. The
// mean times follow the closed forms derived in the model; a warning alone
// can be avoided forever.
TEST_F(ClosedFormModelsTest, MeanTimesToConditionsReachedThroughAFixedDelay) {
  const double lambda = 0.5, mu = 2, alpha = 1, d = 1;
  const solver::Solution solution = solve("exposure");
  auto values = byName(solution);
  ASSERT_EQ(4u, values.size());
  expectValue(std::exp(mu * d) / lambda + (std::exp(mu * d) - 1) / mu, values["mttf@inf"], 1e-9);
  const double r = alpha + mu;
  const double cycle = (1 - std::exp(-r * d)) / r;
  const double repaired = mu / r * (1 - std::exp(-r * d));
  expectValue((1 / lambda + cycle) / (1 - repaired), values["warning_or_failure@inf"], 1e-9);
  EXPECT_TRUE(solution.values[2].infinite);
  EXPECT_TRUE(solution.withinBound);
  // A repair disables the exposure's clock, and the warnings do not change
  // when it fires: the failures by 3 are the probability of the failure
  // by then in interrupted_exposure.san.
  EXPECT_TRUE(solution.refused.empty());
  expectValue(interruptedExposure(lambda, mu, d, 3, 2000).back()[2], values["failures@0..3"]);
}

// interrupted_exposure.san: a repair disables the exposure's clock before
// it fires. Values at instants, over an interval, averaged, the
// probability that the failure has come and the failures' impulses,
// against the delay equation derived in the model, up to three delays on,
// where corrections of corrections count; and on [d, 2d] against its
// closed form.
TEST_F(ClosedFormModelsTest, ValuesOfAProcessWhoseFixedDelayARepairDisables) {
  const double lambda = 0.5, mu = 2, d = 1, q = lambda + mu;
  const int steps = 2000;
  const auto reference = interruptedExposure(lambda, mu, d, 4, steps);
  const auto at = [&](double t) { return reference[static_cast<std::size_t>(t * steps)]; };
  const solver::Solution solution = solve("interrupted_exposure");
  auto values = byName(solution);
  ASSERT_EQ(12u, values.size());
  EXPECT_TRUE(solution.withinBound);
  for (const double t : {0.5, 1.5, 2.0, 2.75, 3.5}) {
    char name[32];
    std::snprintf(name, sizeof name, "failed@%g", t);
    expectValue(at(t)[2], values[name]);
  }
  for (const double x : {0.5, 1.0}) {
    const double closed = lambda * std::exp(-mu * d) *
                          (mu * x / q + lambda * (1 - std::exp(-q * x)) / (q * q));
    EXPECT_NEAR(closed, at(d + x)[2], 1e-12);
  }
  expectValue(at(1.5)[1], values["exposed@1.5"]);
  expectValue(at(3.5)[1], values["exposed@3.5"]);
  expectValue(at(1.75)[3] - at(1.25)[3], values["failed_time@1.25..1.75"]);
  expectValue(at(3.5)[3] / 3.5, values["failed_share@0..3.5"]);
  expectValue(at(1.5)[2], values["failure_by@1.5"]);
  expectValue(at(3.5)[2], values["failure_by@3.5"]);
  // At most one failure: its impulses count the probability that it came.
  expectValue(at(3.0)[2] - at(1.25)[2], values["failures@1.25..3"]);
}

// second_failure.san: the second failure needs a reboot of fixed length
// d between two exponential failures; the probability that it has come by
// t is exact, by the series on the process stopped at it.
TEST_F(ClosedFormModelsTest, TheProbabilityThatAConditionReachedThroughAFixedDelayHasHeld) {
  const double lambda = 0.5, d = 1;
  const solver::Solution solution = solve("second_failure");
  auto values = byName(solution);
  ASSERT_EQ(4u, values.size());
  for (const double t : {0.5, 1.5, 3.0, 6.0}) {
    const double u = std::max(t - d, 0.0);
    char name[32];
    std::snprintf(name, sizeof name, "second_failure@%g", t);
    expectValue(1 - std::exp(-lambda * u) * (1 + lambda * u), values[name]);
  }
  EXPECT_TRUE(solution.withinBound);
}

// two_reboots.san: two components rebooted a fixed time after they fail,
// whose reboots can be pending at once, solved as independent parts: each
// up at t as the rebooted component, and in the long run with probability
// 1/(1 + lambda d), the two independently. Coupled by an alarm, or without the markings that show the
// parts, the long run is refused with the reason.
TEST_F(ClosedFormModelsTest, TwoRebootsPendingAtOnceSolvedAsIndependentParts) {
  const double a = 1 / (1 + 0.5 * 1), b = 1 / (1 + 0.2 * 3);
  auto values = byName(solve("two_reboots", 0, " -D -M"));
  ASSERT_EQ(5u, values.size());
  for (const double t : {1.5, 4.0}) {
    char name[32];
    std::snprintf(name, sizeof name, "both_up_at@%g", t);
    expectValue(rebootedUp(0.5, 1, t) * rebootedUp(0.2, 3, t), values[name]);
  }
  expectValue(a * b, values["both_up@inf"]);
  expectValue(1 - (1 - a) * (1 - b), values["one_up@inf"]);
  expectValue(a + b, values["number_up@inf"]);
  const auto refusal = [&](int experiment, const std::string& options_) {
    EXPECT_EQ(0, dir.run(std::string(MEASURE_MODELS_DIR) + "/two_reboots -P./ -Nm -B" +
                         std::to_string(experiment) + options_)
                     .status);
    solver::SolveOptions options;
    options.base = dir.prefix() + "m";
    const solver::Parsed<solver::Solution> solution = solver::solve(options);
    EXPECT_FALSE(solution.ok());
    return solution.ok() ? std::string() : solution.error().message;
  };
  EXPECT_NE(std::string::npos,
            refusal(1, " -D -M")
                .find("; it does not split into independent parts: the rate from state 2 "
                      "(first.up=0 first.down=1 second.up=1 second.down=0 alarm=1) to state 4 "
                      "depends on places its move does not change"));
  EXPECT_NE(std::string::npos, refusal(0, " -D").find("with the .states file (gen -M)"));
}

}  // namespace
