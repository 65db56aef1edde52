#include "solver/TransientPlan.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <string>

#include "common/PrintableText.h"
#include "solver/Progress.h"

namespace solver {

namespace {

// The weights of a window are stored: q t and their number are limited to
// keep them in memory. Only windows the iteration reaches are built.
const double kMaxPoissonRate = 1e11;
const std::size_t kMaxWeights = 100000000;

}  // namespace

RewardRange::RewardRange(const MarkovChain& chain, const std::uint8_t* held)
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

double RewardRange::largest(std::size_t v) const {
  return std::max(std::fabs(low[v]), std::fabs(high[v]));
}

TransientPlan::TransientPlan(double rate, const std::vector<TransientMeasure>& measures,
                             const RewardRange& rewards, double epsilon)
    : Rate(rate) {
  if (rate == 0) {
    return;
  }
  for (const TransientMeasure& measure : measures) {
    const double spread = std::max(rewards.spread(measure.variable), DBL_MIN);
    Weights w;
    if (measure.start == measure.stop) {
      w.at = timeIndex(measure.start, std::min(0.5, epsilon / (4 * spread)));
    } else {
      w.instant = false;
      w.scale = measure.average ? 1 / (measure.stop - measure.start) : 1.0;
      w.total = measure.average ? 1.0 : measure.stop - measure.start;
      // The windows misplace at most their mass at each k they cover, and
      // below them at most that mass times q t: see misplaced below.
      const PoissonTime guess(rate * measure.stop, std::min(0.5, epsilon));
      const double span =
          measure.start + measure.stop +
          2 * static_cast<double>(guess.rightBound() - guess.leftBound() + 2) / rate;
      const double windowEpsilon = std::min(0.5, epsilon / (4 * spread * w.scale * span));
      w.fromZero = measure.start == 0;
      w.from = w.fromZero ? 0 : timeIndex(measure.start, windowEpsilon);
      w.to = timeIndex(measure.stop, windowEpsilon);
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
             (time.lambda() / rate +
              static_cast<double>(time.rightBound() - time.leftBound() + 2) / rate);
    };
    w.misplaced = misplacedBy(Times[w.to]) + (w.fromZero ? 0.0 : misplacedBy(Times[w.from]));
  }
}

std::size_t TransientPlan::timeIndex(double time, double epsilon) {
  const auto found = TimeOf.find(time);
  if (found != TimeOf.end()) {
    if (epsilon < Times[found->second].epsilon()) {
      Times[found->second] = PoissonTime(Times[found->second].lambda(), epsilon);
    }
    return found->second;
  }
  Times.emplace_back(Rate * time, epsilon);
  TimeOf[time] = Times.size() - 1;
  return Times.size() - 1;
}

void TransientPlan::buildWindows(std::uint64_t k) {
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

double TransientPlan::weight(std::size_t j, std::uint64_t k) const {
  const Weights& w = Plan[j];
  if (w.instant) {
    return Times[w.at].probability(k);
  }
  const double from = w.fromZero ? 0.0 : Times[w.from].above(k);
  return w.scale * (Times[w.to].above(k) - from) / Rate;
}

double TransientPlan::remainder(std::size_t j, std::uint64_t k) const {
  const Weights& w = Plan[j];
  if (w.instant) {
    return Times[w.at].atLeast(k);
  }
  const double from = w.fromZero ? 0.0 : Times[w.from].aboveSum(k);
  return w.scale * (Times[w.to].aboveSum(k) - from) / Rate;
}

double TransientPlan::remainingMoment(std::size_t j, std::uint64_t k) const {
  const Weights& w = Plan[j];
  if (w.instant) {
    return Times[w.at].aboveSum(k);  // E[(N - k)+]
  }
  // The sum over i > k of (i - k) P(N_b > i) is at most E[((N_b - k)+)^2] / 2,
  // itself at most E[(N_b - k)^2] = lambda + (lambda - k)^2.
  const double lambda = Times[w.to].lambda();
  const double beyond = lambda - static_cast<double>(k);
  return w.scale * (lambda + beyond * beyond) / 2 / Rate;
}

bool TransientPlan::windowsPassed(std::uint64_t k) const {
  return std::all_of(Times.begin(), Times.end(),
                     [k](const PoissonTime& time) { return time.built() && k > time.right(); });
}

void TransientPlan::checkStepLimit(std::uint64_t k, std::uint64_t maxSteps) const {
  if (k == maxSteps) {
    throw SolveError("uniformization needs " + std::to_string(lastRight()) +
                     " steps to reach the last time point and did not become stationary "
                     "within the limit of " +
                     std::to_string(maxSteps) + " (-m)");
  }
}

std::uint64_t TransientPlan::stepsBound() const {
  std::uint64_t bound = 0;
  for (const PoissonTime& time : Times) {
    bound = std::max(bound, time.rightBound());
  }
  return bound;
}

std::uint64_t TransientPlan::lastRight() const { return Times[TimeOf.rbegin()->second].right(); }

bool stopAsked(Progress* progress, std::uint64_t k) {
  if (progress == nullptr) {
    return false;
  }
  if (k % 64 == 0) {
    progress->advance(k);
  }
  return progress->stopRequested();
}

}  // namespace solver
