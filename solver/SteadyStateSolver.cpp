#include "solver/SteadyStateSolver.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "solver/Progress.h"

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

const double kUnitRoundoff = DBL_EPSILON / 2;

// Bounds on the long-run value of each variable in one closed class.
struct ClassValue {
  std::vector<double> low;
  std::vector<double> high;

  double middle(std::size_t v) const { return (low[v] + high[v]) / 2; }
  double halfWidth(std::size_t v) const { return (high[v] - low[v]) / 2; }
};

double largestReward(const MarkovChain& chain) {
  double largest = 0.0;
  for (double r : chain.rewards) {
    largest = std::max(largest, std::fabs(r));
  }
  return largest;
}

// Where g is pinned matters: the mean times to reach the pin are the
// condition of the system, so the pin is the state the chain visits most
// (by an approximate stationary distribution from a first system, pinned
// at the first state: pi' B = pi(pin) times the pin's rates).
std::uint32_t likeliestState(const MarkovChain& chain, const std::vector<std::uint32_t>& members,
                             const MeasureSettings& settings) {
  LinearSettings quick = settings.linear;
  quick.maxIterations = std::min<std::uint64_t>(quick.maxIterations, 2000);
  SubchainSystem system(chain, std::vector<std::uint32_t>(members.begin() + 1, members.end()),
                        quick);
  std::vector<double> side(system.size(), 0.0);
  const std::uint32_t first = members.front();
  for (std::uint64_t e = chain.rowStart[first]; e < chain.rowStart[first + 1]; e++) {
    side[static_cast<std::size_t>(system.local(chain.column[e]))] += chain.rate[e];
  }
  const std::vector<double> share = system.solveTransposed(side);
  const auto most = std::max_element(share.begin(), share.end());
  return most != share.end() && *most > 1 ? system.states()[most - share.begin()] : first;
}

std::vector<std::uint32_t> without(const std::vector<std::uint32_t>& members, std::uint32_t pin) {
  std::vector<std::uint32_t> rest;
  for (std::uint32_t s : members) {
    if (s != pin) {
      rest.push_back(s);
    }
  }
  return rest;
}

// The Poisson equation of a class solved with g pinned to 0 at one state,
// then the bounds from r + Q g over the class.
class ClassSolution {
 public:
  ClassSolution(const MarkovChain& chain, const std::vector<std::uint32_t>& members,
                const MeasureSettings& settings)
      : Chain(chain),
        Pin(likeliestState(chain, members, settings)),
        Count(chain.numVariables + 1),
        System(chain, without(members, Pin), settings.linear) {
    std::vector<double> sides(System.size() * Count);
    for (std::size_t i = 0; i < System.size(); i++) {
      sides[i * Count] = 1.0;
      for (std::size_t v = 0; v < chain.numVariables; v++) {
        sides[i * Count + 1 + v] = reward(System.states()[i], v);
      }
    }
    Solution = System.solve(sides, Count, settings.epsilon / (4 * (1 + largestReward(chain))));
    renewalValues();
  }

  std::string method() const { return System.method(); }

  ClassValue bounds(const std::vector<std::uint32_t>& members) const {
    const std::size_t nv = Chain.numVariables;
    ClassValue value{std::vector<double>(nv, INFINITY), std::vector<double>(nv, -INFINITY)};
    for (std::uint32_t s : members) {
      for (std::size_t v = 0; v < nv; v++) {
        // (Q g)_s as a sum of differences of neighbours, which are small.
        const double own = bias(s, v);
        double z = reward(s, v);
        double size = std::fabs(z);
        for (std::uint64_t e = Chain.rowStart[s]; e < Chain.rowStart[s + 1]; e++) {
          const double term = Chain.rate[e] * (bias(Chain.column[e], v) - own);
          z += term;
          size += std::fabs(term);
        }
        const double terms = static_cast<double>(Chain.rowStart[s + 1] - Chain.rowStart[s]) + 4;
        const double rounding = 2 * terms * kUnitRoundoff * size;
        value.low[v] = std::min(value.low[v], z - rounding);
        value.high[v] = std::max(value.high[v], z + rounding);
      }
    }
    return value;
  }

 private:
  double reward(std::uint32_t s, std::size_t v) const {
    return Chain.rewards[s * Chain.numVariables + v];
  }
  // The solution's side c in state s (of the class, not the pin).
  double side(std::uint32_t s, std::size_t c) const {
    return Solution[static_cast<std::size_t>(System.local(s)) * Count + c];
  }
  // g = w - c m, 0 at the pin.
  double bias(std::uint32_t s, std::size_t v) const {
    return s == Pin ? 0.0 : side(s, 1 + v) - Value[v] * side(s, 0);
  }
  // c = (r(pin) + sum of rate w) / (1 + sum of rate m) over the pin's transitions.
  void renewalValues() {
    double cycle = 1.0;
    std::vector<double> earned(Chain.numVariables);
    for (std::size_t v = 0; v < Chain.numVariables; v++) {
      earned[v] = reward(Pin, v);
    }
    for (std::uint64_t e = Chain.rowStart[Pin]; e < Chain.rowStart[Pin + 1]; e++) {
      cycle += Chain.rate[e] * side(Chain.column[e], 0);
      for (std::size_t v = 0; v < Chain.numVariables; v++) {
        earned[v] += Chain.rate[e] * side(Chain.column[e], 1 + v);
      }
    }
    for (double e : earned) {
      Value.push_back(e / cycle);
    }
  }

  const MarkovChain& Chain;
  const std::uint32_t Pin;
  const std::size_t Count;
  SubchainSystem System;
  std::vector<double> Solution;
  std::vector<double> Value;
};

ClassValue classValue(const MarkovChain& chain, const std::vector<std::uint32_t>& members,
                      const MeasureSettings& settings, std::string& method) {
  if (members.size() == 1) {
    const double* r = chain.rewards.data() + members[0] * chain.numVariables;
    return {std::vector<double>(r, r + chain.numVariables),
            std::vector<double>(r, r + chain.numVariables)};
  }
  const ClassSolution solution(chain, members, settings);
  method = solution.method();
  return solution.bounds(members);
}

// The value from a transient initial state: the classes' middles weighed
// by the chances of ending in each, within the residual times the mean
// time to leave the transient states, plus the widest class's half width.
std::vector<Estimate> fromTransient(const MarkovChain& chain,
                                    const std::vector<std::int64_t>& bottom,
                                    const std::vector<ClassValue>& classes,
                                    const MeasureSettings& settings, std::string& method) {
  const std::size_t nv = chain.numVariables;
  std::vector<std::uint32_t> transient;
  for (std::uint32_t s = 0; s < chain.size(); s++) {
    if (bottom[s] < 0) {
      transient.push_back(s);
    }
  }
  SubchainSystem system(chain, transient, settings.linear);
  method = system.method();
  std::vector<double> sides(transient.size() * nv, 0.0);
  for (std::size_t i = 0; i < transient.size(); i++) {
    const std::uint32_t s = transient[i];
    for (std::uint64_t e = chain.rowStart[s]; e < chain.rowStart[s + 1]; e++) {
      const std::int64_t c = bottom[chain.column[e]];
      for (std::size_t v = 0; c >= 0 && v < nv; v++) {
        sides[i * nv + v] += chain.rate[e] * classes[c].middle(v);
      }
    }
  }
  double factor = 0.0;
  const std::size_t at = static_cast<std::size_t>(system.local(chain.initial));
  const double time = system.leavingTime(factor)[at] * factor;
  const std::vector<double> x =
      system.solve(sides, nv, settings.epsilon / (4 * std::max(time, DBL_MIN)));
  const std::vector<double> residual = system.residualBound(x, sides, nv);
  std::vector<Estimate> estimates;
  for (std::size_t v = 0; v < nv; v++) {
    double widest = 0.0;
    for (const ClassValue& value : classes) {
      widest = std::max(widest, value.halfWidth(v));
    }
    const double solveError = residual[v] * time;
    estimates.push_back({x[at * nv + v], solveError + widest, 0.0});
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

LongRunResult longRunRewards(const MarkovChain& chain, const MeasureSettings& settings) {
  std::size_t numBottom = 0;
  const std::vector<std::int64_t> bottom = bottomComponents(chain, numBottom);
  std::vector<std::vector<std::uint32_t>> members(numBottom);
  for (std::uint32_t s = 0; s < chain.size(); s++) {
    if (bottom[s] >= 0) {
      members[bottom[s]].push_back(s);
    }
  }
  if (settings.linear.progress != nullptr) {
    settings.linear.progress->begin("long run: iterations of the linear solver", 0);
  }
  LongRunResult result;
  result.method = "none needed";
  const std::int64_t start = bottom[chain.initial];
  std::vector<ClassValue> classes;
  for (std::size_t c = 0; c < numBottom; c++) {
    // From a state of a class, the others do not matter.
    if (start >= 0 && static_cast<std::size_t>(start) != c) {
      classes.emplace_back();
      continue;
    }
    classes.push_back(classValue(chain, members[c], settings, result.method));
  }
  if (start >= 0) {
    const ClassValue& value = classes[start];
    for (std::size_t v = 0; v < chain.numVariables; v++) {
      result.estimates.push_back({value.middle(v), value.halfWidth(v), 0.0});
    }
    return result;
  }
  result.estimates = fromTransient(chain, bottom, classes, settings, result.method);
  return result;
}

std::vector<Estimate> steadyStateRewards(const MarkovChain& chain, double epsilon,
                                         std::uint64_t maxSteps) {
  MeasureSettings settings;
  settings.epsilon = epsilon;
  settings.linear.maxIterations = maxSteps;
  return longRunRewards(chain, settings).estimates;
}

}  // namespace solver
