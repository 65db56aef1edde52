// A process in independent parts: a state's share the product of its
// parts', in the long run unless two parts move only by fixed delays and so
// may keep in step.
#include "solver/ProductOfParts.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

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

// The shares of a part's two states as solved: each off by its error.
solver::Evaluation solved(double first, double second, double error) {
  solver::Evaluation shares;
  shares.estimates = {{first + error, error, 0.0}, {second + error, error, 0.0}};
  return shares;
}

TEST(ProductOfPartsTest, AStateSharesTheProductOfItsPartsWithinTheBound) {
  // Whole states 0..3: (first, second) = (0,0), (1,0), (0,1), (1,1); the
  // reward is 1 in (0,0) and 2 in (1,1). Exact shares: a half each for the
  // first part, 3/4 and 1/4 for the second.
  const std::vector<double> rewards = {1, 0, 0, 2};
  const std::vector<solver::MeasureRequest> requests = {
      {0, solver::VariableKind::kLongRun, 0.0, INFINITY}};
  const std::vector<solver::ProcessPart> parts = {alternating({0, 1, 0, 1}),
                                                  exponential({0, 0, 1, 1})};
  EXPECT_EQ("", solver::partsRefusal(parts, requests));
  const std::vector<solver::Estimate> values = solver::productOfParts(
      parts, {solved(0.5, 0.5, 1e-6), solved(0.75, 0.25, 2e-6)}, rewards, 1, requests);
  ASSERT_EQ(1u, values.size());
  EXPECT_NEAR(0.5 * 0.75 + 2 * 0.5 * 0.25, values[0].value, values[0].error);
  EXPECT_LE(values[0].error, 2 * ((1 + 2e-6) * (1 + 4e-6) - 1) * 1.001);
}

TEST(ProductOfPartsTest, TwoPartsMovingOnlyByDelaysMayKeepInStepInTheLongRun) {
  // Two alternating parts started together stay in step: (0,0) and (1,1)
  // half of the time each, not a quarter as their product says. At an
  // instant they multiply.
  const std::vector<solver::ProcessPart> inStep = {alternating({0, 1, 0, 1}),
                                                   alternating({0, 0, 1, 1})};
  EXPECT_EQ("two of its parts move only by fixed delays in the long run and may keep in step",
            solver::partsRefusal(inStep, {{0, solver::VariableKind::kLongRun, 0.0, INFINITY}}));
  EXPECT_EQ("", solver::partsRefusal(inStep, {{0, solver::VariableKind::kInstant, 2.5, 2.5}}));
}

}  // namespace
