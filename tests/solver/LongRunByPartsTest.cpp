// The long run of a process in independent parts: the product of the
// parts' distributions, unless two parts move only by fixed delays and so
// may keep in step.
#include "solver/LongRunByParts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <variant>

#include "tests/solver/Chains.h"

namespace {

// A part of two states that alternate by a fixed delay of 1 each way: half
// of the time in each, whatever the other parts do.
solver::ProcessPart alternating(std::vector<std::uint32_t> stateOf) {
  solver::ProcessPart part;
  part.process.exponential = solver_test::chainOf(2, {}, {});
  part.process.clockNames = {"there", "back"};
  part.process.firings = {{0, 1.0, {{1, 1.0}}, {}}, {1, 1.0, {{0, 1.0}}, {}}};
  part.process.firingOf = {0, 1};
  part.stateOf = std::move(stateOf);
  return part;
}

// A part of two states left at rates 1 and 3: three quarters of the time in the first.
solver::ProcessPart exponential(std::vector<std::uint32_t> stateOf) {
  solver::ProcessPart part;
  part.process.exponential = solver_test::chainOf(2, {{0, 1, 1.0}, {1, 0, 3.0}}, {});
  part.process.firingOf = {-1, -1};
  part.stateOf = std::move(stateOf);
  return part;
}

TEST(LongRunByPartsTest, AStateSharesTheProductOfItsPartsUnlessTwoPartsMayKeepInStep) {
  // Whole states 0..3: (first, second) = (0,0), (1,0), (0,1), (1,1); the
  // reward is 1 in (0,0) and 2 in (1,1).
  const std::vector<double> rewards = {1, 0, 0, 2};
  const std::vector<solver::MeasureRequest> requests = {
      {0, solver::VariableKind::kLongRun, 0.0, INFINITY}};
  const solver::EvaluationSettings settings;
  std::vector<solver::ProcessPart> parts = {alternating({0, 1, 0, 1}), exponential({0, 0, 1, 1})};
  auto found = solver::longRunByParts(parts, rewards, 1, requests, settings, 1e-20);
  ASSERT_TRUE(std::holds_alternative<solver::Evaluation>(found)) << std::get<std::string>(found);
  const solver::Estimate& value = std::get<solver::Evaluation>(found).estimates.at(0);
  EXPECT_NEAR(0.5 * 0.75 + 2 * 0.5 * 0.25, value.value, value.error);
  EXPECT_LE(value.error, 1e-10);

  // Two alternating parts started together stay in step: (0,0) and (1,1)
  // half of the time each, not a quarter as their product says.
  std::vector<solver::ProcessPart> inStep = {alternating({0, 1, 0, 1}),
                                             alternating({0, 0, 1, 1})};
  found = solver::longRunByParts(inStep, rewards, 1, requests, settings, 1e-20);
  ASSERT_TRUE(std::holds_alternative<std::string>(found));
  EXPECT_EQ("two of its parts move only by fixed delays in the long run and may keep in step",
            std::get<std::string>(found));
}

}  // namespace
