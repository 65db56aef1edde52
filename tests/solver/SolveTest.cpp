// Whole runs of the solver on generated files: this build's model against
// its closed form, models with deterministic delays against theirs, and the
// refusals of what the solver does not handle.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <fstream>
#include <iomanip>
#include <map>
#include <string>

#include "solver/Solve.h"
#include "tests/TestFiles.h"
#include "tests/generator/GeneratorTestModels.h"
#include "tests/generator/RequestedFiles.h"
#include "tests/solver/RunWriter.h"

namespace {

using ssg_test::deterministic;
using ssg_test::exponential;
using ssg_test::markingIs;
using ssg_test::setMarking;
using ssg_test::TestPVModel;
using test_files::ProgramRun;
using test_files::ScratchDir;

class SolveTest : public testing::Test {
 protected:
  // The solution of the files dir/m.*, generated from model; sets options.base.
  solver::Parsed<solver::Solution> solveModel(TestPVModel& model, solver::SolveOptions& options) {
    ssg_test::generateAsking(&model, dir.prefix());
    options.base = dir.prefix() + "m";
    return solver::solve(options);
  }
  // The solution of the same files without their ".firings" file.
  solver::Parsed<solver::Solution> solveWithoutFirings(const solver::SolveOptions& options) {
    std::remove((dir.prefix() + "m.firings").c_str());
    return solver::solve(options);
  }
  std::string notes(const solver::Solution& solution) const {
    std::string text;
    for (const std::string& note : solution.notes) {
      text += note + "\n";
    }
    return text;
  }

  ScratchDir dir;
};

// Replaces the .pvtype file of base by one variable "marking" of type
// (1 or 2) over spans.
void writeSpans(const std::string& base, int type,
                const std::vector<std::pair<double, double>>& spans) {
  std::ofstream pvtype(base + ".pvtype");
  pvtype << std::setprecision(17) << "Version:1\nNumPV:1\nName:marking\nType:" << type
         << "\nNumTimes:" << spans.size() << "\n";
  for (const auto& [start, stop] : spans) {
    pvtype << "Start:" << start << "\nStop:" << stop << "\n";
  }
}

void expectValue(double exact, const solver::VariableValue& value, double epsilon) {
  EXPECT_NEAR(exact, value.estimate.value, value.estimate.error);
  EXPECT_LE(value.estimate.error, epsilon);
}

// This build's model: the flash and the RAM fail independently. The flash
// stays corrupted (its power cycle, 1e19, never fires before 365), with
// probability 1 - e^(-f t); the RAM alternates between working, left at
// rate a, and corrupted for exactly the watchdog's 0.00347, so by 365 it is
// corrupted with probability d / (d + 1/a).
TEST_F(SolveTest, TheReliabilityOfEachExperimentFollowsItsClosedForm) {
  const std::string gen = GEN_EXECUTABLE;
  for (int e : {0, 7, 24}) {
    SCOPED_TRACE("experiment " + std::to_string(e));
    const std::string name = "exp" + std::to_string(e + 1);
    ASSERT_EQ(0, dir.run(gen + " -P./ -N" + name + " -B" + std::to_string(e) + " -D").status);
    solver::SolveOptions options;
    options.base = dir.prefix() + name;
    const solver::Parsed<solver::Solution> solution = solver::solve(options);
    ASSERT_TRUE(solution.ok()) << solution.error().text();
    const double flashShare = (32 << (e % 5)) / 512.0;
    const double ramShare = (32 << (e / 5)) / 512.0;
    const double f = 0.00274 + 1.5e-16 * flashShare;
    const double a = 0.00548 + 6.012 * ramShare + 2.95e-06 * 0.25;
    const double d = 0.00347;
    ASSERT_EQ(1u, solution.value().values.size());
    expectValue((1 - std::exp(-f * 365)) * d / (d + 1 / a), solution.value().values[0], 1e-10);
    EXPECT_NE(std::string::npos,
              notes(solution.value())
                  .find("delay 1e+19 (power_cycle) is longer than the last time point 365"));
  }
}

TEST_F(SolveTest, TwoDelaysInOneStateNeedTheFiringsFileAndCannotBothBeShort) {
  ASSERT_EQ(0, dir.run(std::string(GEN_EXECUTABLE) + " -P./ -Nplain -B0 -M").status);
  solver::SolveOptions options;
  options.base = dir.prefix() + "plain";
  EXPECT_EQ(dir.prefix() +
                "plain.det:8: state 5 (flash_system.flash_working=0 ram_system.ram_working=1 "
                "ram_system.ram_corrupted=1 flash_corrupted=1) is listed 2 times: the .arm file "
                "does not tell the firings apart; let gen write the .firings file (-D)",
            solver::solve(options).error().text());
  ASSERT_EQ(0, dir.run(std::string(GEN_EXECUTABLE) + " -P./ -Nfull -B0 -D").status);
  options.base = dir.prefix() + "full";
  options.longRun = true;
  EXPECT_EQ(dir.prefix() +
                "full: state 5 enables the deterministic delays 1e+19 (power_cycle) and 0.00347 "
                "(watchdog_reboot), which can both fire in the long run; the solver handles one "
                "per state; with the .states file (gen -M) the solver would try to split it "
                "into independent parts",
            solver::solve(options).error().text());
  // With the markings the flash and the RAM are solved apart, the RAM as the
  // component rebooted a fixed time d after it fails (at rate a): corrupted
  // d / (1 / a + d) of the time, the flash f / (1 / D + f) with D = 1e19.
  ASSERT_EQ(0, dir.run(std::string(GEN_EXECUTABLE) + " -P./ -Nsplit -B0 -D -M").status);
  options.base = dir.prefix() + "split";
  const solver::Parsed<solver::Solution> split = solver::solve(options);
  ASSERT_TRUE(split.ok()) << split.error().text();
  const double a = 0.00548 + 6.012 * 0.0625 + 2.95e-06 * 0.25, d = 0.00347;
  const double f = 0.00274 + 1.5e-16 * 0.0625, D = 1e19;
  const solver::Estimate& reliability = split.value().values.back().estimate;
  EXPECT_NEAR(d / (1 / a + d) * D / (1 / f + D), reliability.value, reliability.error);
  EXPECT_LE(reliability.error, 1e-10);
}

// q goes from 0 to 1 after exactly 1, then to 2 after exactly 0.5 more: at
// times 1 and 1.5 the firings have happened (a firing at a time point
// counts), just before them they have not.
TEST_F(SolveTest, DelaysFireExactlyAtTheirTimes) {
  TestPVModel model("net", {{"q", 0}},
                    {deterministic("d1", 1.0).when(markingIs(0, 0)).fires(setMarking(0, 1)),
                     deterministic("d2", 0.5).when(markingIs(0, 1)).fires(setMarking(0, 2))});
  solver::SolveOptions options;
  options.times = {0.5, 1.0, 1.25, 1.5, 2.0};
  const auto solution = solveModel(model, options);
  ASSERT_TRUE(solution.ok()) << solution.error().text();
  const double expected[] = {0.0, 1.0, 1.0, 2.0, 2.0};
  for (std::size_t i = 0; i < options.times.size(); i++) {
    expectValue(expected[i], solution.value().values[i], 1e-10);
  }
  // With 1 the last time point, d1 still fires at it rather than being
  // left out.
  options.times = {1.0};
  const auto last = solver::solve(options);
  ASSERT_TRUE(last.ok()) << last.error().text();
  expectValue(1.0, last.value().values[0], 1e-10);
  EXPECT_EQ(std::string::npos, notes(last.value()).find("left out"));
}

// d fires after exactly 1 and sets q to 1 or 2, with probabilities 1/4 and
// 3/4: at time 2 it has, and E q = 1/4 + 3/4 * 2. Its two outcomes are one
// firing, which the .firings file tells; the .det file lists the state once
// per case, which without it could as well be two activities' equal delays.
TEST_F(SolveTest, ADelayThatHasSurelyFiredGivesItsOutcomes) {
  TestPVModel model("net", {{"q", 0}},
                    {deterministic("d", 1.0)
                         .when(markingIs(0, 0))
                         .fires(setMarking(0, 1), 1.0)
                         .fires(setMarking(0, 2), 3.0)});
  solver::SolveOptions options;
  options.times = {0.5, 2.0};
  const auto named = solveModel(model, options);
  ASSERT_TRUE(named.ok()) << named.error().text();
  expectValue(0.0, named.value().values[0], 1e-10);
  expectValue(1.75, named.value().values[1], 1e-10);
  EXPECT_EQ(dir.prefix() +
                "m.det:2: state 1 (q=0) is listed 2 times: the .arm file does not tell the "
                "firings apart; let gen write the .firings file (-D)",
            solveWithoutFirings(options).error().text());
}

// d (delay 1) and x (rate 0.5) both lead from q = 0 to q = 1, and the .arm
// file sums x's rate and d's negated probability to -0.5. The .firings file
// tells them apart: d cannot fire by 0.5, so P(q = 1) = 1 - e^-0.25 there.
// Without it the record is refused rather than read as half a firing.
TEST_F(SolveTest, ARateThatHidesPartOfAFiringNeedsTheFiringsFile) {
  TestPVModel model("net", {{"q", 0}},
                    {deterministic("d", 1.0).when(markingIs(0, 0)).fires(setMarking(0, 1)),
                     exponential("x", 0.5).when(markingIs(0, 0)).fires(setMarking(0, 1))});
  solver::SolveOptions options;
  options.times = {0.5};
  const auto named = solveModel(model, options);
  ASSERT_TRUE(named.ok()) << named.error().text();
  expectValue(1 - std::exp(-0.25), named.value().values[0], 1e-10);
  EXPECT_EQ(dir.prefix() +
                "m.arm: the deterministic firing of state 1 (q=0) has probability 0.5, not 1: a "
                "rate to the same state hides part of it; let gen write the .firings file (-D)",
            solveWithoutFirings(options).error().text());
}

// The delay d, enabled in q = 0 and q = 1, keeps running when q moves from
// 0 to 1: it fires at time 1 and q is 2 at 1.5. Restarted on the move, it
// would leave q at 1 with probability e^-0.5 - e^-1. The clock is the same
// whether the files name the activity (".firings") or only its delay.
TEST_F(SolveTest, ADelayKeepsRunningWhileOtherActivitiesFire) {
  TestPVModel model("net", {{"q", 0}},
                    {exponential("move", 1.0).when(markingIs(0, 0)).fires(setMarking(0, 1)),
                     deterministic("d", 1.0)
                         .when([](ssg_test::Marks m) { return m[0] < 2; })
                         .fires(setMarking(0, 2))});
  solver::SolveOptions options;
  options.times = {0.5, 1.5};
  const auto named = solveModel(model, options);
  ASSERT_TRUE(named.ok()) << named.error().text();
  expectValue(1 - std::exp(-0.5), named.value().values[0], 1e-10);
  expectValue(2.0, named.value().values[1], 1e-10);
  const auto unnamed = solveWithoutFirings(options);
  ASSERT_TRUE(unnamed.ok()) << unnamed.error().text();
  expectValue(2.0, unnamed.value().values[1], 1e-10);
}

// A component fails at rate l and is rebooted exactly d after it fails (q =
// 1 while down). It is up at t when n whole cycles (failure and reboot) end
// by t and the next failure comes after t, for some n:
// A(t) = sum over n d <= t of Poisson(l (t - n d); n), which is e^-lt below
// d and e^-lt + l (t - d) e^-l(t - d) up to 2d; in the long run it is up for
// the share 1 / (1 + l d) of the time.
TEST_F(SolveTest, AComponentRebootedAFixedTimeAfterItFailsFollowsItsClosedForm) {
  const double l = 0.5;
  const double d = 1.0;
  TestPVModel model("net", {{"q", 0}},
                    {exponential("fail", l).when(markingIs(0, 0)).fires(setMarking(0, 1)),
                     deterministic("reboot", d).when(markingIs(0, 1)).fires(setMarking(0, 0))});
  solver::SolveOptions options;
  options.times = {0.5, 1.0, 1.5, 2.0, 3.7, 10.0};
  options.longRun = true;
  const auto solution = solveModel(model, options);
  ASSERT_TRUE(solution.ok()) << solution.error().text();
  const auto availability = [&](double t) {
    double sum = 0;
    for (int n = 0; n * d <= t; n++) {
      const double x = l * (t - n * d);
      sum += std::exp(-x + n * std::log(x) - std::lgamma(n + 1.0));
    }
    return sum;
  };
  const std::vector<solver::VariableValue>& values = solution.value().values;
  ASSERT_EQ(options.times.size() + 1, values.size());
  EXPECT_NEAR(std::exp(-l * 1.5) + l * 0.5 * std::exp(-l * 0.5), availability(1.5), 1e-15);
  for (std::size_t i = 0; i < options.times.size(); i++) {
    SCOPED_TRACE("t = " + std::to_string(options.times[i]));
    expectValue(1 - availability(options.times[i]), values[i], 1e-10);
  }
  expectValue(1 - 1 / (1 + l * d), values.back(), 1e-10);
  EXPECT_NE(std::string::npos, notes(solution.value()).find("(the error given is a bound)"));
}

// The same component over intervals: its up time over [0, T] integrates
// each term of A, (1 / l) P(N(l (T - n d)) > n) by the Erlang distribution
// function: (1 - e^-lT) / l below d, plus (1 - e^-ls (1 + l s)) / l with s
// = T - d up to 2d. Its down time (the reward) is the rest of T; an
// impulse i on each failure adds i l per unit of up time. A loose bound
// leaves more out, and the value must still lie within the error printed.
TEST_F(SolveTest, TheRebootedComponentsDownTimeOverIntervalsFollowsItsClosedForm) {
  const double l = 0.5;
  const double d = 1.0;
  const auto upTime = [&](double t) {
    double sum = 0;
    for (int n = 0; n * d <= t; n++) {
      const double x = l * (t - n * d);
      double atMost = 0;  // P(N(x) <= n)
      for (int j = 0; j <= n && x > 0; j++) {
        atMost += std::exp(-x + j * std::log(x) - std::lgamma(j + 1.0));
      }
      sum += (x > 0 ? 1 - atMost : 0) / l;
    }
    return sum;
  };
  EXPECT_NEAR((1 - std::exp(-l * 0.5)) / l, upTime(0.5), 1e-15);
  EXPECT_NEAR((1 - std::exp(-l * 1.5)) / l + (1 - std::exp(-l * 0.5) * (1 + l * 0.5)) / l,
              upTime(1.5), 1e-15);
  // Before the first reboot can end, across it, from a later start, and
  // over several cycles (each about 1 / l + d long).
  const std::vector<std::pair<double, double>> spans = {
      {0, 0.5}, {0, 1.5}, {0.5, 1.5}, {1.5, 3.7}, {2.25, 2.5}, {0, 20}};
  for (const double impulse : {0.0, 4.0}) {
    SCOPED_TRACE("impulse " + std::to_string(impulse));
    std::vector<ssg_test::ImpulseDef> impulses;
    if (impulse > 0) {
      impulses.push_back({"fail", impulse});
    }
    TestPVModel model("net", {{"q", 0}},
                      {exponential("fail", l).when(markingIs(0, 0)).fires(setMarking(0, 1)),
                       deterministic("reboot", d).when(markingIs(0, 1)).fires(setMarking(0, 0))},
                      impulses);
    solver::SolveOptions options;
    ASSERT_TRUE(solveModel(model, options).ok());
    for (const auto& [type, epsilon] : {std::pair{1, 1e-10}, {2, 1e-10}, {1, 1e-2}, {2, 1e-2}}) {
      SCOPED_TRACE("type " + std::to_string(type) + ", bound " + std::to_string(epsilon));
      options.epsilon = epsilon;
      writeSpans(options.base, type, spans);
      const auto solution = solver::solve(options);
      ASSERT_TRUE(solution.ok()) << solution.error().text();
      EXPECT_TRUE(solution.value().withinBound);
      EXPECT_NE(std::string::npos, notes(solution.value()).find("(the error given is a bound)"));
      ASSERT_EQ(spans.size(), solution.value().values.size());
      for (std::size_t i = 0; i < spans.size(); i++) {
        const auto [a, b] = spans[i];
        SCOPED_TRACE("over [" + std::to_string(a) + ", " + std::to_string(b) + "]");
        const double up = upTime(b) - upTime(a);
        const double down = (b - a) - up + impulse * l * up;
        const solver::Estimate found = solution.value().values[i].estimate;
        // The bound leaves rounding out, and the closed form has its own.
        EXPECT_NEAR(type == 1 ? down : down / (b - a), found.value, found.error + 1e-14);
        EXPECT_LE(found.error, epsilon);
      }
    }
    // A span far shorter than its distance from 0 averages to the value at
    // its start, A earning the impulses and 1 - A the rest: none of its
    // digits are lost to its length.
    const double t = 20.25;
    double available = 0;
    for (int n = 0; n * d <= t; n++) {
      const double x = l * (t - n * d);
      available += std::exp(-x + n * std::log(x) - std::lgamma(n + 1.0));
    }
    writeSpans(options.base, 2, {{t, t + 1e-11}});
    options.epsilon = 1e-10;
    const auto instant = solver::solve(options);
    ASSERT_TRUE(instant.ok()) << instant.error().text();
    const solver::Estimate found = instant.value().values[0].estimate;
    EXPECT_NEAR(1 - available + impulse * l * available, found.value, found.error + 1e-10);
    EXPECT_LE(found.error, 1e-10);
  }
}

// A component whose failure is diagnosed (q from 1 to 2, at rate 3) while
// its reboot's clock runs: the series follows jumps inside a period, and
// the Erlang phases, used where the series gives up, agree with it within
// their estimate (barely: with an error shrinking like 1/k, the difference
// of k and 2k phases that it rests on is about the error itself).
TEST_F(SolveTest, OverIntervalsTheSeriesAndTheErlangPhasesAgree) {
  TestPVModel model(
      "net", {{"q", 0}},
      {exponential("fail", 0.5).when(markingIs(0, 0)).fires(setMarking(0, 1)),
       exponential("diagnose", 3.0).when(markingIs(0, 1)).fires(setMarking(0, 2)),
       deterministic("reboot", 1.0)
           .when([](ssg_test::Marks m) { return m[0] > 0; })
           .fires(setMarking(0, 0))});
  solver::SolveOptions options;
  ASSERT_TRUE(solveModel(model, options).ok());
  writeSpans(options.base, 1, {{0, 20}});
  const auto series = solver::solve(options);
  ASSERT_TRUE(series.ok()) << series.error().text();
  EXPECT_NE(std::string::npos, notes(series.value()).find("(the error given is a bound)"));
  // Too few steps for the series, enough for 64 phases.
  options.maxSteps = 3200;
  options.maxPhases = 64;
  const auto phases = solver::solve(options);
  ASSERT_TRUE(phases.ok()) << phases.error().text();
  EXPECT_NE(std::string::npos, notes(phases.value()).find("given up")) << notes(phases.value());
  EXPECT_NE(std::string::npos, notes(phases.value()).find("(the error given is an estimate)"));
  const solver::Estimate exact = series.value().values[0].estimate;
  const solver::Estimate estimate = phases.value().values[0].estimate;
  EXPECT_LE(exact.error, 1e-10);
  EXPECT_NEAR(exact.value, estimate.value, estimate.error);
  // A span far beyond the steps is given up before its terms are held,
  // and the phases say how many steps it needs.
  writeSpans(options.base, 1, {{0, 1e12}});
  const auto far = solver::solve(options);
  ASSERT_FALSE(far.ok());
  EXPECT_NE(std::string::npos, far.error().text().find("uniformization needs")) << far.error().text();
}

// The same component can also be replaced, at rate m, while it is down,
// which disables the reboot. A cycle is up for 1/l on average and down for
// E min(d, Exp(m)) = (1 - e^-md) / m, so in the long run it is up for the
// share (1/l) / (1/l + (1 - e^-md) / m). Its transient values come from
// the series corrected where the clock fires, whose error is a bound.
TEST_F(SolveTest, ARebootDisabledByAReplacementFollowsItsClosedFormInTheLongRun) {
  const double l = 0.5;
  const double m = 2.0;
  const double d = 1.0;
  TestPVModel model("net", {{"q", 0}},
                    {exponential("fail", l).when(markingIs(0, 0)).fires(setMarking(0, 1)),
                     exponential("replace", m).when(markingIs(0, 1)).fires(setMarking(0, 2)),
                     exponential("restart", 4.0).when(markingIs(0, 2)).fires(setMarking(0, 0)),
                     deterministic("reboot", d).when(markingIs(0, 1)).fires(setMarking(0, 0))});
  solver::SolveOptions options;
  options.times = {1.5};
  options.longRun = true;
  options.maxPhases = 4;
  const auto solution = solveModel(model, options);
  ASSERT_TRUE(solution.ok()) << solution.error().text();
  // q is 1 while down before the replacement or reboot and 2 while the
  // replacement restarts (mean 1/4).
  const double down = (1 - std::exp(-m * d)) / m;
  const double restart = (1 - std::exp(-m * d)) * 0.25;
  const double cycle = 1 / l + down + restart;
  ASSERT_EQ(2u, solution.value().values.size());
  expectValue((down + 2 * restart) / cycle, solution.value().values[1], 1e-10);
  EXPECT_TRUE(solution.value().withinBound);
  EXPECT_NE(std::string::npos, notes(solution.value()).find("corrected where a clock fires"));
}

// A delay of 5 cannot fire by time 2: the value is the chain's without it,
// exact: q becomes 2 at rate 0.5, so E q(2) = 2 (1 - e^-1).
TEST_F(SolveTest, ADelayBeyondTheLastTimeIsLeftOutExactly) {
  TestPVModel model("net", {{"q", 0}},
                    {deterministic("late", 5.0).when(markingIs(0, 0)).fires(setMarking(0, 1)),
                     exponential("move", 0.5).when(markingIs(0, 0)).fires(setMarking(0, 2))});
  solver::SolveOptions options;
  options.times = {2.0};
  const auto solution = solveModel(model, options);
  ASSERT_TRUE(solution.ok()) << solution.error().text();
  expectValue(2 * (1 - std::exp(-1.0)), solution.value().values[0], 1e-10);
  EXPECT_EQ(dir.prefix() +
                "m: 3 states, 1 reward variable\n"
                "transient values: uniformization with Fox-Glynn truncation, absolute "
                "error bound 1e-10\n"
                "delay 5 (late) is longer than the last time point 2: it cannot fire "
                "before it and is left out (exact)\n"
                "uniformization rate 0.51: 13 of the 13 steps to the last time point\n",
            notes(solution.value()));
}

TEST_F(SolveTest, TwoShortDelaysInOneStateAreRefused) {
  TestPVModel model("net", {{"q", 0}},
                    {deterministic("d1", 1.0).when(markingIs(0, 0)).fires(setMarking(0, 1)),
                     deterministic("d2", 2.0).when(markingIs(0, 0)).fires(setMarking(0, 2))});
  solver::SolveOptions options;
  options.times = {3.0};
  EXPECT_EQ(dir.prefix() +
                "m: state 1 (q=0) enables the deterministic delays 1 (d1) and 2 (d2), "
                "which can both fire before the last time point 3; the solver handles "
                "one per state; it does not split into independent parts: its places do not "
                "fall into parts that no move changes together",
            solveModel(model, options).error().text());
}

// The files of a run written by hand: state 1 enables the delay 1 of d,
// whose firing leads to state 2, where done is 1.
const std::map<std::string, std::string> kHandRun = {
    {".pvtype", "Version:1\nNumPV:1\nName:done\nType:0\nNumTimes:1\nStart:2\nStop:2\n"},
    {".arm", "1\n2\n1\n2\n-1.0000000000e+00\n0\n2\n0\n"},
    {".var", "done\n1\n0\n0\n2\n0\n1\n"},
    {".det", "1\n1.0000000000e+00\n1\n0\n"},
    {".firings", "Activities:1\n1 d\n1 1 1.0000000000e+00 2 1.0000000000e+00\n"},
    {".imp", ""},
};

// Each change of the files above (an empty text removes the file) and the
// refusal it meets.
struct Disagreement {
  std::map<std::string, std::string> changes;
  std::string problem;
};

TEST_F(SolveTest, FilesThatDisagreeAndVariablesItDoesNotSolveAreRefused) {
  const std::string m = dir.prefix() + "m";
  const Disagreement cases[] = {
      {{}, "ok"},
      {{{".firings", "Activities:1\n1 d\n1 1 1.0000000000e+00 2 7.5000000000e-01\n"}},
       m + ".firings:3: the outcomes of this firing in state 1 have probability 0.75, not 1"},
      {{{".arm", "1\n2\n1\n2\n-1.5000000000e+00\n0\n2\n0\n"}},
       m + ".firings:3: the firings of state 1 to state 2 outweigh the value in " + m + ".arm"},
      {{{".arm", "1\n2\n1\n0\n2\n0\n"}},
       m + ".firings:3: state 1 has no transition to state 2 in " + m + ".arm"},
      {{{".det", "1\n2.0000000000e+00\n1\n0\n"}},
       m + ".firings:3: the .det file does not list state 1 under delay 1"},
      {{{".firings", "Activities:1\n1 d\n"}},
       m + ".det:2: state 1 enables this delay, but " + m + ".firings lists no firing of it there"},
      {{{".det", ""}, {".arm", "1\n2\n1\n2\n1.0000000000e+00\n0\n2\n0\n"}},
       m + ".firings: deterministic firings without a .det file"},
      {{{".pvtype", "Version:1\nNumPV:1\nName:done\nType:1\nNumTimes:1\nStart:2\nStop:2\n"}},
       m + ".pvtype:3: variable done is taken over intervals, but an interval's start 2 is not "
           "before its stop 2"},
      {{{".pvtype", "Version:1\nNumPV:1\nName:done\nType:3\nNumTimes:0\n"},
        {".imp", "Version:1\nNumPV:1\ndone\n1\n1\n0\n0\n2\n0\n0\n"}},
       m + ".imp: lists no impulses for the deterministic firing of state 1 (1 (d))"},
      {{{".pvtype", "Version:1\nNumPV:1\nName:done\nType:6\nNumTimes:0\n"}},
       m + ".pvtype:3: variable done has type 6: the solver knows types 0 to 5"},
      {{{".pvtype", "Version:1\nNumPV:1\nName:done\nType:0\nNumTimes:1\nStart:1\nStop:2\n"}},
       m + ".pvtype:3: variable done is taken at an instant, but a start and stop time differ"},
  };
  for (const Disagreement& c : cases) {
    std::map<std::string, std::string> files = kHandRun;
    for (const auto& [suffix, text] : c.changes) {
      files[suffix] = text;
    }
    for (const auto& [suffix, text] : files) {
      std::remove((m + suffix).c_str());
      if (!text.empty()) {
        std::ofstream(m + suffix) << text;
      }
    }
    solver::SolveOptions options;
    options.base = m;
    options.epsilon = 1e-6;
    const solver::Parsed<solver::Solution> solution = solver::solve(options);
    // A variable the solver cannot compute is refused in the solution.
    const std::string refused = solution.ok() && !solution.value().refused.empty()
                                    ? solution.value().refused[0].text()
                                    : "ok";
    EXPECT_EQ(c.problem, solution.ok() ? refused : solution.error().text());
  }
}

// A failure (state 4) needs an exposure (state 1) of exactly 1 that a
// repair at rate 1000 interrupts (to state 2), and the next exposure comes
// at rate 1: the mean time, about e^1000, is finite, though an exposure
// fails only with probability e^-1000, far below what the cycles keep. The
// solver says it cannot tell rather than call it infinite. With the
// failure leading to a state 3 that is not the condition, and the repair
// to it, the condition is avoided forever after that failure, however
// unlikely: infinite.
TEST_F(SolveTest, WhetherAMeanTimeIsInfiniteIsDecidedOnTheProcessNotItsCycles) {
  const std::string m = dir.prefix() + "m";
  const auto solveArm = [&](const std::string& arm) {
    std::ofstream(m + ".arm") << arm;
    std::ofstream(m + ".det") << "1\n1.0000000000e+00\n1\n0\n";
    std::ofstream(m + ".var") << "failed\n1\n0\n0\n2\n0\n0\n3\n0\n0\n4\n0\n1\n";
    std::ofstream(m + ".pvtype") << "Version:1\nNumPV:1\nName:failed\nType:4\nNumTimes:0\n";
    solver::SolveOptions options;
    options.base = m;
    const solver::Parsed<solver::Solution> solution = solver::solve(options);
    EXPECT_TRUE(solution.ok()) << solution.error().text();
    return solution.ok() ? solution.value() : solver::Solution();
  };
  const solver::Solution rare =
      solveArm("1\n4\n1\n2\n1.0e+03\n4\n-1.0e+00\n0\n2\n1\n1.0e+00\n0\n3\n0\n4\n0\n");
  ASSERT_EQ(1u, rare.values.size());
  EXPECT_FALSE(rare.values[0].infinite);
  EXPECT_TRUE(std::isinf(rare.values[0].estimate.error));
  EXPECT_FALSE(rare.withinBound);
  EXPECT_NE(std::string::npos, notes(rare).find("failed: the condition is reached only through "
                                                "cycles of probability below 1e-20"));
  const solver::Solution trapped =
      solveArm("1\n4\n1\n2\n1.0e+03\n3\n-1.0e+00\n0\n2\n4\n1.0e+00\n0\n3\n0\n4\n0\n");
  ASSERT_EQ(1u, trapped.values.size());
  EXPECT_TRUE(trapped.values[0].infinite);
  EXPECT_TRUE(trapped.withinBound);
}

class SolveCommandTest : public testing::Test {
 protected:
  ProgramRun solve(const std::string& arguments) {
    return dir.run(std::string(SOLVE_EXECUTABLE) + " " + arguments);
  }
  ScratchDir dir;
};

TEST_F(SolveCommandTest, PrintsTheTableAndRefusesBadArguments) {
  ASSERT_EQ(0, dir.run(std::string(GEN_EXECUTABLE) + " -Pout -N1 -B0 -D").status);
  const ProgramRun byBase = solve("out1");
  EXPECT_EQ(0, byBase.status);
  EXPECT_EQ("", byBase.err);
  EXPECT_NE(std::string::npos,
            byBase.out.find("\nvariable          time             value    error\n"
                            "reliability        365  8.35157"))
      << byBase.out;
  EXPECT_EQ(byBase.out, solve("-Pout -N1").out);
  // At time 0 the run is in its initial state, where nothing has failed.
  const ProgramRun start = solve("-t 0 out1");
  EXPECT_EQ(0, start.status) << start.err;
  EXPECT_NE(std::string::npos, start.out.find("\nreliability          0  0.0000000000e+00  0.0e+00\n"))
      << start.out;
  // The first line of each refusal (some go on with the usage).
  const std::pair<std::string, std::string> refused[] = {
      {"-e abc out1", "solve: option -e: \"abc\" is not a number between 0 and 1\n"},
      {"-e 1 out1", "solve: option -e: \"1\" is not a number between 0 and 1\n"},
      {"-t 1,,2 out1",
       "solve: option -t: \"1,,2\" is not a comma-separated list of times of "
       "at least 0\n"},
      {"-t -1 out1",
       "solve: option -t: \"-1\" is not a comma-separated list of times of at least 0\n"},
      {"-k 1 out1", "solve: option -k: \"1\" is not a whole number from 2 to 1048576\n"},
      {"-m 0 out1", "solve: option -m: \"0\" is not a whole number from 1 to 1099511627776\n"},
      {"out1 -m", "solve: option -m needs a value\n"},
      {"-x out1", "solve: unknown option -x\n"},
      {"-Pout -N1 out1", "solve: give one base path, or -P and -N\n"},
      {"-Pout out1", "solve: give one base path, or -P and -N\n"},
      {"out1 out2", "solve: give one base path, or -P and -N\n"},
      {"none", "solve: none.pvtype: no such file\n"},
      {"fifo", "solve: fifo.pvtype: is a FIFO (named pipe), not a regular file\n"},
  };
  ASSERT_EQ(0, mkfifo((dir.prefix() + "fifo.pvtype").c_str(), 0600));
  for (const auto& [arguments, message] : refused) {
    const ProgramRun run = solve(arguments);
    EXPECT_EQ(1, run.status) << arguments;
    EXPECT_EQ(message, run.err.substr(0, run.err.find('\n') + 1)) << arguments;
  }
  const ProgramRun bare = solve("");
  EXPECT_EQ(1, bare.status);
  EXPECT_EQ(0u, bare.err.find("solve: no run given\nusage: solve"));
  const ProgramRun help = solve("-h");
  EXPECT_EQ(0, help.status);
  EXPECT_EQ(0u, help.out.find("usage: solve"));
}

// The job shop keeps an impulse on an instant-of-time variable: that
// variable is refused with what to write instead, the others are solved.
TEST_F(SolveCommandTest, AnImpulseAtAnInstantIsRefusedAndTheOtherVariablesSolved) {
  ASSERT_EQ(0, dir.run(std::string(BENCH_BINARY_DIR) + "/job_shop -Pout -N1 -B0").status);
  const ProgramRun run = solve("out1");
  EXPECT_EQ(1, run.status);
  EXPECT_EQ(
      "solve: out1.pvtype:23: variable rejections has impulse rewards, which an instant of "
      "time cannot count: an impulse is earned in no time; write 'rejections over [0, 100]' "
      "for the expected count by time 100, or 'rejections in the long run' for its rate\n",
      run.err);
  EXPECT_NE(std::string::npos, run.out.find("\nqueue_length4        100  5.54368")) << run.out;
  EXPECT_EQ(std::string::npos, run.out.find("rejections")) << run.out;
}

// With too few steps for the series and at most 4 phases, the reboot
// disabled by a replacement stays far from the bound.
TEST_F(SolveCommandTest, ABoundNotReachedPrintsTheValuesAndFails) {
  TestPVModel model("net", {{"q", 0}},
                    {exponential("fail", 1.0).when(markingIs(0, 0)).fires(setMarking(0, 1)),
                     exponential("replace", 1.0).when(markingIs(0, 1)).fires(setMarking(0, 0)),
                     deterministic("reboot", 1.0).when(markingIs(0, 1)).fires(setMarking(0, 0))});
  ssg_test::generateAsking(&model, dir.prefix());
  const ProgramRun coarse = solve("-k 4 -m 40 -t 1.5 m");
  EXPECT_EQ(1, coarse.status);
  EXPECT_NE(std::string::npos,
            coarse.out.find("k = 4: the values still differ by more than the bound"))
      << coarse.out;
  EXPECT_NE(std::string::npos, coarse.out.find("\nmarking         1.5")) << coarse.out;
  EXPECT_EQ(
      "solve: m: the error bound 1e-10 was not reached; the values above carry the "
      "errors reached\n",
      coarse.err);
}

// -d prints every digit, -c writes the values as CSV beside the table, -r
// bounds each value relative to itself; a bound double precision cannot
// reach is raised with a note and the run ends at once with what it
// reached (it took minutes).
TEST_F(SolveCommandTest, DigitsCsvRelativeBoundsAndBoundsBeyondDoublePrecision) {
  ASSERT_EQ(0, dir.run(std::string(GEN_EXECUTABLE) + " -Pout -N1 -B0 -D").status);
  const ProgramRun table = solve("-d -c values.csv out1");
  EXPECT_EQ(0, table.status) << table.err;
  EXPECT_NE(std::string::npos, table.out.find("reliability        365  8.3515759808508"));
  EXPECT_EQ(
      0u, dir.read("values.csv").find("variable,time,value,error\nreliability,365,0.00083515759"));
  const ProgramRun relative = solve("-r 1e-3 -e 1e-20 out1");
  EXPECT_EQ(0, relative.status) << relative.err;
  EXPECT_NE(std::string::npos,
            relative.out.find("absolute error bound 1e-20, relative bound 0.001"));
  const ProgramRun tight = solve("-e 1e-16 out1");
  EXPECT_EQ(1, tight.status);
  EXPECT_NE(std::string::npos,
            tight.out.find("the bound 1e-16 is below what double precision can reach for rewards "
                           "up to 1: raised to 7.5e-15"))
      << tight.out;
  EXPECT_EQ(
      "solve: out1: the error bound 7.5e-15 was not reached; the values above carry the "
      "errors reached\n",
      tight.err);
  EXPECT_EQ(
      "solve: option -r: \"1e-16\" is not a number from 1e-14 (what double precision can "
      "reach) to 1\n",
      solve("-r 1e-16 out1").err);
}

// A computation that would take minutes reports its progress on standard
// error and, stopped by SIGINT, prints what it has with the bounds reached
// and fails: two absorbing states never agree, so all 2e10 steps are needed.
TEST_F(SolveCommandTest, ALongComputationTalksAndKeepsItsValuesWhenStopped) {
  solver_test::HandRun run{3, {{0, 1, 1}, {0, 2, 1}}, {}};
  run.variables = {{"outcome", 0, {{1e10, 1e10}}, {0, 1, 0}, {}}};
  solver_test::writeRun(run, dir.prefix() + "m");
  // --foreground: timeout signals the child alone; otherwise its process
  // group gets a second SIGINT, which is meant to end the run at once.
  const ProgramRun stopped = dir.run("timeout --foreground --preserve-status -s INT 5 " +
                                     std::string(SOLVE_EXECUTABLE) + " -m 100000000000 m");
  EXPECT_EQ(1, stopped.status);
  EXPECT_NE(std::string::npos,
            stopped.out.find("\noutcome       1e+10  5.0000000000e-01  5.0e-01\n"))
      << stopped.out;
  EXPECT_NE(std::string::npos, stopped.err.find("solve: uniformization steps: ")) << stopped.err;
  EXPECT_NE(std::string::npos,
            stopped.err.find("solve: m: stopped on request; the values above carry the bounds "
                             "reached\n"))
      << stopped.err;
}

}  // namespace
