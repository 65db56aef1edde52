#include "solver/TransientSolver.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <string>

#include "solver/CompensatedSum.h"
#include "solver/ForwardIteration.h"
#include "solver/Progress.h"
#include "solver/TransientPlan.h"

namespace solver {

namespace {

const double kUnitRoundoff = DBL_EPSILON / 2;

// Uniformization run backwards from the rewards (see transientMeasures).
class Iteration {
 public:
  Iteration(const MarkovChain& chain, const std::vector<TransientMeasure>& measures,
            const TransientSettings& settings);
  TransientResult run();

 private:
  // The estimates at step k from the partial sums and the range of x_k;
  // whether each is within its bound.
  bool estimate(std::uint64_t k, const std::vector<double>& low, const std::vector<double>& high);

  const MarkovChain& Chain;
  const std::vector<TransientMeasure>& Measures;
  const TransientSettings& Settings;
  const std::uint8_t* Held;
  const Uniformized Matrix;
  const RewardRange Rewards;
  TransientPlan Plan;
  std::vector<CompensatedSum> Partial;
  std::vector<Estimate> Estimates;
  double StepRounding;  // per step, relative to the magnitudes combined
};

Iteration::Iteration(const MarkovChain& chain, const std::vector<TransientMeasure>& measures,
                     const TransientSettings& settings)
    : Chain(chain),
      Measures(measures),
      Settings(settings),
      Held(settings.held != nullptr ? settings.held->data() : nullptr),
      Matrix(chain, settings.threads),
      Rewards(chain, Held),
      Plan(Matrix.rate(), measures, Rewards, settings.epsilon),
      Partial(measures.size()),
      Estimates(measures.size()),
      StepRounding((static_cast<double>(Matrix.longestRow()) + 6) * kUnitRoundoff) {}

bool Iteration::estimate(std::uint64_t k, const std::vector<double>& low,
                         const std::vector<double>& high) {
  bool within = true;
  for (std::size_t j = 0; j < Measures.size(); j++) {
    const std::size_t v = Measures[j].variable;
    const double rest = Plan.remainder(j, k);
    Estimate& e = Estimates[j];
    e.value = Partial[j].value() + rest * (low[v] + high[v]) / 2;
    const double magnitude =
        Rewards.oneSigned[v] ? std::fabs(e.value) : Rewards.largest(v) * Plan.total(j);
    e.rounding =
        static_cast<double>(k) * StepRounding * magnitude + 2 * kUnitRoundoff * std::fabs(e.value);
    const double truncation = rest * (high[v] - low[v]) / 2;
    e.error = truncation + Plan.misplaced(j) * Rewards.spread(v) + e.rounding;
    const double least = std::max(0.0, std::fabs(e.value) - e.error);
    const double bound = std::max(Settings.epsilon, Settings.relative * least);
    // Stopping early takes the midpoint for every remaining term, so it
    // waits until the iterates themselves agree within the bound: the
    // remaining weight is small in a window's tail, but stopping there saves
    // few steps.
    const bool settled = rest == 0 || (high[v] - low[v] <= bound && truncation <= bound / 2);
    within = within && settled && e.error <= bound;
  }
  return within;
}

TransientResult Iteration::run() {
  const std::size_t nv = Chain.numVariables;
  TransientResult result;
  result.steps.needed = Plan.stepsBound();
  if (Settings.progress != nullptr) {
    Settings.progress->begin("uniformization steps", result.steps.needed);
  }
  std::vector<double> x = Chain.rewards;
  for (std::size_t i = 0; Held != nullptr && i < x.size(); i++) {
    x[i] = Held[i] ? 1.0 : x[i];
  }
  std::vector<double> next(x.size());
  std::vector<double> low = Rewards.low;
  std::vector<double> high = Rewards.high;
  std::uint64_t k = 0;
  for (;;) {
    Plan.buildWindows(k);
    if (estimate(k, low, high)) {
      break;
    }
    if (stopAsked(Settings.progress, k)) {
      result.stopped = true;
      break;
    }
    const double* initial = x.data() + Chain.initial * nv;
    for (std::size_t j = 0; j < Measures.size(); j++) {
      Partial[j].add(Plan.weight(j, k) * initial[Measures[j].variable]);
    }
    if (Plan.windowsPassed(k + 1)) {
      // Nothing is left to weigh: no need for another product.
      estimate(k + 1, low, high);
      break;
    }
    Plan.checkStepLimit(k, Settings.maxSteps);
    Matrix.step(x.data(), next.data(), Held, low.data(), high.data());
    x.swap(next);
    k++;
  }
  result.steps.needed = Plan.lastRight();
  result.steps.rate = Matrix.rate();
  result.steps.taken = k;
  result.estimates = Estimates;
  return result;
}

// The values of a chain without transitions: its initial rewards.
TransientResult withoutJumps(const MarkovChain& chain,
                             const std::vector<TransientMeasure>& measures,
                             const std::uint8_t* held) {
  TransientResult result;
  const std::size_t nv = chain.numVariables;
  for (const TransientMeasure& measure : measures) {
    const std::size_t at = chain.initial * nv + measure.variable;
    const double r = held != nullptr && held[at] ? 1.0 : chain.rewards[at];
    const bool instant = measure.start == measure.stop;
    const double length = instant || measure.average ? 1.0 : measure.stop - measure.start;
    result.estimates.push_back({r * length, 0.0, 0.0});
  }
  return result;
}

// Whether the forward iteration may serve: one vector pays for itself
// only where there are several variables to carry backwards.
bool forwardServes(const std::vector<TransientMeasure>& measures,
                   const TransientSettings& settings) {
  if (settings.held != nullptr || settings.direction == TransientDirection::kBackward) {
    return false;
  }
  const auto first = measures.front().variable;
  return settings.direction == TransientDirection::kForward ||
         std::any_of(measures.begin(), measures.end(),
                     [first](const TransientMeasure& m) { return m.variable != first; });
}

}  // namespace

TransientResult transientMeasures(const MarkovChain& chain,
                                  const std::vector<TransientMeasure>& measures,
                                  const TransientSettings& settings) {
  if (measures.empty()) {
    return {};
  }
  if (chain.rate.empty()) {
    return withoutJumps(chain, measures,
                        settings.held != nullptr ? settings.held->data() : nullptr);
  }
  if (forwardServes(measures, settings)) {
    const bool mayHandOver = settings.direction == TransientDirection::kAutomatic;
    std::optional<TransientResult> found = forwardMeasures(chain, measures, settings, mayHandOver);
    if (found) {
      return *found;
    }
  }
  return Iteration(chain, measures, settings).run();
}

std::vector<std::vector<Estimate>> transientRewards(const MarkovChain& chain,
                                                    const std::vector<double>& times,
                                                    double epsilon, std::uint64_t maxSteps,
                                                    UniformizationSteps* steps) {
  std::vector<TransientMeasure> measures;
  for (double time : times) {
    for (std::size_t v = 0; v < chain.numVariables; v++) {
      measures.push_back({v, time, time, false});
    }
  }
  TransientSettings settings;
  settings.epsilon = epsilon;
  settings.maxSteps = maxSteps;
  const TransientResult result = transientMeasures(chain, measures, settings);
  if (steps != nullptr) {
    *steps = result.steps;
  }
  std::vector<std::vector<Estimate>> table(times.size());
  for (std::size_t i = 0; i < measures.size(); i++) {
    table[i / std::max<std::size_t>(chain.numVariables, 1)].push_back(result.estimates[i]);
  }
  return table;
}

}  // namespace solver
