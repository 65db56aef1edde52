#include "solver/ShiftedPoissonSeries.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <string>

#include "solver/CompensatedSum.h"
#include "solver/EmbeddedChain.h"
#include "solver/LowerPoisson.h"

namespace solver {

namespace {

// The probability left out is one less a sum of many small terms, so the
// sum must not drown in its rounding.
using Sum = CompensatedSum;

double massOf(const std::vector<double>& probabilities) {
  double mass = 0.0;
  for (double p : probabilities) {
    mass += p;
  }
  return mass;
}

// A state where a clock starts: where its firing leads (at most the exact
// probabilities) and, per count l of jumps inside its period, the expected
// reward l jumps on.
struct Entry {
  std::uint32_t state = 0;
  std::size_t delay = 0;  // index into Series::Delays
  std::vector<std::pair<std::uint32_t, double>> fires;
  std::vector<double> ahead;  // of l and variable v at l * width + v
  // The expected impulse earned when its clock fires, per variable (from
  // the states where it may fire), at most the exact one; empty when no
  // firing earns any.
  std::vector<double> impulse;
};

// A firing's outcome reached after m exponential jumps.
struct Arrival {
  std::uint64_t m;
  std::uint32_t state;
  double probability;
};
using Arrivals = std::vector<Arrival>;

class Series {
 public:
  // Instants where every span starts where it stops, else integrals over the spans.
  // truncation, when positive, replaces the share of probability each
  // window and period may leave out.
  Series(const DeterministicProcess& process, const std::vector<Span>& spans, bool integrated,
         double epsilon, std::uint64_t maxSteps, double truncation = 0.0);
  double truncation() const { return Truncation; }
  std::vector<std::vector<Estimate>> run();
  // The probability each span's terms leave out (at an instant), or its
  // integral over the span; after run().
  const std::vector<double>& leftOut() const { return LeftOut; }
  // Whether firings earn impulses, which the integrals count.
  bool firingImpulses() const { return FiringImpulses; }
  // A bound on what span t's impulses of variable v lack, given the
  // probability left out at its stop.
  double impulseShortfall(std::size_t t, std::size_t v, double leftOutAtStop) const;

 private:
  void findEntries();
  // Entry::ahead of the entries of the clock, and their firings.
  void prepareClock(std::uint32_t clock);
  void runShift(double shift, const Arrivals& arrivals);
  // The jumps by each time after the shift (held) and, per delay, by the
  // times within the delay (running) and before the times less the delay;
  // over a span, their integrals over the parts of it after the shift.
  struct ShiftTerms {
    std::vector<bool> active;  // by span: whether it ends after the shift
    std::vector<LowerPoisson> held;
    std::vector<std::vector<std::optional<LowerPoisson>>> running;  // by span and delay
    std::vector<std::vector<std::optional<LowerPoisson>>> before;   // by span and delay
    // By span and delay: the probability that the firing of a period
    // begun at the m-th jump falls within the span.
    std::vector<std::vector<EventWindow>> firing;
  };
  // Adds the terms of the periods begun after m jumps, s holding their probabilities.
  void addPeriods(double shift, std::uint64_t m, const std::vector<double>& s,
                  const ShiftTerms& terms);
  // Adds the terms of the periods of delay d begun after m jumps, their
  // expected rewards in Ahead[d].
  void addRunning(std::uint64_t m, std::size_t d, const std::optional<LowerPoisson>& running,
                  const std::optional<LowerPoisson>& before, std::vector<Sum>& sum) const;
  // Adds the impulses of a period of entry begun after m jumps with
  // probability p, earned when it fires within a span.
  void addFiring(std::uint64_t m, const Entry& entry, double p, const ShiftTerms& terms);
  // The windows of the firings within span of the periods begun at the shift.
  void addFiringTerms(double shift, const Span& span, ShiftTerms& terms) const;
  // The terms at time, or of span over its part after the shift, into terms.
  void addInstantTerms(double shift, double time, ShiftTerms& terms);
  void addSpanTerms(double shift, const Span& span, ShiftTerms& terms);
  void schedule(double shift, std::uint64_t m, std::uint32_t state, double probability);
  std::uint64_t checkedSteps(std::uint64_t steps) const;

  const DeterministicProcess& Process;
  const MarkovChain& Chain;
  const std::vector<Span>& Spans;
  const bool Integrated;
  const std::uint64_t MaxSteps;
  const std::size_t Width;  // the variables and a reward of 1
  std::vector<double> Rewards;
  double Rate = 1.0;
  double Truncation = 0.0;
  double LastTime = 0.0;
  std::uint64_t StepsTaken = 0;  // over all shifts
  std::vector<double> Delays;                 // distinct
  std::vector<std::optional<LowerPoisson>> InPeriod;  // jumps inside a period, by delay
  std::vector<std::int64_t> EntryOf;          // by state
  std::vector<Entry> Entries;
  std::vector<std::vector<double>> Ahead;     // by delay: of the periods begun at one step
  std::vector<bool> Begun;                    // by delay: whether any began
  std::map<double, Arrivals> Pending;         // by shift
  std::vector<std::vector<Sum>> Sums;         // by span, Width each
  std::vector<double> LeftOut;                // by span
  bool FiringImpulses = false;
  double ShortestDelay = INFINITY;
  std::vector<double> LargestImpulse;  // by variable, in magnitude
};

Series::Series(const DeterministicProcess& process, const std::vector<Span>& spans, bool integrated,
               double epsilon, std::uint64_t maxSteps, double truncation)
    : Process(process),
      Chain(process.exponential),
      Spans(spans),
      Integrated(integrated),
      MaxSteps(maxSteps),
      Width(process.exponential.numVariables + 1),
      EntryOf(process.exponential.size(), -1),
      Sums(spans.size(), std::vector<Sum>(Width)) {
  double spread = 0.0;
  for (std::size_t s = 0; s < Chain.size(); s++) {
    const double* r = Chain.rewards.data() + s * Chain.numVariables;
    Rewards.insert(Rewards.end(), r, r + Chain.numVariables);
    Rewards.push_back(1.0);
    for (std::size_t v = 0; v < Chain.numVariables; v++) {
      spread = std::max(spread, std::fabs(r[v]));
    }
  }
  Rate = Uniformized(Chain).rate();
  if (Rate == 0) {
    Rate = 1.0;  // any rate will do without transitions
  }
  double shortest = INFINITY;
  LargestImpulse.assign(Chain.numVariables, 0.0);
  for (const ClockedFiring& firing : process.firings) {
    shortest = std::min(shortest, firing.delay);
    for (std::size_t v = 0; v < firing.impulse.size(); v++) {
      LargestImpulse[v] = std::max(LargestImpulse[v], std::fabs(firing.impulse[v]));
      FiringImpulses = FiringImpulses || (integrated && firing.impulse[v] != 0);
    }
  }
  ShortestDelay = shortest;
  double shortestSpan = INFINITY;
  for (const Span& span : spans) {
    LastTime = std::max(LastTime, span.stop);
    if (span.stop > span.start) {
      shortestSpan = std::min(shortestSpan, span.stop - span.start);  // [0, 0] earns nothing
    }
  }
  // Each period, each window and each shift dropped as negligible may
  // lose this much of the probability: a path of the last time point
  // meets at most lastTime / shortest + 3 of them. A thousandth of the
  // bound costs a few more terms (windows grow with the square root of
  // its logarithm) and keeps the midpoint close to the value.
  double uses = 4 * (LastTime / shortest + 3);
  if (integrated) {
    // Over a span the mass left out is integrated over its length, and each
    // integral of a window term may lose twice the truncation / Rate: of
    // the order of the span, and of the windows' width / Rate, in all; an
    // average divides it by the span.
    const double width = 16 * std::sqrt(Rate * LastTime) + 20;
    uses *= std::max(1.0, (LastTime + width / Rate) / std::min(1.0, shortestSpan));
  }
  Truncation = truncation > 0
                   ? truncation
                   : std::clamp(1e-3 * epsilon / (std::max(spread, 1.0) * uses), 1e-300, 0.25);
}

void Series::findEntries() {
  std::vector<bool> entered(Chain.size(), false);
  entered[Chain.initial] = true;
  for (std::uint32_t s = 0; s < Chain.size(); s++) {
    for (std::uint64_t e = Chain.rowStart[s]; e < Chain.rowStart[s + 1]; e++) {
      entered[Chain.column[e]] = entered[Chain.column[e]] || Process.clockOf(s) < 0;
    }
  }
  for (const ClockedFiring& firing : Process.firings) {
    for (const auto& outcome : firing.outcomes) {
      entered[outcome.first] = true;
    }
  }
  for (std::uint32_t s = 0; s < Chain.size(); s++) {
    if (entered[s] && Process.firingOf[s] >= 0) {
      const double delay = Process.firings[Process.firingOf[s]].delay;
      const auto found = std::find(Delays.begin(), Delays.end(), delay);
      Entry entry;
      entry.state = s;
      entry.delay = static_cast<std::size_t>(found - Delays.begin());
      if (found == Delays.end()) {
        Delays.push_back(delay);
        InPeriod.emplace_back(LowerPoisson(Rate * delay, Truncation));
      }
      EntryOf[s] = static_cast<std::int64_t>(Entries.size());
      Entries.push_back(std::move(entry));
    }
  }
  Ahead.resize(Delays.size());
  Begun.resize(Delays.size());
  std::vector<bool> prepared(Process.clockNames.size() + Process.firings.size(), false);
  for (const Entry& entry : Entries) {
    const auto clock = static_cast<std::uint32_t>(Process.clockOf(entry.state));
    if (clock >= prepared.size()) {
      prepared.resize(clock + 1, false);
    }
    if (!prepared[clock]) {
      prepared[clock] = true;
      prepareClock(clock);
    }
  }
}

void Series::prepareClock(std::uint32_t clock) {
  const SubordinatedChain subordinated(Process, clock, {});
  std::vector<std::uint32_t> states;
  for (std::uint32_t s = 0; s < Chain.size(); s++) {
    if (Process.clockOf(s) == clock) {
      states.push_back(s);
    }
  }
  std::size_t jumps = 0;
  for (const Entry& entry : Entries) {
    if (Process.clockOf(entry.state) == clock) {
      jumps = std::max<std::size_t>(jumps, InPeriod[entry.delay]->right());
    }
  }
  checkedSteps(jumps);
  // h_l = P^l r on the clock's states, which the exponential jumps never leave.
  std::vector<double> h(Rewards.size(), 0.0);
  std::vector<double> next(Rewards.size(), 0.0);
  for (std::uint32_t s : states) {
    std::copy_n(Rewards.begin() + s * Width, Width, h.begin() + s * Width);
  }
  for (std::size_t l = 0; l <= jumps; l++) {
    for (Entry& entry : Entries) {
      if (Process.clockOf(entry.state) == clock) {
        entry.ahead.insert(entry.ahead.end(), h.begin() + entry.state * Width,
                           h.begin() + (entry.state + 1) * Width);
      }
    }
    for (std::uint32_t s : states) {
      double stay = 1.0;
      for (std::size_t v = 0; v < Width; v++) {
        next[s * Width + v] = 0.0;
      }
      for (std::uint64_t e = Chain.rowStart[s]; e < Chain.rowStart[s + 1]; e++) {
        const double p = Chain.rate[e] / Rate;
        stay -= p;
        for (std::size_t v = 0; v < Width; v++) {
          next[s * Width + v] += p * h[Chain.column[e] * Width + v];
        }
      }
      for (std::size_t v = 0; v < Width; v++) {
        next[s * Width + v] += stay * h[s * Width + v];
      }
    }
    h.swap(next);
  }
  for (Entry& entry : Entries) {
    if (Process.clockOf(entry.state) == clock) {
      const SubordinatedChain::Cycle cycle =
          subordinated.cycleFrom(entry.state, Truncation, MaxSteps);
      entry.fires = cycle.next;
      for (auto& outcome : entry.fires) {
        outcome.second *= 1 - Truncation;
      }
      if (FiringImpulses) {
        entry.impulse = cycle.impulse;
        for (double& impulse : entry.impulse) {
          impulse *= 1 - Truncation;
        }
      }
    }
  }
}

std::uint64_t Series::checkedSteps(std::uint64_t steps) const {
  if (steps > MaxSteps) {
    throw SolveError("the series needs " + std::to_string(steps) +
                     " uniformization steps, beyond the limit of " + std::to_string(MaxSteps) +
                     " (-m)");
  }
  return steps;
}

void Series::schedule(double shift, std::uint64_t m, std::uint32_t state, double probability) {
  if (shift > LastTime) {
    return;  // fires after the last time point
  }
  Pending[shift].push_back({m, state, probability});
}

void Series::addPeriods(double shift, std::uint64_t m, const std::vector<double>& s,
                        const ShiftTerms& terms) {
  std::fill(Begun.begin(), Begun.end(), false);
  for (const Entry& entry : Entries) {
    const double p = s[entry.state];
    if (p == 0) {
      continue;
    }
    std::vector<double>& ahead = Ahead[entry.delay];
    if (!Begun[entry.delay]) {
      Begun[entry.delay] = true;
      ahead.assign(entry.ahead.size(), 0.0);
    }
    for (std::size_t i = 0; i < ahead.size(); i++) {
      ahead[i] += p * entry.ahead[i];
    }
    for (const auto& [target, probability] : entry.fires) {
      schedule(shift + Delays[entry.delay], m, target, p * probability);
    }
    if (!entry.impulse.empty()) {
      addFiring(m, entry, p, terms);
    }
  }
  for (std::size_t d = 0; d < Delays.size(); d++) {
    for (std::size_t t = 0; Begun[d] && t < Spans.size(); t++) {
      if (terms.active[t]) {
        addRunning(m, d, terms.running[t][d], terms.before[t][d], Sums[t]);
      }
    }
  }
}

void Series::addInstantTerms(double shift, double time, ShiftTerms& terms) {
  const double elapsed = std::max(time - shift, 0.0);
  // The window holds a term for each count of jumps about q elapsed.
  checkedSteps(static_cast<std::uint64_t>(std::min(Rate * elapsed, 1e18)));
  terms.active.push_back(time >= shift);  // a firing at the time point counts
  terms.held.emplace_back(Rate * elapsed, Truncation);
  for (std::size_t d = 0; d < Delays.size(); d++) {
    if (elapsed >= Delays[d]) {
      terms.before.back()[d].emplace(Rate * (elapsed - Delays[d]), Truncation);
      StepsTaken += terms.before.back()[d]->size();
    } else {
      terms.running.back()[d] = terms.held.back();
    }
  }
}

void Series::addSpanTerms(double shift, const Span& span, ShiftTerms& terms) {
  const double from = std::max(span.start - shift, 0.0);
  const double to = std::max(span.stop - shift, 0.0);
  // The span's own length where it starts after the shift: a short span far
  // from 0 would lose its digits to to - from.
  const double length = span.start >= shift ? span.stop - span.start : to;
  // An integral holds a term for each count of jumps up to the span's end.
  checkedSteps(static_cast<std::uint64_t>(std::min(Rate * to, 1e18)));
  terms.active.push_back(span.stop > shift);
  terms.held.push_back(LowerPoisson::integral(Rate, from, length, Truncation));
  for (std::size_t d = 0; d < Delays.size(); d++) {
    // A period begun at the shift's m-th jump runs by the first part of the
    // span within the delay, and after it while the jump is recent enough;
    // the parts add up to the span.
    const double delay = Delays[d];
    const double within = terms.active.back() ? std::clamp(delay - from, 0.0, length) : 0.0;
    if (within > 0) {
      terms.running.back()[d] = LowerPoisson::integral(Rate, from, within, Truncation);
      StepsTaken += terms.running.back()[d]->size();
    }
    if (terms.active.back() && within < length) {
      terms.before.back()[d] =
          LowerPoisson::integral(Rate, std::max(from - delay, 0.0), length - within, Truncation);
      StepsTaken += terms.before.back()[d]->size();
    }
  }
}

void Series::addFiring(std::uint64_t m, const Entry& entry, double p, const ShiftTerms& terms) {
  for (std::size_t t = 0; t < Spans.size(); t++) {
    const double w = terms.firing[t][entry.delay](m);
    for (std::size_t v = 0; w > 0 && v < entry.impulse.size(); v++) {
      Sums[t][v].add(p * w * entry.impulse[v]);
    }
  }
}

void Series::addFiringTerms(double shift, const Span& span, ShiftTerms& terms) const {
  // Begun at the shift's m-th jump, a period fires at shift + delay + the
  // m-th jump's time.
  terms.firing.emplace_back();
  for (const double delay : Delays) {
    terms.firing.back().emplace_back(Rate, shift + delay, span.start, span.stop, Truncation);
  }
}

double Series::impulseShortfall(std::size_t t, std::size_t v, double leftOutAtStop) const {
  // Successive firings are a delay apart at least, so a path fires at
  // most this often within the span. What the series leaves out of the
  // paths by the span's stop bounds the firings it misses; the windows of
  // the firings it counts lose at most twice the truncation each, and their
  // impulses, from the period's own series, twice more.
  const double firings = std::floor((Spans[t].stop - Spans[t].start) / ShortestDelay) + 1;
  return LargestImpulse[v] * firings * (leftOutAtStop + 4 * Truncation);
}

void Series::addRunning(std::uint64_t m, std::size_t d, const std::optional<LowerPoisson>& running,
                        const std::optional<LowerPoisson>& before, std::vector<Sum>& sum) const {
  const std::vector<double>& ahead = Ahead[d];
  const std::size_t jumps = ahead.size() / Width;
  if (running) {
    // Begun at the m-th of m + l jumps by the time: still running.
    for (std::size_t l = 0; l < jumps && m + l <= running->right(); l++) {
      const double w = (*running)(m + l);
      for (std::size_t v = 0; w > 0 && v < Width; v++) {
        sum[v].add(w * ahead[l * Width + v]);
      }
    }
  }
  if (!before || m == 0) {
    return;  // begun at the shift itself: fired by now
  }
  // Still running when fewer than m of the jumps come before elapsed less
  // the delay: b of them, then m + l - b within the delay.
  const LowerPoisson& inside = *InPeriod[d];
  for (std::size_t l = 0; l < jumps; l++) {
    double w = 0.0;
    const std::uint64_t total = m + l;
    const std::uint64_t low = total > inside.right() ? total - inside.right() : 0;
    const std::uint64_t high = std::min(m - 1, total - std::min(total, inside.left()));
    for (std::uint64_t b = std::max(low, before->left()); b <= std::min(high, before->right());
         b++) {
      w += (*before)(b) * inside(total - b);
    }
    for (std::size_t v = 0; w > 0 && v < Width; v++) {
      sum[v].add(w * ahead[l * Width + v]);
    }
  }
}

void Series::runShift(double shift, const Arrivals& arrivals) {
  ShiftTerms terms;
  std::uint64_t steps = 0;
  for (const Span& span : Spans) {
    terms.running.emplace_back(Delays.size());
    terms.before.emplace_back(Delays.size());
    if (Integrated) {
      addSpanTerms(shift, span, terms);
      if (FiringImpulses) {
        addFiringTerms(shift, span, terms);
      }
    } else {
      addInstantTerms(shift, span.stop, terms);
    }
    steps = std::max(steps, terms.held.back().right());
    StepsTaken += terms.held.back().size();  // computing the windows is work too
  }
  checkedSteps(steps);
  const std::size_t n = Chain.size();
  std::vector<double> x(n, 0.0);  // in a state without a clock after m jumps
  std::vector<double> s(n, 0.0);  // beginning a period after m jumps
  std::vector<double> nextX(n);
  std::vector<double> nextS(n);
  std::vector<double> reward(Width);
  std::size_t next = 0;  // arrival
  for (std::uint64_t m = arrivals.front().m; m <= steps; m++) {
    if (++StepsTaken > MaxSteps) {
      throw SolveError("the series needs more than the limit of " + std::to_string(MaxSteps) +
                       " steps (-m)");
    }
    for (; next < arrivals.size() && arrivals[next].m == m; next++) {
      (EntryOf[arrivals[next].state] >= 0 ? s : x)[arrivals[next].state] +=
          arrivals[next].probability;
    }
    std::fill(reward.begin(), reward.end(), 0.0);
    for (std::size_t i = 0; i < n; i++) {
      if (x[i] != 0) {
        for (std::size_t v = 0; v < Width; v++) {
          reward[v] += x[i] * Rewards[i * Width + v];
        }
      }
    }
    for (std::size_t t = 0; t < Spans.size(); t++) {
      const double w = terms.active[t] ? terms.held[t](m) : 0.0;
      for (std::size_t v = 0; w > 0 && v < Width; v++) {
        Sums[t][v].add(w * reward[v]);
      }
    }
    addPeriods(shift, m, s, terms);
    std::fill(nextX.begin(), nextX.end(), 0.0);
    std::fill(nextS.begin(), nextS.end(), 0.0);
    for (std::size_t i = 0; i < n; i++) {
      if (x[i] == 0) {
        continue;
      }
      double stay = x[i];
      for (std::uint64_t e = Chain.rowStart[i]; e < Chain.rowStart[i + 1]; e++) {
        const double moved = x[i] * Chain.rate[e] / Rate;
        stay -= moved;
        const std::uint32_t target = Chain.column[e];
        (EntryOf[target] >= 0 ? nextS : nextX)[target] += moved;
      }
      nextX[i] += stay;
    }
    x.swap(nextX);
    s.swap(nextS);
    // What is left here and still to come is too little to count.
    if (next == arrivals.size() && massOf(x) + massOf(s) <= Truncation) {
      break;
    }
  }
}

std::vector<std::vector<Estimate>> Series::run() {
  findEntries();
  schedule(0.0, 0, Chain.initial, 1.0);
  while (!Pending.empty()) {
    const auto first = Pending.begin();
    const double shift = first->first;
    Arrivals arrivals = std::move(first->second);
    Pending.erase(first);
    std::stable_sort(arrivals.begin(), arrivals.end(),
                     [](const Arrival& a, const Arrival& b) { return a.m < b.m; });
    double mass = 0.0;
    for (const Arrival& arrival : arrivals) {
      mass += arrival.probability;
    }
    if (mass > Truncation) {
      runShift(shift, arrivals);
    }
  }
  std::vector<std::vector<Estimate>> estimates(Spans.size());
  const std::size_t numVariables = Width - 1;
  for (std::size_t t = 0; t < Spans.size(); t++) {
    // The terms with a reward of 1 add up to the probability 1 at an
    // instant, and to the span's length over it.
    const double whole = Integrated ? Spans[t].stop - Spans[t].start : 1.0;
    const double missing = std::max(0.0, whole - Sums[t][numVariables].value());
    LeftOut.push_back(missing);
    for (std::size_t v = 0; v < numVariables; v++) {
      double low = INFINITY;
      double high = -INFINITY;
      for (std::size_t s = 0; s < Chain.size(); s++) {
        low = std::min(low, Chain.rewards[s * numVariables + v]);
        high = std::max(high, Chain.rewards[s * numVariables + v]);
      }
      estimates[t].push_back(
          {Sums[t][v].value() + missing * (low + high) / 2, missing * (high - low) / 2});
    }
  }
  return estimates;
}

}  // namespace

bool clocksRunToTheEnd(const DeterministicProcess& process) {
  const MarkovChain& chain = process.exponential;
  for (std::size_t s = 0; s < chain.size(); s++) {
    const std::int64_t clock = process.clockOf(s);
    for (std::uint64_t e = chain.rowStart[s]; clock >= 0 && e < chain.rowStart[s + 1]; e++) {
      if (process.clockOf(chain.column[e]) != clock) {
        return false;
      }
    }
  }
  return true;
}

std::vector<std::vector<Estimate>> shiftedPoissonRewards(const DeterministicProcess& process,
                                                         const std::vector<double>& times,
                                                         double epsilon, std::uint64_t maxSteps) {
  std::vector<Span> instants;
  for (double t : times) {
    instants.push_back({t, t});
  }
  return Series(process, instants, false, epsilon, maxSteps).run();
}

std::vector<std::vector<Estimate>> shiftedPoissonIntegrals(const DeterministicProcess& process,
                                                           const std::vector<Span>& spans,
                                                           double epsilon, std::uint64_t maxSteps) {
  Series series(process, spans, true, epsilon, maxSteps);
  std::vector<std::vector<Estimate>> estimates = series.run();
  if (!series.firingImpulses()) {
    return estimates;
  }
  // The paths the integrals leave out by a span's stop, which may fire
  // within it: the same series at the stops, with the same truncation,
  // takes fewer terms, so it leaves out at least as much.
  std::vector<Span> stops;
  for (const Span& span : spans) {
    stops.push_back({span.stop, span.stop});
  }
  Series atStops(process, stops, false, epsilon, maxSteps, series.truncation());
  atStops.run();
  for (std::size_t t = 0; t < spans.size(); t++) {
    for (std::size_t v = 0; v < estimates[t].size(); v++) {
      estimates[t][v].error += series.impulseShortfall(t, v, atStops.leftOut()[t]);
    }
  }
  return estimates;
}

}  // namespace solver
