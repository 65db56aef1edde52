#include "solver/TransientSolver.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "common/PrintableText.h"
#include "solver/FoxGlynn.h"

namespace solver {

namespace {

// The smallest and largest value of each variable over the states of x.
struct Spread {
  std::vector<double> low;
  std::vector<double> high;

  Spread(const std::vector<double>& x, std::size_t numVariables)
      : low(numVariables, INFINITY), high(numVariables, -INFINITY) {
    for (std::size_t i = 0; i < x.size(); i += numVariables) {
      for (std::size_t v = 0; v < numVariables; v++) {
        low[v] = std::min(low[v], x[i + v]);
        high[v] = std::max(high[v], x[i + v]);
      }
    }
  }
  double widest() const {
    double widest = 0.0;
    for (std::size_t v = 0; v < low.size(); v++) {
      widest = std::max(widest, high[v] - low[v]);
    }
    return widest;
  }
};

// The weights of the windows are stored: q t and their number are limited
// to keep them in memory.
const double kMaxPoissonRate = 1e11;
const std::size_t kMaxWeights = 100000000;

// The Poisson window of each time; none where no jump can happen (time 0,
// or a chain without transitions).
std::vector<std::optional<PoissonWindow>> windowsOf(const std::vector<double>& times, double rate,
                                                    double epsilon) {
  std::vector<std::optional<PoissonWindow>> windows;
  std::size_t weights = 0;
  for (double time : times) {
    if (time == 0 || rate == 0) {
      windows.emplace_back();
      continue;
    }
    if (rate * time > kMaxPoissonRate) {
      throw SolveError("uniformization at time " + compactNumber(time) + " would take " +
                       compactNumber(rate * time) + " steps, beyond what its weights can hold");
    }
    windows.emplace_back(poissonWindow(rate * time, epsilon));
    weights += windows.back()->probabilities.size();
    if (weights > kMaxWeights) {
      throw SolveError("the Poisson windows of the time points would hold more than " +
                       std::to_string(kMaxWeights) + " weights");
    }
  }
  return windows;
}

// Adds step k's value in the initial state, weighted by each window.
void accumulate(const std::vector<std::optional<PoissonWindow>>& windows, std::uint64_t k,
                const double* initial, std::vector<std::vector<Estimate>>& estimates) {
  for (std::size_t t = 0; t < windows.size(); t++) {
    const std::optional<PoissonWindow>& window = windows[t];
    if (!window || k < window->left || k > window->right()) {
      continue;
    }
    const double weight = window->probabilities[k - window->left];
    for (std::size_t v = 0; v < estimates[t].size(); v++) {
      estimates[t][v].value += weight * initial[v];
    }
  }
}

// Gives the mass of each window from step k on to the midpoint of spread.
void finishStationary(const std::vector<std::optional<PoissonWindow>>& windows, std::uint64_t k,
                      const Spread& spread, std::vector<std::vector<Estimate>>& estimates) {
  for (std::size_t t = 0; t < windows.size(); t++) {
    const std::optional<PoissonWindow>& window = windows[t];
    if (!window || k > window->right()) {
      continue;
    }
    double rest = 0.0;
    for (std::uint64_t j = std::max(k, window->left); j <= window->right(); j++) {
      rest += window->probabilities[j - window->left];
    }
    for (std::size_t v = 0; v < estimates[t].size(); v++) {
      estimates[t][v].value += rest * (spread.low[v] + spread.high[v]) / 2;
      estimates[t][v].error += rest * (spread.high[v] - spread.low[v]) / 2;
    }
  }
}

}  // namespace

std::vector<std::vector<Estimate>> transientRewards(const MarkovChain& chain,
                                                    const std::vector<double>& times,
                                                    double epsilon, std::uint64_t maxSteps,
                                                    UniformizationSteps* progress) {
  const std::size_t numVariables = chain.numVariables;
  const Uniformized uniformized(chain);
  const Spread rewards(chain.rewards, numVariables);
  const double spread = rewards.widest();
  const double windowEpsilon = spread > 0 ? std::min(epsilon / (2 * spread), 0.5) : 0.5;
  const std::vector<std::optional<PoissonWindow>> windows =
      windowsOf(times, uniformized.rate(), windowEpsilon);
  const double* initial = chain.rewards.data() + chain.initial * numVariables;
  std::vector<std::vector<Estimate>> estimates(times.size(), std::vector<Estimate>(numVariables));
  std::uint64_t steps = 0;
  bool anyWindow = false;
  for (std::size_t t = 0; t < times.size(); t++) {
    for (std::size_t v = 0; v < numVariables; v++) {
      // Without a window the chain is still in its initial state.
      estimates[t][v] = windows[t]
                            ? Estimate{0.0, windowEpsilon * (rewards.high[v] - rewards.low[v])}
                            : Estimate{initial[v], 0.0};
    }
    if (windows[t]) {
      steps = std::max(steps, windows[t]->right());
      anyWindow = true;
    }
  }
  std::vector<double> x = chain.rewards;
  std::vector<double> next(x.size());
  std::uint64_t k = 0;
  for (; anyWindow; k++) {
    const Spread now(x, numVariables);
    if (now.widest() <= epsilon) {
      finishStationary(windows, k, now, estimates);
      break;
    }
    accumulate(windows, k, x.data() + chain.initial * numVariables, estimates);
    if (k == steps) {
      break;
    }
    if (k == maxSteps) {
      throw SolveError("uniformization needs " + std::to_string(steps) +
                       " steps to reach the last time point and did not become stationary "
                       "within the limit of " +
                       std::to_string(maxSteps) + " (-m)");
    }
    uniformized.step(x, next);
    x.swap(next);
  }
  if (progress != nullptr) {
    *progress = {uniformized.rate(), steps, k};
  }
  return estimates;
}

}  // namespace solver
