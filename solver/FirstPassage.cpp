#include "solver/FirstPassage.h"

#include <cmath>
#include <vector>

#include "solver/Progress.h"

namespace solver {

namespace {

// The states reachable from the initial state without entering the
// condition, ascending.
std::vector<std::uint32_t> reachableBefore(const MarkovChain& chain,
                                           const std::vector<bool>& holds) {
  std::vector<bool> seen(chain.size(), false);
  std::vector<std::uint32_t> stack{chain.initial};
  seen[chain.initial] = true;
  while (!stack.empty()) {
    const std::uint32_t s = stack.back();
    stack.pop_back();
    for (std::uint64_t e = chain.rowStart[s]; e < chain.rowStart[s + 1]; e++) {
      const std::uint32_t t = chain.column[e];
      if (!seen[t] && !holds[t]) {
        seen[t] = true;
        stack.push_back(t);
      }
    }
  }
  std::vector<std::uint32_t> states;
  for (std::uint32_t s = 0; s < chain.size(); s++) {
    if (seen[s]) {
      states.push_back(s);
    }
  }
  return states;
}

// Whether each state can reach the condition, searched backwards along the
// transitions.
std::vector<bool> canReach(const MarkovChain& chain, const std::vector<bool>& holds) {
  const std::size_t n = chain.size();
  const MarkovChain into = transposed(chain);
  const std::vector<std::uint64_t>& start = into.rowStart;
  const std::vector<std::uint32_t>& source = into.column;
  std::vector<bool> reaches = holds;
  std::vector<std::uint32_t> stack;
  for (std::uint32_t s = 0; s < n; s++) {
    if (holds[s]) {
      stack.push_back(s);
    }
  }
  while (!stack.empty()) {
    const std::uint32_t t = stack.back();
    stack.pop_back();
    for (std::uint64_t e = start[t]; e < start[t + 1]; e++) {
      if (!reaches[source[e]]) {
        reaches[source[e]] = true;
        stack.push_back(source[e]);
      }
    }
  }
  return reaches;
}

}  // namespace

bool canAvoidForever(const MarkovChain& chain, const std::vector<bool>& holds) {
  const std::vector<bool> reaches = canReach(chain, holds);
  for (std::uint32_t s : reachableBefore(chain, holds)) {
    if (!reaches[s]) {
      return true;
    }
  }
  return false;
}

FirstPassage meanTimeToCondition(const MarkovChain& chain, std::size_t variable,
                                 const MeasureSettings& settings) {
  FirstPassage result;
  std::vector<bool> holds(chain.size());
  for (std::size_t s = 0; s < chain.size(); s++) {
    holds[s] = chain.rewards[s * chain.numVariables + variable] == 1.0;
  }
  if (holds[chain.initial]) {
    result.method = "none needed";
    return result;
  }
  if (canAvoidForever(chain, holds)) {
    result.infinite = true;
    return result;
  }
  const std::vector<std::uint32_t> before = reachableBefore(chain, holds);
  if (settings.linear.progress != nullptr) {
    settings.linear.progress->begin("mean time to a condition: iterations of the linear solver", 0);
  }
  SubchainSystem system(chain, before, settings.linear);
  result.method = system.method();
  double factor = 0.0;
  const double time =
      system.leavingTime(factor)[static_cast<std::size_t>(system.local(chain.initial))];
  result.estimate = {time, std::isinf(factor) ? INFINITY : time * (factor - 1), 0.0};
  return result;
}

}  // namespace solver
