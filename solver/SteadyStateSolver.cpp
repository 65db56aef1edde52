#include "solver/SteadyStateSolver.h"

#include <algorithm>
#include <cmath>

namespace solver {

namespace {

// Tarjan's algorithm without recursion: each state's strongly connected
// component, numbered in the order they close.
std::vector<std::int64_t> components(const MarkovChain& chain) {
  const std::size_t n = chain.size();
  std::vector<std::int64_t> index(n, -1);
  std::vector<std::int64_t> lowest(n, 0);
  std::vector<std::int64_t> component(n, -1);
  std::vector<bool> onStack(n, false);
  std::vector<std::uint32_t> stack;
  struct Call {
    std::uint32_t state;
    std::uint64_t nextEdge;
  };
  std::vector<Call> calls;
  std::int64_t counter = 0;
  std::int64_t numComponents = 0;
  const auto open = [&](std::uint32_t state) {
    index[state] = lowest[state] = counter++;
    stack.push_back(state);
    onStack[state] = true;
    calls.push_back({state, chain.rowStart[state]});
  };
  for (std::uint32_t root = 0; root < n; root++) {
    if (index[root] >= 0) {
      continue;
    }
    open(root);
    while (!calls.empty()) {
      const std::uint32_t state = calls.back().state;
      if (calls.back().nextEdge < chain.rowStart[state + 1]) {
        const std::uint32_t target = chain.column[calls.back().nextEdge++];
        if (index[target] < 0) {
          open(target);
        } else if (onStack[target]) {
          lowest[state] = std::min(lowest[state], index[target]);
        }
        continue;
      }
      calls.pop_back();
      if (!calls.empty()) {
        lowest[calls.back().state] = std::min(lowest[calls.back().state], lowest[state]);
      }
      if (lowest[state] == index[state]) {
        std::uint32_t member;
        do {
          member = stack.back();
          stack.pop_back();
          onStack[member] = false;
          component[member] = numComponents;
        } while (member != state);
        numComponents++;
      }
    }
  }
  return component;
}

// Bounds on the long-run value of each variable in each bottom component.
struct Bounds {
  std::vector<double> low;  // of component c and variable v at c * numVariables + v
  std::vector<double> high;

  double width(std::size_t i) const { return high[i] - low[i]; }
};

Bounds componentBounds(const std::vector<std::int64_t>& bottom, std::size_t numBottom,
                       const std::vector<double>& x, std::size_t numVariables) {
  Bounds bounds{std::vector<double>(numBottom * numVariables, INFINITY),
                std::vector<double>(numBottom * numVariables, -INFINITY)};
  for (std::size_t i = 0; i < bottom.size(); i++) {
    if (bottom[i] < 0) {
      continue;
    }
    for (std::size_t v = 0; v < numVariables; v++) {
      const std::size_t at = bottom[i] * numVariables + v;
      bounds.low[at] = std::min(bounds.low[at], x[i * numVariables + v]);
      bounds.high[at] = std::max(bounds.high[at], x[i * numVariables + v]);
    }
  }
  return bounds;
}

bool narrow(const Bounds& bounds, double width) {
  for (std::size_t i = 0; i < bounds.low.size(); i++) {
    if (bounds.width(i) > width) {
      return false;
    }
  }
  return true;
}

// Power iteration until every bottom component's values lie within epsilon.
Bounds iterateComponents(const MarkovChain& chain, const std::vector<std::int64_t>& bottom,
                         std::size_t numBottom, double epsilon, std::uint64_t maxSteps) {
  const Uniformized uniformized(chain);
  std::vector<double> x = chain.rewards;
  std::vector<double> next(x.size());
  Bounds bounds = componentBounds(bottom, numBottom, x, chain.numVariables);
  for (std::uint64_t k = 0; k < maxSteps && !narrow(bounds, epsilon); k++) {
    uniformized.step(x, next);
    x.swap(next);
    bounds = componentBounds(bottom, numBottom, x, chain.numVariables);
  }
  return bounds;
}

// One bound per state: in a bottom component its own, in a transient state
// the extreme over all components.
std::vector<double> stateBounds(const std::vector<std::int64_t>& bottom,
                                const std::vector<double>& componentBound, std::size_t numVariables,
                                bool upper) {
  std::vector<double> extreme(numVariables, upper ? -INFINITY : INFINITY);
  for (std::size_t i = 0; i < componentBound.size(); i++) {
    const double b = componentBound[i];
    extreme[i % numVariables] =
        upper ? std::max(extreme[i % numVariables], b) : std::min(extreme[i % numVariables], b);
  }
  std::vector<double> bound(bottom.size() * numVariables);
  for (std::size_t i = 0; i < bottom.size(); i++) {
    for (std::size_t v = 0; v < numVariables; v++) {
      bound[i * numVariables + v] =
          bottom[i] < 0 ? extreme[v] : componentBound[bottom[i] * numVariables + v];
    }
  }
  return bound;
}

// One Gauss-Seidel sweep of the jump chain over the transient states: each
// takes the rate-weighted mean of its targets' bounds.
void sweep(const MarkovChain& chain, const std::vector<std::int64_t>& bottom,
           std::vector<double>& bound) {
  const std::size_t numVariables = chain.numVariables;
  std::vector<double> sum(numVariables);
  for (std::size_t i = 0; i < chain.size(); i++) {
    if (bottom[i] >= 0) {
      continue;
    }
    double exit = 0.0;
    sum.assign(numVariables, 0.0);
    for (std::uint64_t e = chain.rowStart[i]; e < chain.rowStart[i + 1]; e++) {
      exit += chain.rate[e];
      for (std::size_t v = 0; v < numVariables; v++) {
        sum[v] += chain.rate[e] * bound[chain.column[e] * numVariables + v];
      }
    }
    for (std::size_t v = 0; v < numVariables; v++) {
      bound[i * numVariables + v] = sum[v] / exit;
    }
  }
}

std::vector<Estimate> midpoints(const double* low, const double* high, std::size_t numVariables) {
  std::vector<Estimate> estimates;
  for (std::size_t v = 0; v < numVariables; v++) {
    estimates.push_back({(low[v] + high[v]) / 2, (high[v] - low[v]) / 2});
  }
  return estimates;
}

}  // namespace

std::vector<std::int64_t> bottomComponents(const MarkovChain& chain, std::size_t& numBottom) {
  std::vector<std::int64_t> component = components(chain);
  std::vector<bool> leaves(chain.size(), false);  // by component number
  for (std::size_t i = 0; i < chain.size(); i++) {
    for (std::uint64_t e = chain.rowStart[i]; e < chain.rowStart[i + 1]; e++) {
      if (component[chain.column[e]] != component[i]) {
        leaves[component[i]] = true;
      }
    }
  }
  std::vector<std::int64_t> number(chain.size(), -1);
  numBottom = 0;
  for (std::int64_t& c : component) {
    if (leaves[c]) {
      c = -1;
      continue;
    }
    if (number[c] < 0) {
      number[c] = static_cast<std::int64_t>(numBottom++);
    }
    c = number[c];
  }
  return component;
}

std::vector<Estimate> steadyStateRewards(const MarkovChain& chain, double epsilon,
                                         std::uint64_t maxSteps) {
  const std::size_t numVariables = chain.numVariables;
  std::size_t numBottom = 0;
  const std::vector<std::int64_t> bottom = bottomComponents(chain, numBottom);
  const Bounds bounds = iterateComponents(chain, bottom, numBottom, epsilon, maxSteps);
  const std::int64_t start = bottom[chain.initial];
  if (start >= 0) {
    return midpoints(bounds.low.data() + start * numVariables,
                     bounds.high.data() + start * numVariables, numVariables);
  }
  std::vector<double> low = stateBounds(bottom, bounds.low, numVariables, false);
  std::vector<double> high = stateBounds(bottom, bounds.high, numVariables, true);
  const std::size_t at = chain.initial * numVariables;
  const auto converged = [&] {
    for (std::size_t v = 0; v < numVariables; v++) {
      if (high[at + v] - low[at + v] > 2 * epsilon) {
        return false;
      }
    }
    return true;
  };
  for (std::uint64_t k = 0; k < maxSteps && !converged(); k++) {
    sweep(chain, bottom, low);
    sweep(chain, bottom, high);
  }
  return midpoints(low.data() + at, high.data() + at, numVariables);
}

}  // namespace solver
