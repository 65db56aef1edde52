// The delay lists of a distributed run's processes, merged: the list one
// process builds from every state in number order.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "generator/DeterministicList.h"
#include "generator/distributed/PartMerger.h"

namespace {

std::string text(const DeterministicList& list) {
  std::ostringstream out;
  list.writeEnablingStates(out, TextFile);
  return out.str();
}

TEST(PartMergerTest, DelayListsMergeInTheOrderOneProcessListsThem) {
  // (state, delay) in exploration order; states alternate between two
  // processes. State 3 meets 7 first and then 3 again; state 4 enables 5
  // twice; state 6 meets two new delays, 9 before 8; delay 8 first appears
  // on the other process than the one whose list holds 9 first.
  const std::vector<std::pair<int, double>> firings = {{1, 5.0}, {2, 3.0}, {2, 5.0}, {3, 7.0},
                                                       {3, 3.0}, {4, 5.0}, {4, 5.0}, {5, 7.0},
                                                       {6, 9.0}, {6, 8.0}, {7, 8.0}, {8, 3.0}};
  DeterministicList alone;
  DeterministicList parts[2];
  for (const auto& [state, delay] : firings) {
    alone.insertEnablingState(state, delay);
    parts[state % 2].insertEnablingState(state, delay);
  }
  DeterministicList merged;
  PartMerger::MergeDeterministic({PartMerger::Serialize(parts[0]), PartMerger::Serialize(parts[1])},
                                 merged);
  EXPECT_EQ(text(alone), text(merged));
  // A process with no delays adds nothing.
  DeterministicList none;
  DeterministicList again;
  PartMerger::MergeDeterministic({PartMerger::Serialize(none), PartMerger::Serialize(alone)},
                                 again);
  EXPECT_EQ(text(alone), text(again));
}

}  // namespace
