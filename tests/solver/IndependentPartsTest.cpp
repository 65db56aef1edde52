// Splitting a process into independent parts from its markings: what
// splits, and each reason a process does not.
#include "solver/IndependentParts.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>

#include "tests/solver/Chains.h"

namespace {

using solver_test::Rate;

// A process of the given moves over states marked (a, b), with a delay of 2
// that sets a back to 0 where `delayed` lists the state and its target.
solver::DeterministicProcess processOf(const std::vector<std::pair<int, int>>& marks,
                                       std::vector<Rate> rates,
                                       std::vector<std::pair<std::uint32_t, std::uint32_t>> delayed,
                                       solver::MarkingTable& markings) {
  markings.variables = {"a", "b"};
  for (const auto& [a, b] : marks) {
    markings.markings.push_back(static_cast<std::int16_t>(a));
    markings.markings.push_back(static_cast<std::int16_t>(b));
  }
  solver::DeterministicProcess process;
  const auto n = static_cast<std::uint32_t>(marks.size());
  process.exponential = solver_test::chainOf(n, std::move(rates), {});
  process.firingOf.assign(n, -1);
  process.clockNames = {"reset"};
  for (const auto& [state, target] : delayed) {
    process.firingOf[state] = static_cast<std::int64_t>(process.firings.size());
    process.firings.push_back({0, 2.0, {{target, 1.0}}, {}});
  }
  return process;
}

std::string reason(const std::variant<std::vector<solver::ProcessPart>, std::string>& split) {
  return std::holds_alternative<std::string>(split) ? std::get<std::string>(split) : "";
}

TEST(IndependentPartsTest, TwoPlacesMovedApartAreTwoParts) {
  // a rises at rate 1 and is reset by the delay; b goes up and down at 3 and 4.
  solver::MarkingTable markings;
  const solver::DeterministicProcess process = processOf(
      {{0, 0}, {1, 0}, {0, 1}, {1, 1}},
      {{0, 1, 1}, {0, 2, 3}, {1, 3, 3}, {2, 0, 4}, {2, 3, 1}, {3, 1, 4}}, {{1, 0}, {3, 2}},
      markings);
  const auto split = solver::independentParts(process, markings);
  ASSERT_EQ("", reason(split));
  const auto& parts = std::get<std::vector<solver::ProcessPart>>(split);
  ASSERT_EQ(2u, parts.size());
  EXPECT_EQ(std::vector<std::string>{"a"}, parts[0].places);
  EXPECT_EQ((std::vector<std::uint32_t>{0, 1, 0, 1}), parts[0].stateOf);
  EXPECT_EQ(1u, parts[0].process.firings.size());
  EXPECT_EQ(0, parts[0].process.firingOf[1]);
  EXPECT_EQ((std::vector<double>{3, 4}), parts[1].process.exponential.rate);
  EXPECT_TRUE(parts[1].process.firings.empty());
}

TEST(IndependentPartsTest, AProcessThatDoesNotSplitSaysWhy) {
  solver::MarkingTable markings;
  // a rises only while b is 0, and b only while a is 0: (1, 1) is never reached.
  auto process = processOf({{0, 0}, {1, 0}, {0, 1}}, {{0, 1, 1}, {0, 2, 1}}, {}, markings);
  EXPECT_EQ("its states are not every combination of its parts' markings",
            reason(solver::independentParts(process, markings)));
  // b falls at 4 where a is 0 and at 5 where a is 1.
  markings = {};
  process = processOf({{0, 0}, {1, 0}, {0, 1}, {1, 1}},
                      {{0, 1, 1}, {0, 2, 3}, {1, 3, 3}, {2, 0, 4}, {2, 3, 1}, {3, 1, 5}}, {},
                      markings);
  EXPECT_EQ(
      "the rate from state 4 (a=1 b=1) to state 2 depends on places its move does not change",
      reason(solver::independentParts(process, markings)));
  // b cannot fall where a is 1.
  markings = {};
  process = processOf({{0, 0}, {1, 0}, {0, 1}, {1, 1}},
                      {{0, 1, 1}, {0, 2, 3}, {1, 3, 3}, {2, 0, 4}, {2, 3, 1}}, {}, markings);
  EXPECT_EQ("a move of state 4 (a=1 b=1)'s part is enabled or not by places it does not change",
            reason(solver::independentParts(process, markings)));
  // The delay resets a only where b is 0.
  markings = {};
  process = processOf({{0, 0}, {1, 0}, {0, 1}, {1, 1}},
                      {{0, 1, 1}, {0, 2, 3}, {1, 3, 3}, {2, 0, 4}, {2, 3, 1}, {3, 1, 4}}, {{1, 0}},
                      markings);
  EXPECT_EQ("a delay of state 4 (a=1 b=1)'s part is enabled or not by places it does not change",
            reason(solver::independentParts(process, markings)));
  // One move changes both places.
  markings = {};
  process = processOf({{0, 0}, {1, 1}}, {{0, 1, 1}, {1, 0, 1}}, {}, markings);
  EXPECT_EQ("its places do not fall into parts that no move changes together",
            reason(solver::independentParts(process, markings)));
}

}  // namespace
