#include "solver/DeterministicProcess.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace solver {

namespace {

// The files carry 11 significant digits: sums of probabilities and rates
// agree to about this.
const double kTolerance = 1e-9;

// "%g": 6 significant digits, without trailing zeros.
std::string numberText(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

// The entries of the ".det" file (indices into run.delays) that list each
// state, with repetitions.
class Listings {
 public:
  Listings(const std::vector<DelayEnabling>& delays, std::uint32_t numStates)
      : Start(numStates + std::size_t(1), 0) {
    for (const DelayEnabling& entry : delays) {
      for (std::uint32_t state : entry.states) {
        Start[state]++;
      }
    }
    for (std::size_t s = 1; s < Start.size(); s++) {
      Start[s] += Start[s - 1];
    }
    Entry.resize(Start.back());
    std::vector<std::uint64_t> next(Start.begin(), Start.end() - 1);
    for (std::uint32_t e = 0; e < delays.size(); e++) {
      for (std::uint32_t state : delays[e].states) {
        Entry[next[state - 1]++] = e;
      }
    }
  }
  // The entries listing state s (from 0).
  std::vector<std::uint32_t> of(std::uint32_t s) const {
    return std::vector<std::uint32_t>(Entry.begin() + Start[s], Entry.begin() + Start[s + 1]);
  }

 private:
  std::vector<std::uint64_t> Start;  // by state from 0; state s at Start[s] to Start[s + 1]
  std::vector<std::uint32_t> Entry;
};

// A firing found in one state, with the line to blame for it.
struct Candidate {
  ClockedFiring firing;
  std::string file;
  unsigned long line = 0;
};

class Builder {
 public:
  Builder(const RunFiles& run, double horizon, bool concurrent)
      : Run(run),
        Horizon(horizon),
        Concurrent(concurrent),
        Delays(*run.delays),
        Listed(Delays, run.space.numStates) {}

  DeterministicProcess build();

 private:
  // The firings of state s and, into rates, the exponential rate of each
  // transition of its ".arm" record (0 where none is left).
  std::vector<Candidate> firingsFromFile(std::uint32_t s, std::vector<double>& rates);
  std::vector<Candidate> firingsFromStateSpace(std::uint32_t s, std::vector<double>& rates);
  // Groups the outcomes of state s in the ".firings" file by activity and delay.
  std::vector<Candidate> groupOutcomes(std::uint32_t s);
  void checkListed(std::uint32_t s, const std::vector<Candidate>& candidates) const;
  // Subtracts the firings' outcomes from the ".arm" values of state s.
  void separateRates(std::uint32_t s, const std::vector<Candidate>& candidates,
                     std::vector<double>& rates) const;
  // Keeps the one firing of s that can happen before the horizon.
  void keepShort(std::uint32_t s, std::vector<Candidate>& candidates);
  void addExponential(std::uint32_t s, const std::vector<double>& rates);
  // The impulses of the firing of s, from the ".imp" file (empty without one).
  std::vector<double> firingImpulse(std::uint32_t s, const ClockedFiring& firing) const;
  [[noreturn]] void fail(const std::string& file, unsigned long line,
                         const std::string& message) const {
    throw InputError(Diagnostic{file, line, message});
  }
  std::string clockText(const ClockedFiring& firing) const;

  const RunFiles& Run;
  const double Horizon;
  const bool Concurrent;  // keep every firing of a state
  const std::vector<DelayEnabling>& Delays;
  const Listings Listed;
  std::size_t NextOutcome = 0;  // in the ".firings" file
  DeterministicProcess Process;
};

std::string Builder::clockText(const ClockedFiring& firing) const {
  const std::string& name = Process.clockNames[firing.clock];
  return numberText(firing.delay) + (name.empty() ? "" : " (" + name + ")");
}

DeterministicProcess Builder::build() {
  const std::uint32_t numStates = Run.space.numStates;
  if (Run.firings) {
    Process.clockNames = Run.firings->activities;
  } else {
    Process.clockNames.assign(Delays.size(), "");
  }
  Process.firingOf.assign(numStates, -1);
  if (Concurrent) {
    Process.firingsOf.resize(numStates);
  }
  Process.exponential.numVariables = Run.rewards.numVariables;
  Process.exponential.rewards = Run.rewards.rate;
  std::vector<double> rates;
  for (std::uint32_t s = 0; s < numStates; s++) {
    std::vector<Candidate> candidates =
        Run.firings ? firingsFromFile(s, rates) : firingsFromStateSpace(s, rates);
    keepShort(s, candidates);
    addExponential(s, rates);
  }
  return std::move(Process);
}

std::vector<Candidate> Builder::groupOutcomes(std::uint32_t s) {
  const std::vector<FiringOutcome>& outcomes = Run.firings->outcomes;
  std::vector<Candidate> candidates;
  for (; NextOutcome < outcomes.size() && outcomes[NextOutcome].state == s + 1; NextOutcome++) {
    const FiringOutcome& outcome = outcomes[NextOutcome];
    if (candidates.empty() || candidates.back().firing.clock != outcome.activity - 1 ||
        candidates.back().firing.delay != outcome.delay) {
      candidates.push_back(
          {{outcome.activity - 1, outcome.delay, {}, {}}, Run.fileName(".firings"), 0});
    }
    candidates.back().firing.outcomes.emplace_back(outcome.target - 1, outcome.probability);
    candidates.back().line = outcome.line;
  }
  for (const Candidate& candidate : candidates) {
    double sum = 0.0;
    for (const auto& outcome : candidate.firing.outcomes) {
      sum += outcome.second;
    }
    if (std::fabs(sum - 1) > kTolerance) {
      fail(candidate.file, candidate.line,
           "the outcomes of this firing in state " + std::to_string(s + 1) + " have probability " +
               numberText(sum) + ", not 1");
    }
  }
  return candidates;
}

void Builder::checkListed(std::uint32_t s, const std::vector<Candidate>& candidates) const {
  const std::vector<std::uint32_t> listed = Listed.of(s);
  for (const Candidate& candidate : candidates) {
    if (std::none_of(listed.begin(), listed.end(),
                     [&](std::uint32_t e) { return Delays[e].delay == candidate.firing.delay; })) {
      fail(candidate.file, candidate.line,
           "the .det file does not list state " + std::to_string(s + 1) + " under delay " +
               numberText(candidate.firing.delay));
    }
  }
  for (std::uint32_t e : listed) {
    if (std::none_of(candidates.begin(), candidates.end(),
                     [&](const Candidate& c) { return c.firing.delay == Delays[e].delay; })) {
      fail(Run.fileName(".det"), Delays[e].line,
           "state " + std::to_string(s + 1) + " enables this delay, but " +
               Run.fileName(".firings") + " lists no firing of it there");
    }
  }
}

std::vector<Candidate> Builder::firingsFromFile(std::uint32_t s, std::vector<double>& rates) {
  std::vector<Candidate> candidates = groupOutcomes(s);
  checkListed(s, candidates);
  separateRates(s, candidates, rates);
  return candidates;
}

void Builder::separateRates(std::uint32_t s, const std::vector<Candidate>& candidates,
                            std::vector<double>& rates) const {
  const StateSpace& space = Run.space;
  const auto first = space.target.begin() + space.rowStart[s];
  const auto last = space.target.begin() + space.rowStart[s + 1];
  rates.assign(space.value.begin() + space.rowStart[s],
               space.value.begin() + space.rowStart[s + 1]);
  std::vector<double> scale(rates.size());
  for (std::size_t i = 0; i < rates.size(); i++) {
    scale[i] = std::fabs(rates[i]);
  }
  for (const Candidate& candidate : candidates) {
    for (const auto& [target, probability] : candidate.firing.outcomes) {
      const auto found = std::lower_bound(first, last, target + 1);
      if (found == last || *found != target + 1) {
        fail(candidate.file, candidate.line,
             "state " + std::to_string(s + 1) + " has no transition to state " +
                 std::to_string(target + 1) + " in " + Run.fileName(".arm"));
      }
      rates[found - first] += probability;
      scale[found - first] += probability;
    }
  }
  for (std::size_t i = 0; i < rates.size(); i++) {
    if (rates[i] < -kTolerance * scale[i]) {
      fail(Run.fileName(".firings"), candidates.empty() ? 0 : candidates.back().line,
           "the firings of state " + std::to_string(s + 1) + " to state " +
               std::to_string(first[i]) + " outweigh the value in " + Run.fileName(".arm"));
    }
    if (rates[i] <= kTolerance * scale[i]) {
      rates[i] = 0;
    }
  }
}

std::vector<Candidate> Builder::firingsFromStateSpace(std::uint32_t s, std::vector<double>& rates) {
  const StateSpace& space = Run.space;
  const std::vector<std::uint32_t> listed = Listed.of(s);
  rates.clear();
  ClockedFiring firing;
  double mass = 0.0;
  for (std::uint64_t e = space.rowStart[s]; e < space.rowStart[s + 1]; e++) {
    rates.push_back(std::max(space.value[e], 0.0));
    if (space.value[e] < 0) {
      firing.outcomes.emplace_back(space.target[e] - 1, -space.value[e]);
      mass -= space.value[e];
    }
  }
  if (listed.empty()) {
    return {};
  }
  const std::string state = Run.describeState(s + 1);
  const DelayEnabling& entry = Delays[listed.front()];
  if (listed.size() > 1) {
    // Two delays are two activities, refused when both fire before the
    // horizon; one delay listed again may be the cases of one activity.
    std::vector<Candidate> listings;
    for (std::size_t i = 0; i < listed.size(); i++) {
      const std::uint32_t e = listed[i];
      if (i == 0 || e != listed[i - 1]) {
        listings.push_back({{e, Delays[e].delay, {}, {}}, Run.fileName(".det"), Delays[e].line});
      }
    }
    keepShort(s, listings);
    fail(Run.fileName(".det"), Delays[listed.back()].line,
         state + " is listed " + std::to_string(listed.size()) +
             " times: the .arm file does not tell the firings apart; let gen write the "
             ".firings file (-D)");
  }
  if (std::fabs(mass - 1) > kTolerance) {
    fail(Run.fileName(".arm"), 0,
         "the deterministic firing of " + state + " has probability " + numberText(mass) +
             ", not 1: a rate to the same state hides part of it; let gen write the .firings "
             "file (-D)");
  }
  firing.clock = listed.front();
  firing.delay = entry.delay;
  return {{firing, Run.fileName(".det"), entry.line}};
}

void Builder::keepShort(std::uint32_t s, std::vector<Candidate>& candidates) {
  std::vector<Candidate> short_;
  for (Candidate& candidate : candidates) {
    std::string& names =
        (candidate.firing.delay > Horizon ? Process.dropped : Process.kept)[candidate.firing.delay];
    const std::string& name = Process.clockNames[candidate.firing.clock];
    if (!name.empty() && names.find(name) == std::string::npos) {
      names += (names.empty() ? "" : ", ") + name;
    }
    if (candidate.firing.delay <= Horizon) {
      short_.push_back(std::move(candidate));
    }
  }
  if (short_.size() > 1 && !Concurrent) {
    const std::string limit = std::isinf(Horizon)
                                  ? "in the long run"
                                  : "before the last time point " + numberText(Horizon);
    fail(Run.base, 0,
         Run.describeState(s + 1) + " enables the deterministic delays " +
             clockText(short_[0].firing) + " and " + clockText(short_[1].firing) +
             ", which can both fire " + limit + "; the solver handles one per state");
  }
  for (Candidate& candidate : short_) {
    if (Process.firingOf[s] < 0) {
      Process.firingOf[s] = static_cast<std::int64_t>(Process.firings.size());
    }
    if (Concurrent) {
      Process.firingsOf[s].push_back(static_cast<std::uint32_t>(Process.firings.size()));
    }
    candidate.firing.impulse = firingImpulse(s, candidate.firing);
    Process.firings.push_back(std::move(candidate.firing));
  }
}

std::vector<double> Builder::firingImpulse(std::uint32_t s, const ClockedFiring& firing) const {
  if (!Run.impulses) {
    return {};
  }
  const ImpulseTable& table = *Run.impulses;
  auto entry = std::lower_bound(
      table.deterministic.begin(), table.deterministic.end(), s + 1,
      [](const ImpulseTable::Deterministic& e, std::uint32_t state) { return e.state < state; });
  // Without a ".firings" file the clock is the delay's, and the state enables that one delay.
  while (entry != table.deterministic.end() && entry->state == s + 1 &&
         (Run.firings ? entry->activity != firing.clock + 1 : entry->delay != firing.delay)) {
    ++entry;
  }
  if (entry == table.deterministic.end() || entry->state != s + 1) {
    if (std::none_of(table.defines.begin(), table.defines.end(), [](bool d) { return d; })) {
      return {};
    }
    fail(Run.fileName(".imp"), 0,
         "lists no impulses for the deterministic firing of " + Run.describeState(s + 1) + " (" +
             clockText(firing) + ")");
  }
  const auto first = table.firingImpulse.begin() + static_cast<std::ptrdiff_t>(entry->first);
  return std::vector<double>(first, first + static_cast<std::ptrdiff_t>(table.numVariables));
}

void Builder::addExponential(std::uint32_t s, const std::vector<double>& rates) {
  const StateSpace& space = Run.space;
  MarkovChain& chain = Process.exponential;
  for (std::size_t i = 0; i < rates.size(); i++) {
    const std::uint32_t target = space.target[space.rowStart[s] + i] - 1;
    if (rates[i] > 0 && target != s) {
      chain.column.push_back(target);
      chain.rate.push_back(rates[i]);
    }
  }
  chain.rowStart.push_back(chain.column.size());
}

}  // namespace

DeterministicProcess stoppedAtCondition(const DeterministicProcess& process,
                                        std::size_t variable) {
  DeterministicProcess stopped = process;
  const MarkovChain& chain = process.exponential;
  MarkovChain& moves = stopped.exponential;
  const std::size_t nv = chain.numVariables;
  const auto held = static_cast<std::uint32_t>(chain.size());  // the added state
  const auto holds = [&](std::size_t s) { return chain.rewards[s * nv + variable] == 1.0; };
  moves.rowStart.assign(1, 0);
  moves.column.clear();
  moves.rate.clear();
  for (std::uint32_t s = 0; s < held; s++) {
    for (std::uint64_t e = chain.rowStart[s]; !holds(s) && e < chain.rowStart[s + 1]; e++) {
      moves.column.push_back(chain.column[e]);
      moves.rate.push_back(chain.rate[e]);
    }
    moves.rowStart.push_back(moves.column.size());
    if (holds(s) && process.firingOf[s] >= 0) {
      ClockedFiring& firing = stopped.firings[process.firingOf[s]];
      firing.outcomes = {{held, 1.0}};
      firing.impulse.clear();
    }
  }
  moves.rowStart.push_back(moves.column.size());
  moves.rewards.resize(moves.rewards.size() + nv, 0.0);
  moves.rewards[held * nv + variable] = 1.0;
  stopped.firingOf.push_back(-1);
  if (!stopped.firingsOf.empty()) {
    stopped.firingsOf.emplace_back();
  }
  return stopped;
}

MarkovChain movesOf(const DeterministicProcess& process) {
  const MarkovChain& exponential = process.exponential;
  MarkovChain moves;
  moves.initial = exponential.initial;
  for (std::uint32_t s = 0; s < exponential.size(); s++) {
    for (std::uint64_t e = exponential.rowStart[s]; e < exponential.rowStart[s + 1]; e++) {
      moves.column.push_back(exponential.column[e]);
      moves.rate.push_back(exponential.rate[e]);
    }
    if (process.firingOf[s] >= 0) {
      for (const auto& outcome : process.firings[process.firingOf[s]].outcomes) {
        if (outcome.first != s) {
          moves.column.push_back(outcome.first);
          moves.rate.push_back(1.0);
        }
      }
    }
    moves.rowStart.push_back(moves.column.size());
  }
  return moves;
}

namespace {

// The index of each state's first phase in the chain with the given number
// of phases per firing; the last entry is the number of states. Throws when
// the chain would be too large.
std::vector<std::uint64_t> firstPhases(const DeterministicProcess& process, unsigned int phases) {
  const MarkovChain& exponential = process.exponential;
  std::vector<std::uint64_t> first(exponential.size() + 1, 0);
  double entries = 0;
  for (std::size_t s = 0; s < exponential.size(); s++) {
    const std::uint64_t copies = process.firingOf[s] >= 0 ? phases : 1;
    first[s + 1] = first[s] + copies;
    entries += static_cast<double>(copies) *
               static_cast<double>(exponential.rowStart[s + 1] - exponential.rowStart[s] + 1);
  }
  const double kMaxEntries = 2.5e8;  // about 3 GB
  if (first.back() > std::numeric_limits<std::uint32_t>::max() || entries > kMaxEntries) {
    throw SolveError("the chain with " + std::to_string(phases) + " phases per delay would have " +
                     std::to_string(first.back()) + " states and about " +
                     std::to_string(static_cast<std::uint64_t>(entries)) + " transitions");
  }
  return first;
}

// Appends the row of state s in the given phase: its exponential
// transitions (into the same phase where the target has the same clock),
// then the next phase or, from the last, the firing's outcomes.
void addPhaseRow(const DeterministicProcess& process, const std::vector<std::uint64_t>& first,
                 std::size_t s, std::uint64_t phase, unsigned int phases, MarkovChain& chain) {
  const MarkovChain& exponential = process.exponential;
  const std::int64_t clock = process.clockOf(s);
  const std::uint64_t row = first[s] + phase;
  const auto add = [&chain](std::uint64_t target, double rate) {
    chain.column.push_back(static_cast<std::uint32_t>(target));
    chain.rate.push_back(rate);
  };
  for (std::uint64_t e = exponential.rowStart[s]; e < exponential.rowStart[s + 1]; e++) {
    const std::uint32_t target = exponential.column[e];
    const bool keepsClock = clock >= 0 && process.clockOf(target) == clock;
    add(first[target] + (keepsClock ? phase : 0), exponential.rate[e]);
  }
  if (clock >= 0) {
    const ClockedFiring& firing = process.firings[process.firingOf[s]];
    const double phaseRate = phases / firing.delay;
    if (phase + 1 < phases) {
      add(row + 1, phaseRate);
    } else {
      for (const auto& [target, probability] : firing.outcomes) {
        if (first[target] != row) {  // a firing back into its own state restarts the clock
          add(first[target], probability * phaseRate);
        }
      }
    }
  }
  chain.rowStart.push_back(chain.column.size());
}

}  // namespace

Parsed<DeterministicProcess> buildProcess(const RunFiles& run, double horizon) {
  try {
    return Builder(run, horizon, false).build();
  } catch (const InputError& error) {
    return error.diagnostic();
  }
}

Parsed<DeterministicProcess> buildConcurrentProcess(const RunFiles& run, double horizon) {
  try {
    return Builder(run, horizon, true).build();
  } catch (const InputError& error) {
    return error.diagnostic();
  }
}

MarkovChain erlangChain(const DeterministicProcess& process, unsigned int phases) {
  const MarkovChain& exponential = process.exponential;
  const std::vector<std::uint64_t> first = firstPhases(process, phases);
  MarkovChain chain;
  chain.numVariables = exponential.numVariables;
  chain.initial = static_cast<std::uint32_t>(first[exponential.initial]);
  for (std::size_t s = 0; s < exponential.size(); s++) {
    for (std::uint64_t phase = 0; phase < first[s + 1] - first[s]; phase++) {
      addPhaseRow(process, first, s, phase, phases, chain);
      chain.rewards.insert(chain.rewards.end(),
                           exponential.rewards.begin() + s * chain.numVariables,
                           exponential.rewards.begin() + (s + 1) * chain.numVariables);
    }
  }
  return chain;
}

}  // namespace solver
