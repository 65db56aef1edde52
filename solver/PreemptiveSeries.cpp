#include "solver/PreemptiveSeries.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <utility>

#include "solver/CompensatedSum.h"
#include "solver/EmbeddedChain.h"
#include "solver/LowerPoisson.h"

namespace solver {

namespace {

using Outcomes = std::vector<std::pair<std::uint32_t, double>>;

// A period begun in a state: its delay, where the firing leads, and the
// states the clock fires in, each with the probability that the clock runs
// until then and is there.
struct Period {
  double delay = 0.0;
  Outcomes fires;
  Outcomes survivors;
  std::vector<double> impulse;  // expected when it fires, per variable
};

// Where mass arrives at a shift: after m jumps, in a state, and whether it
// starts a period there. A negated survivor does not: the clock there has
// already fired. Ordered by m first; arrivals at one place add up.
struct Arrival {
  std::uint64_t m = 0;
  std::uint32_t state = 0;
  bool startsPeriod = true;

  bool operator<(const Arrival& other) const {
    return std::tie(m, state, startsPeriod) < std::tie(other.m, other.state, other.startsPeriod);
  }
};
using Arrivals = std::map<Arrival, double>;  // with its probability

class CorrectedSeries {
 public:
  CorrectedSeries(const DeterministicProcess& process, const std::vector<Span>& spans,
                  bool integrated, double truncation, std::uint64_t maxSteps);
  std::vector<std::vector<Estimate>> run();
  // The largest part of an error due to truncation rather than rounding; after run().
  double worstTruncationError() const { return WorstTruncation; }

 private:
  // A shift's weights: per span the Poisson probabilities of the jumps by
  // its time (or their integrals over its part after the shift), none when
  // it ends before the shift, and that part's length (1 or 0 at an instant).
  struct Weights {
    std::vector<std::optional<LowerPoisson>> held;
    std::vector<double> whole;
    std::vector<double> shortfall;  // what the held terms lack of whole
    std::uint64_t steps = 0;        // beyond which a path is too unlikely by any time
    // By delay and span: whether a period's firing falls within it.
    std::map<double, std::vector<EventWindow>> firing;
  };
  Weights weightsAt(double shift);
  void runShift(double shift, const Arrivals& arrivals);
  void addRewards(std::uint64_t m, const std::vector<double>& x, const Weights& weights);
  void startPeriods(double shift, std::uint64_t m, const std::vector<double>& s,
                    Weights& weights);
  // Adds the impulses of a period begun after m jumps with probability p,
  // earned when it fires within a span.
  void addFiring(double shift, std::uint64_t m, const Period& period, double p,
                 Weights& weights);
  Estimate estimate(std::size_t t, std::size_t v);
  void step(const std::vector<double>& x, std::vector<double>& nextX,
            std::vector<double>& nextS) const;
  const Period& periodOf(std::uint32_t state);
  void schedule(double shift, const Arrival& arrival, double probability);
  // Mass dropped at a shift, which would have earned within the rewards'
  // range over each span's part after it.
  void drop(const Weights& weights, double mass);
  void countSteps(std::uint64_t steps);
  [[noreturn]] void tooManySteps() const;
  // How often a piece at a shift could fire within a span's part after it
  // of length whole: its firings are a delay apart at least.
  double firingsWithin(double whole) const {
    return FiringImpulses && whole > 0 ? std::floor(whole / ShortestDelay) + 1 : 0.0;
  }
  bool startsAfresh(std::uint32_t from, std::uint32_t to) const {
    return Process.clockOf(to) >= 0 && Process.clockOf(to) != Process.clockOf(from);
  }

  const DeterministicProcess& Process;
  const MarkovChain& Chain;
  const std::vector<Span>& Spans;
  const bool Integrated;
  const double Truncation;
  const std::uint64_t MaxSteps;
  const std::size_t Width;  // the variables and a reward of 1
  std::vector<double> Rewards;
  double Rate = 1.0;
  // The most terms rounded into one entry by a step: a row's and its own
  // share, and the most that move into one state.
  double StepTerms = 1.0;
  double LastTime = 0.0;
  std::uint64_t StepsTaken = 0;
  std::map<std::uint32_t, SubordinatedChain> Clocks;
  std::map<std::uint32_t, Period> Periods;  // by state where one begins
  std::map<double, Arrivals> Pending;       // by shift
  std::vector<std::vector<CompensatedSum>> Sums;  // by span, Width each
  std::vector<double> Dropped;   // by span: absolute mass times the time it could earn
  // By span, terms that may round, times the time they count: in the steps,
  // which every variable and the reward of 1 share, and in each variable's
  // sums over the states.
  std::vector<double> StepWork;
  std::vector<double> SumWork;
  double WorstTruncation = 0.0;
  // Impulses earned when a clock fires, over spans.
  bool FiringImpulses = false;
  std::vector<double> LargestImpulse;  // by variable, in magnitude
  double ShortestDelay = INFINITY;
  // By span: absolute mass dropped, times how often it could fire within
  // the span; what the firings' windows may lack; and terms that may round,
  // likewise times the firings.
  std::vector<double> DroppedFirings;
  std::vector<double> FiringLoss;
  std::vector<double> FiringWork;
};

CorrectedSeries::CorrectedSeries(const DeterministicProcess& process,
                                 const std::vector<Span>& spans, bool integrated,
                                 double truncation, std::uint64_t maxSteps)
    : Process(process),
      Chain(process.exponential),
      Spans(spans),
      Integrated(integrated),
      Truncation(truncation),
      MaxSteps(maxSteps),
      Width(process.exponential.numVariables + 1),
      Sums(spans.size(), std::vector<CompensatedSum>(Width)),
      Dropped(spans.size(), 0.0),
      StepWork(spans.size(), 0.0),
      SumWork(spans.size(), 0.0),
      LargestImpulse(process.exponential.numVariables, 0.0),
      DroppedFirings(spans.size(), 0.0),
      FiringLoss(spans.size(), 0.0),
      FiringWork(spans.size(), 0.0) {
  for (std::size_t s = 0; s < Chain.size(); s++) {
    const double* r = Chain.rewards.data() + s * Chain.numVariables;
    Rewards.insert(Rewards.end(), r, r + Chain.numVariables);
    Rewards.push_back(1.0);
  }
  const Uniformized uniformized(Chain);
  Rate = uniformized.rate() > 0 ? uniformized.rate() : 1.0;  // any rate without transitions
  std::vector<std::size_t> incoming(Chain.size(), 0);
  for (std::uint32_t target : Chain.column) {
    incoming[target]++;
  }
  const std::size_t longestColumn =
      incoming.empty() ? 0 : *std::max_element(incoming.begin(), incoming.end());
  StepTerms = static_cast<double>(uniformized.longestRow() + longestColumn + 6);
  for (const Span& span : spans) {
    LastTime = std::max(LastTime, span.stop);
  }
  for (const ClockedFiring& firing : process.firings) {
    ShortestDelay = std::min(ShortestDelay, firing.delay);
    for (std::size_t v = 0; v < firing.impulse.size(); v++) {
      LargestImpulse[v] = std::max(LargestImpulse[v], std::fabs(firing.impulse[v]));
      FiringImpulses = FiringImpulses || (integrated && firing.impulse[v] != 0);
    }
  }
}

void CorrectedSeries::countSteps(std::uint64_t steps) {
  StepsTaken += steps;
  if (StepsTaken > MaxSteps) {
    tooManySteps();
  }
}

void CorrectedSeries::tooManySteps() const {
  throw SolveError("the series with disabled clocks needs more than the limit of " +
                   std::to_string(MaxSteps) + " steps (-m)");
}

const Period& CorrectedSeries::periodOf(std::uint32_t state) {
  const auto found = Periods.find(state);
  if (found != Periods.end()) {
    return found->second;
  }
  const auto clock = static_cast<std::uint32_t>(Process.clockOf(state));
  auto chain = Clocks.find(clock);
  if (chain == Clocks.end()) {
    chain = Clocks.emplace(clock, SubordinatedChain(Process, clock, {})).first;
  }
  const SubordinatedChain::Cycle cycle = chain->second.cycleFrom(state, Truncation, MaxSteps);
  Period period;
  period.delay = Process.firings[Process.firingOf[state]].delay;
  period.survivors = cycle.survivors;
  std::map<std::uint32_t, double> fires;
  for (const auto& [at, probability] : cycle.survivors) {
    for (const auto& [target, share] : Process.firings[Process.firingOf[at]].outcomes) {
      fires[target] += probability * share;
    }
  }
  period.fires.assign(fires.begin(), fires.end());
  period.impulse = cycle.impulse;
  return Periods.emplace(state, std::move(period)).first->second;
}

void CorrectedSeries::schedule(double shift, const Arrival& arrival, double probability) {
  if (shift <= LastTime) {  // later, it changes no value
    Pending[shift][arrival] += probability;
  }
}

void CorrectedSeries::drop(const Weights& weights, double mass) {
  for (std::size_t t = 0; t < Spans.size(); t++) {
    Dropped[t] += mass * weights.whole[t];
    DroppedFirings[t] += mass * firingsWithin(weights.whole[t]);
  }
}

CorrectedSeries::Weights CorrectedSeries::weightsAt(double shift) {
  Weights weights;
  for (const Span& span : Spans) {
    const bool active = Integrated ? span.stop > shift : span.stop >= shift;
    std::optional<LowerPoisson> held;
    double whole = 0.0;
    // The paths take a step for each jump up to the span's stop: a time far
    // beyond the steps allowed is given up before its window is held.
    if (active && Rate * (span.stop - shift) > static_cast<double>(MaxSteps)) {
      tooManySteps();
    }
    if (active && Integrated) {
      const double from = std::max(span.start - shift, 0.0);
      // The span's own length where it starts after the shift keeps its digits.
      whole = span.start >= shift ? span.stop - span.start : span.stop - shift;
      held = LowerPoisson::integral(Rate, from, whole, Truncation);
    } else if (active) {
      whole = 1.0;
      held.emplace(Rate * (span.stop - shift), Truncation);
    }
    double total = 0.0;
    if (held) {
      for (std::uint64_t k = held->left(); k <= held->right(); k++) {
        total += (*held)(k);
      }
      // Past the window at its stop, a path is too unlikely to have come.
      const std::uint64_t last =
          Integrated ? LowerPoisson(Rate * (span.stop - shift), Truncation).right()
                     : held->right();
      weights.steps = std::max(weights.steps, last);
      countSteps(held->size());
    }
    weights.held.push_back(std::move(held));
    weights.whole.push_back(whole);
    weights.shortfall.push_back(std::max(0.0, whole - total));
  }
  return weights;
}

void CorrectedSeries::addRewards(std::uint64_t m, const std::vector<double>& x,
                                 const Weights& weights) {
  std::vector<double> reward(Width, 0.0);
  for (std::size_t i = 0; i < x.size(); i++) {
    for (std::size_t v = 0; x[i] != 0 && v < Width; v++) {
      reward[v] += x[i] * Rewards[i * Width + v];
    }
  }
  for (std::size_t t = 0; t < Spans.size(); t++) {
    const double w = weights.held[t] ? (*weights.held[t])(m) : 0.0;
    for (std::size_t v = 0; w > 0 && v < Width; v++) {
      Sums[t][v].add(w * reward[v]);
    }
  }
}

void CorrectedSeries::startPeriods(double shift, std::uint64_t m, const std::vector<double>& s,
                                   Weights& weights) {
  for (std::uint32_t i = 0; i < s.size(); i++) {
    if (s[i] == 0) {
      continue;
    }
    const Period& period = periodOf(i);
    const double fires = shift + period.delay;
    if (fires > LastTime) {
      continue;
    }
    // Each of the two arrivals may lack up to twice the truncation of the
    // period's mass, or have that much too many.
    drop(weights, 4 * Truncation * std::fabs(s[i]));
    countSteps(period.fires.size() + period.survivors.size());
    if (FiringImpulses) {
      addFiring(shift, m, period, s[i], weights);
    }
    for (const auto& [target, probability] : period.fires) {
      schedule(fires, {m, target, true}, s[i] * probability);
    }
    for (const auto& [state, probability] : period.survivors) {
      schedule(fires, {m, state, false}, -s[i] * probability);
    }
  }
}

void CorrectedSeries::addFiring(double shift, std::uint64_t m, const Period& period, double p,
                                Weights& weights) {
  std::vector<EventWindow>& within = weights.firing[period.delay];
  for (std::size_t t = within.size(); t < Spans.size(); t++) {
    within.emplace_back(Rate, shift + period.delay, Spans[t].start, Spans[t].stop, Truncation);
  }
  for (std::size_t t = 0; t < Spans.size(); t++) {
    const double w = within[t](m);
    for (std::size_t v = 0; w > 0 && v < period.impulse.size(); v++) {
      Sums[t][v].add(p * w * period.impulse[v]);
    }
    // The window, and the impulse from the period's own series, may each
    // lack twice the truncation.
    FiringLoss[t] += 4 * Truncation * std::fabs(p);
  }
}

void CorrectedSeries::step(const std::vector<double>& x, std::vector<double>& nextX,
                           std::vector<double>& nextS) const {
  std::fill(nextX.begin(), nextX.end(), 0.0);
  std::fill(nextS.begin(), nextS.end(), 0.0);
  for (std::uint32_t i = 0; i < x.size(); i++) {
    if (x[i] == 0) {
      continue;
    }
    double stay = x[i];
    for (std::uint64_t e = Chain.rowStart[i]; e < Chain.rowStart[i + 1]; e++) {
      const double moved = x[i] * Chain.rate[e] / Rate;
      const std::uint32_t target = Chain.column[e];
      stay -= moved;
      nextX[target] += moved;
      if (startsAfresh(i, target)) {
        nextS[target] += moved;
      }
    }
    nextX[i] += stay;
  }
}

void CorrectedSeries::runShift(double shift, const Arrivals& arrivals) {
  Weights weights = weightsAt(shift);
  double mass = 0.0;  // bounds the absolute mass of every vector below
  for (const auto& arrival : arrivals) {
    mass += std::fabs(arrival.second);
  }
  if (mass <= Truncation) {
    drop(weights, mass);
    return;
  }
  const std::size_t n = Chain.size();
  std::vector<double> x(n, 0.0);  // every path after m jumps
  std::vector<double> s(n, 0.0);  // of them, those beginning a period
  std::vector<double> nextX(n);
  std::vector<double> nextS(n);
  auto next = arrivals.begin();
  const std::uint64_t first = next->first.m;
  std::uint64_t m = first;
  double stepped = 0.0;  // the absolute mass of each step, added up
  bool light = false;
  for (; m <= weights.steps && !light; m++) {
    countSteps(1);
    for (; next != arrivals.end() && next->first.m == m; ++next) {
      const auto& [arrival, probability] = *next;
      x[arrival.state] += probability;
      if (arrival.startsPeriod && Process.clockOf(arrival.state) >= 0) {
        s[arrival.state] += probability;
      }
    }
    addRewards(m, x, weights);
    startPeriods(shift, m, s, weights);
    step(x, nextX, nextS);
    x.swap(nextX);
    s.swap(nextS);
    double left = 0.0;
    for (double p : x) {
      left += std::fabs(p);
    }
    stepped += left;
    light = next == arrivals.end() && left <= Truncation;
  }
  // What is left after the last step, and arrivals beyond it, would come
  // only past every window's end (or are too light to count).
  double rest = 0.0;
  for (double p : x) {
    rest += std::fabs(p);
  }
  for (; next != arrivals.end(); ++next) {
    rest += std::fabs(next->second);
  }
  drop(weights, light ? rest : rest * Truncation);
  for (std::size_t t = 0; t < Spans.size(); t++) {
    Dropped[t] += mass * weights.shortfall[t];
    // An error made in a step is a piece too: it changes a value by at most
    // its mass times the rewards' size over the time left. The sums of
    // rewards over the states round as well.
    StepWork[t] += weights.whole[t] * stepped * StepTerms;
    SumWork[t] += weights.whole[t] * mass * static_cast<double>(Chain.size());
    FiringWork[t] += stepped * StepTerms * firingsWithin(weights.whole[t]);
  }
}

std::vector<std::vector<Estimate>> CorrectedSeries::run() {
  schedule(0.0, {0, Chain.initial, true}, 1.0);
  while (!Pending.empty()) {
    const auto first = Pending.begin();
    const double shift = first->first;
    const Arrivals arrivals = std::move(first->second);
    Pending.erase(first);
    runShift(shift, arrivals);
  }
  std::vector<std::vector<Estimate>> estimates(Spans.size());
  for (std::size_t t = 0; t < Spans.size(); t++) {
    for (std::size_t v = 0; v + 1 < Width; v++) {
      estimates[t].push_back(estimate(t, v));
    }
  }
  return estimates;
}

Estimate CorrectedSeries::estimate(std::size_t t, std::size_t v) {
  const std::size_t numVariables = Width - 1;
  // With a reward of 1 the exact terms add up to 1 at an instant, and to
  // the span's length over it: the dropped pieces' signed share.
  const double whole = Integrated ? Spans[t].stop - Spans[t].start : 1.0;
  const double missing = whole - Sums[t][numVariables].value();
  double low = INFINITY;
  double high = -INFINITY;
  for (std::size_t s = 0; s < Chain.size(); s++) {
    low = std::min(low, Chain.rewards[s * numVariables + v]);
    high = std::max(high, Chain.rewards[s * numVariables + v]);
  }
  const double truncation = Dropped[t] * (high - low) / 2 +
                            LargestImpulse[v] * (DroppedFirings[t] + FiringLoss[t]);
  // First order in the unit roundoff. The steps' errors change the reward
  // of 1 alike, so the midpoint takes back what they change of the mass;
  // the sums over the states round apart, the reward of 1's too.
  const double rounding =
      DBL_EPSILON * (StepWork[t] * (high - low) / 2 +
                     2 * SumWork[t] * std::max(std::fabs(low), std::fabs(high)) +
                     FiringWork[t] * LargestImpulse[v]);
  // An average divides by the span's length.
  WorstTruncation = std::max(WorstTruncation, truncation / std::min(1.0, whole > 0 ? whole : 1.0));
  // Not Estimate::rounding: a value near 0 is not one that cancelled.
  return {Sums[t][v].value() + missing * (low + high) / 2, truncation + rounding};
}

double largestReward(const MarkovChain& chain) {
  double largest = 1.0;
  for (double r : chain.rewards) {
    largest = std::max(largest, std::fabs(r));
  }
  return largest;
}

std::vector<std::vector<Estimate>> correctedSeries(const DeterministicProcess& process,
                                                   const std::vector<Span>& spans,
                                                   bool integrated, double epsilon,
                                                   std::uint64_t maxSteps) {
  double lastTime = 0.0;
  for (const Span& span : spans) {
    lastTime = std::max(lastTime, span.stop);
  }
  double shortest = INFINITY;
  for (const ClockedFiring& firing : process.firings) {
    shortest = std::min(shortest, firing.delay);
  }
  // Each shift, window and period may drop this share of a mass that
  // the corrections make grow with the periods: a first guess, tightened
  // from what the run dropped.
  const double uses = 16 * (lastTime / shortest + 3) * (integrated ? lastTime + 1 : 1);
  double truncation =
      std::clamp(1e-3 * epsilon / (largestReward(process.exponential) * uses), 1e-300, 0.25);
  for (int attempt = 0;; attempt++) {
    CorrectedSeries series(process, spans, integrated, truncation, maxSteps);
    std::vector<std::vector<Estimate>> estimates = series.run();
    const double worst = series.worstTruncationError();
    if (worst <= epsilon / 2 || attempt == 3 || truncation <= 1e-300) {
      return estimates;
    }
    truncation = std::max(1e-300, truncation * std::max(1e-8, epsilon / (8 * worst)));
  }
}

}  // namespace

std::vector<std::vector<Estimate>> preemptiveRewards(const DeterministicProcess& process,
                                                     const std::vector<double>& times,
                                                     double epsilon, std::uint64_t maxSteps) {
  std::vector<Span> instants;
  for (double t : times) {
    instants.push_back({t, t});
  }
  return correctedSeries(process, instants, false, epsilon, maxSteps);
}

std::vector<std::vector<Estimate>> preemptiveIntegrals(const DeterministicProcess& process,
                                                       const std::vector<Span>& spans,
                                                       double epsilon, std::uint64_t maxSteps) {
  return correctedSeries(process, spans, true, epsilon, maxSteps);
}

}  // namespace solver
