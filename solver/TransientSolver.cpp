#include "solver/TransientSolver.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <map>
#include <string>

#include "common/PrintableText.h"
#include "solver/CompensatedSum.h"
#include "solver/PoissonTime.h"
#include "solver/Progress.h"

namespace solver {

namespace {

// The weights of a window are stored: q t and their number are limited to
// keep them in memory. Only windows the iteration reaches are built.
const double kMaxPoissonRate = 1e11;
const std::size_t kMaxWeights = 100000000;
const double kUnitRoundoff = DBL_EPSILON / 2;

// The rewards of each variable: their range, and whether they have one sign.
struct RewardRange {
  std::vector<double> low;
  std::vector<double> high;
  std::vector<bool> oneSigned;

  RewardRange(const MarkovChain& chain, const std::uint8_t* held)
      : low(chain.numVariables, INFINITY), high(chain.numVariables, -INFINITY) {
    const std::size_t nv = chain.numVariables;
    for (std::size_t i = 0; i < chain.rewards.size(); i++) {
      const double r = held != nullptr && held[i] ? 1.0 : chain.rewards[i];
      low[i % nv] = std::min(low[i % nv], r);
      high[i % nv] = std::max(high[i % nv], r);
    }
    for (std::size_t v = 0; v < nv; v++) {
      oneSigned.push_back(low[v] >= 0 || high[v] <= 0);
    }
  }
  double spread(std::size_t v) const { return high[v] - low[v]; }
  double largest(std::size_t v) const { return std::max(std::fabs(low[v]), std::fabs(high[v])); }
};

// One measure's weights: instant at Poisson time `at`, or accumulated
// between the Poisson times `from` and `to`, times scale.
struct Weights {
  bool instant = true;
  std::size_t at = 0;
  std::size_t from = 0;
  std::size_t to = 0;
  bool fromZero = false;
  double scale = 1.0;
  double total = 1.0;      // the sum of the exact weights
  double misplaced = 0.0;  // bound on the weight the windows misplace
};

class Iteration {
 public:
  Iteration(const MarkovChain& chain, const std::vector<TransientMeasure>& measures,
            const TransientSettings& settings);
  TransientResult run();

 private:
  void planWeights();
  std::size_t timeIndex(double time, double epsilon);
  // Builds the windows that step K reaches.
  void buildWindows(std::uint64_t k);
  double weight(const Weights& w, std::uint64_t k) const;
  double remainder(const Weights& w, std::uint64_t k) const;
  // The estimates at step k from the partial sums and the range of x_k;
  // whether each is within its bound.
  bool estimate(std::uint64_t k, const std::vector<double>& low, const std::vector<double>& high);
  bool windowsPassed(std::uint64_t k) const;
  TransientResult withoutJumps() const;

  const MarkovChain& Chain;
  const std::vector<TransientMeasure>& Measures;
  const TransientSettings& Settings;
  const std::uint8_t* Held;
  const Uniformized Matrix;
  const RewardRange Rewards;
  std::vector<PoissonTime> Times;
  std::map<double, std::size_t> TimeOf;
  std::vector<Weights> Plan;
  std::vector<CompensatedSum> Partial;
  std::vector<Estimate> Estimates;
  std::size_t WeightsHeld = 0;
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
      Partial(measures.size()),
      Estimates(measures.size()),
      StepRounding((static_cast<double>(Matrix.longestRow()) + 6) * kUnitRoundoff) {
  if (Matrix.rate() > 0) {
    planWeights();
  }
}

std::size_t Iteration::timeIndex(double time, double epsilon) {
  const auto found = TimeOf.find(time);
  if (found != TimeOf.end()) {
    if (epsilon < Times[found->second].epsilon()) {
      Times[found->second] = PoissonTime(Times[found->second].lambda(), epsilon);
    }
    return found->second;
  }
  Times.emplace_back(Matrix.rate() * time, epsilon);
  TimeOf[time] = Times.size() - 1;
  return Times.size() - 1;
}

void Iteration::planWeights() {
  const double q = Matrix.rate();
  for (const TransientMeasure& measure : Measures) {
    const double spread = std::max(Rewards.spread(measure.variable), DBL_MIN);
    Weights w;
    if (measure.start == measure.stop) {
      w.at = timeIndex(measure.start, std::min(0.5, Settings.epsilon / (4 * spread)));
    } else {
      w.instant = false;
      w.scale = measure.average ? 1 / (measure.stop - measure.start) : 1.0;
      w.total = measure.average ? 1.0 : measure.stop - measure.start;
      // The windows misplace at most their mass at each k they cover, and
      // below them at most that mass times q t: see misplaced below.
      const PoissonTime guess(q * measure.stop, std::min(0.5, Settings.epsilon));
      const double span = measure.start + measure.stop +
                          2 * static_cast<double>(guess.rightBound() - guess.leftBound() + 2) / q;
      const double epsilon = std::min(0.5, Settings.epsilon / (4 * spread * w.scale * span));
      w.fromZero = measure.start == 0;
      w.from = w.fromZero ? 0 : timeIndex(measure.start, epsilon);
      w.to = timeIndex(measure.stop, epsilon);
    }
    Plan.push_back(w);
  }
  for (Weights& w : Plan) {
    if (w.instant) {
      // Without jumps (time 0) nothing is misplaced.
      w.misplaced = Times[w.at].lambda() > 0 ? Times[w.at].epsilon() : 0.0;
      continue;
    }
    const auto misplacedBy = [&](const PoissonTime& time) {
      return w.scale * time.epsilon() *
             (time.lambda() / q +
              static_cast<double>(time.rightBound() - time.leftBound() + 2) / q);
    };
    w.misplaced = misplacedBy(Times[w.to]) + (w.fromZero ? 0.0 : misplacedBy(Times[w.from]));
  }
}

void Iteration::buildWindows(std::uint64_t k) {
  for (PoissonTime& time : Times) {
    if (time.built() || k < time.leftBound()) {
      continue;
    }
    if (time.lambda() > kMaxPoissonRate) {
      throw SolveError("uniformization would take " + compactNumber(time.lambda()) +
                       " steps to a time point, beyond what its weights can hold, and the "
                       "chain did not become stationary before");
    }
    WeightsHeld += time.build();
    if (WeightsHeld > kMaxWeights) {
      throw SolveError("the Poisson windows of the time points would hold more than " +
                       std::to_string(kMaxWeights) + " weights");
    }
  }
}

double Iteration::weight(const Weights& w, std::uint64_t k) const {
  if (w.instant) {
    return Times[w.at].probability(k);
  }
  const double from = w.fromZero ? 0.0 : Times[w.from].above(k);
  return w.scale * (Times[w.to].above(k) - from) / Matrix.rate();
}

double Iteration::remainder(const Weights& w, std::uint64_t k) const {
  if (w.instant) {
    return Times[w.at].atLeast(k);
  }
  const double from = w.fromZero ? 0.0 : Times[w.from].aboveSum(k);
  return w.scale * (Times[w.to].aboveSum(k) - from) / Matrix.rate();
}

bool Iteration::estimate(std::uint64_t k, const std::vector<double>& low,
                         const std::vector<double>& high) {
  bool within = true;
  for (std::size_t j = 0; j < Measures.size(); j++) {
    const std::size_t v = Measures[j].variable;
    const double rest = remainder(Plan[j], k);
    Estimate& e = Estimates[j];
    e.value = Partial[j].value() + rest * (low[v] + high[v]) / 2;
    const double magnitude =
        Rewards.oneSigned[v] ? std::fabs(e.value) : Rewards.largest(v) * Plan[j].total;
    e.rounding =
        static_cast<double>(k) * StepRounding * magnitude + 2 * kUnitRoundoff * std::fabs(e.value);
    const double truncation = rest * (high[v] - low[v]) / 2;
    e.error = truncation + Plan[j].misplaced * Rewards.spread(v) + e.rounding;
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

bool Iteration::windowsPassed(std::uint64_t k) const {
  return std::all_of(Times.begin(), Times.end(),
                     [k](const PoissonTime& time) { return time.built() && k > time.right(); });
}

TransientResult Iteration::withoutJumps() const {
  TransientResult result;
  const std::size_t nv = Chain.numVariables;
  for (const TransientMeasure& measure : Measures) {
    const std::size_t at = Chain.initial * nv + measure.variable;
    const double r = Held != nullptr && Held[at] ? 1.0 : Chain.rewards[at];
    const bool instant = measure.start == measure.stop;
    const double length = instant || measure.average ? 1.0 : measure.stop - measure.start;
    result.estimates.push_back({r * length, 0.0, 0.0});
  }
  return result;
}

TransientResult Iteration::run() {
  if (Measures.empty()) {
    return {};
  }
  if (Matrix.rate() == 0) {
    return withoutJumps();
  }
  const std::size_t nv = Chain.numVariables;
  TransientResult result;
  for (const PoissonTime& time : Times) {
    result.steps.needed = std::max(result.steps.needed, time.rightBound());
  }
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
    buildWindows(k);
    if (estimate(k, low, high)) {
      break;
    }
    if (Settings.progress != nullptr) {
      if (Settings.progress->stopRequested()) {
        result.stopped = true;
        break;
      }
      if (k % 64 == 0) {
        Settings.progress->advance(k);
      }
    }
    const double* initial = x.data() + Chain.initial * nv;
    for (std::size_t j = 0; j < Measures.size(); j++) {
      Partial[j].add(weight(Plan[j], k) * initial[Measures[j].variable]);
    }
    if (windowsPassed(k + 1)) {
      // Nothing is left to weigh: no need for another product.
      estimate(k + 1, low, high);
      break;
    }
    if (k == Settings.maxSteps) {
      throw SolveError("uniformization needs " +
                       std::to_string(Times[TimeOf.rbegin()->second].right()) +
                       " steps to reach the last time point and did not become stationary "
                       "within the limit of " +
                       std::to_string(Settings.maxSteps) + " (-m)");
    }
    Matrix.step(x.data(), next.data(), Held, low.data(), high.data());
    x.swap(next);
    k++;
  }
  result.steps.needed = Times[TimeOf.rbegin()->second].right();
  result.steps.rate = Matrix.rate();
  result.steps.taken = k;
  result.estimates = Estimates;
  return result;
}

}  // namespace

TransientResult transientMeasures(const MarkovChain& chain,
                                  const std::vector<TransientMeasure>& measures,
                                  const TransientSettings& settings) {
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
