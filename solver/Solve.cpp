#include "solver/Solve.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <map>
#include <utility>
#include <variant>

#include "solver/DeterministicProcess.h"
#include "solver/EmbeddedChain.h"
#include "solver/FirstPassage.h"
#include "solver/IndependentParts.h"
#include "solver/Measures.h"
#include "solver/PreemptiveSeries.h"
#include "solver/ProductOfParts.h"
#include "solver/Progress.h"
#include "solver/Report.h"
#include "solver/RunFiles.h"
#include "solver/ShiftedPoissonSeries.h"

namespace solver {

namespace {

// Why a variable earning impulses at firings (state, from 1, one of them)
// gets no value over an interval.
std::string firingImpulseRefusal(const std::string& variable, std::uint64_t state) {
  return "earns impulses when a deterministic activity fires (state " + std::to_string(state) +
         "), which over an interval the solver counts only where at most one delay is enabled "
         "in each state and the series of shifted Poisson terms reaches the interval's end: "
         "write '" +
         variable + " in the long run' for their rate";
}

const double kUnitRoundoff = DBL_EPSILON / 2;
// A bound below this many units of roundoff of the rewards' magnitude
// cannot be reached by sums of thousands of terms.
const double kFloorUnits = 64;

std::string numberText(const char* format, double value) {
  char text[40];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// The delays that can fire, with their activities' names.
std::string delayList(const DeterministicProcess& process) {
  std::string delays;
  for (const auto& [delay, names] : process.kept) {
    delays += (delays.empty() ? "" : ", ") + numberText("%g", delay) +
              (names.empty() ? "" : " (" + names + ")");
  }
  return delays;
}

// The probability a cycle of the embedded chain may leave out: far below
// rounding, and cheap, as the Poisson window grows only with its logarithm.
const double kCycleTruncation = 1e-20;

std::string counted(std::size_t count, const std::string& thing) {
  return std::to_string(count) + " " + thing + (count == 1 ? "" : "s");
}

bool timed(VariableKind kind) {
  return kind != VariableKind::kLongRun && kind != VariableKind::kMeanTime;
}

const char* kindName(VariableKind kind) {
  switch (kind) {
    case VariableKind::kInstant:
      return "an instant-of-time variable (type 0)";
    case VariableKind::kAccumulated:
      return "an interval variable (type 1)";
    case VariableKind::kAverage:
      return "a time-averaged interval variable (type 2)";
    case VariableKind::kLongRun:
      return "a long-run variable (type 3)";
    case VariableKind::kMeanTime:
      return "a mean time to a condition (type 4)";
    case VariableKind::kProbabilityBy:
      return "a probability that a condition has held (type 5)";
  }
  return "";
}

// The chain of a run without deterministic delays, built in the storage of
// its state space (self-loops change nothing and are left out), with the
// given rewards.
MarkovChain chainOf(RunFiles& run, std::vector<double> rewards) {
  StateSpace& space = run.space;
  MarkovChain chain;
  std::uint64_t kept = 0;
  std::uint64_t start = 0;
  for (std::uint32_t s = 0; s < space.numStates; s++) {
    const std::uint64_t end = space.rowStart[s + 1];
    for (std::uint64_t e = start; e < end; e++) {
      if (space.target[e] - 1 != s && space.value[e] > 0) {
        space.target[kept] = space.target[e] - 1;
        space.value[kept++] = space.value[e];
      }
    }
    start = end;
    space.rowStart[s + 1] = kept;
  }
  space.target.resize(kept);
  space.value.resize(kept);
  chain.rowStart = std::move(space.rowStart);
  chain.column = std::move(space.target);
  chain.rate = std::move(space.value);
  chain.numVariables = run.rewards.numVariables;
  chain.rewards = std::move(rewards);
  return chain;
}

// The newer estimates, each with the estimate of its error: its
// difference from the older value plus twice its own bound and the older's.
std::vector<Estimate> compared(const std::vector<Estimate>& older,
                               const std::vector<Estimate>& newer) {
  std::vector<Estimate> combined = newer;
  for (std::size_t i = 0; i < newer.size(); i++) {
    combined[i].error =
        std::fabs(newer[i].value - older[i].value) + 2 * newer[i].error + older[i].error;
  }
  return combined;
}

double worst(const std::vector<Estimate>& estimates, double Estimate::*part) {
  double most = 0;
  for (const Estimate& estimate : estimates) {
    most = std::max(most, estimate.*part);
  }
  return most;
}

std::vector<MeasureRequest> subset(const std::vector<MeasureRequest>& requests,
                                   const std::vector<std::size_t>& which) {
  std::vector<MeasureRequest> part;
  for (std::size_t r : which) {
    part.push_back(requests[r]);
  }
  return part;
}

// Puts the evaluation of the requests at which into whole.
void place(Evaluation& whole, const std::vector<std::size_t>& which, const Evaluation& part) {
  for (std::size_t i = 0; i < which.size(); i++) {
    whole.estimates[which[i]] = part.estimates[i];
    whole.infinite[which[i]] = part.infinite[i];
  }
  if (part.steps.needed > 0) {
    whole.steps = part.steps;
  }
  whole.longRunMethod = part.longRunMethod.empty() ? whole.longRunMethod : part.longRunMethod;
  whole.meanTimeMethod = part.meanTimeMethod.empty() ? whole.meanTimeMethod : part.meanTimeMethod;
  whole.stopped = whole.stopped || part.stopped;
}

// The distinct spans of the requests which (an instant as a span of no
// length at its time), sorted, and into rows the position of each
// request's span among them.
std::vector<Span> distinctSpans(const std::vector<MeasureRequest>& requests,
                                const std::vector<std::size_t>& which, bool instants,
                                std::vector<std::size_t>& rows) {
  std::vector<std::pair<double, double>> intervals;
  for (std::size_t r : which) {
    intervals.emplace_back(instants ? requests[r].stop : requests[r].start, requests[r].stop);
  }
  std::vector<std::pair<double, double>> distinct = intervals;
  std::sort(distinct.begin(), distinct.end());
  distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
  for (const auto& interval : intervals) {
    rows.push_back(std::lower_bound(distinct.begin(), distinct.end(), interval) -
                   distinct.begin());
  }
  std::vector<Span> spans;
  for (const auto& [start, stop] : distinct) {
    spans.push_back({start, stop});
  }
  return spans;
}

class Solver {
 public:
  Solver(const SolveOptions& options, RunFiles& run)
      : Options(options), Run(run), Epsilon(options.epsilon), Withdrawn(run.variables.size()) {}
  Solution run();

 private:
  // The requests of each variable in order; refuses what cannot be computed.
  void planRequests();
  void planVariable(std::size_t v);
  void checkImpulses(std::size_t v, VariableKind kind) const;
  // The last time point of variable: its own, or those of -t.
  double lastTime(const RewardVariable& variable) const;
  void checkCondition(std::size_t v) const;
  std::vector<double> effectiveRewards() const;
  void raiseToFloor(const std::vector<double>& rewards);
  void noteModel();
  void noteTransient();
  void noteMethods(const Evaluation& evaluation, bool anyTimed);
  EvaluationSettings settings(double epsilon) const;
  // The requests whose kind is timed (or not), and their positions.
  std::vector<MeasureRequest> group(bool timedKinds, std::vector<std::size_t>& positions) const;
  void evaluateWithoutDelays(std::vector<double> rewards);
  // Where a run has deterministic delays: each group of requests on the
  // process up to its horizon.
  void evaluateWithDelays(const std::vector<double>& rewards);
  Evaluation solveWithDelays(const DeterministicProcess& process,
                             const std::vector<MeasureRequest>& requests);
  // Requests at instants and in the long run of a process that
  // buildProcess refused (refusal) for concurrent delays up to the
  // horizon: solved in independent parts where it splits into parts with
  // one delay at a time; otherwise the refusal is thrown, with the reason.
  Evaluation inParts(const std::vector<MeasureRequest>& requests,
                     const std::vector<double>& rewards, double horizon, Diagnostic refusal);
  // Each part's states' indicators solved as the process's own requests
  // are, their products summed.
  Evaluation solveParts(std::vector<ProcessPart>& parts,
                        const std::vector<MeasureRequest>& requests,
                        const std::vector<double>& rewards);
  // A mean time to a condition through the embedded chain of its first passage.
  Evaluation meanTimeWithDelays(const DeterministicProcess& process, const MeasureRequest& request);
  // The requests which, all at instants or all over intervals, by the
  // series of shifted Poisson terms, into result; false (with a note) when
  // the series gave up.
  bool bySeries(const DeterministicProcess& process, const std::vector<MeasureRequest>& requests,
                const std::vector<std::size_t>& which, Evaluation& result);
  // The probabilities that the condition of variable has held by the
  // times of which, as values at instants of the process stopped there.
  bool conditionBySeries(const DeterministicProcess& process,
                         const std::vector<MeasureRequest>& requests, std::size_t variable,
                         const std::vector<std::size_t>& which, Evaluation& result);
  // Of which, the requests kept: the variables that earn impulses at a
  // firing (all timed: instants never count impulses) are refused, alone.
  std::vector<std::size_t> withdrawFiringImpulses(const DeterministicProcess& process,
                                                  const std::vector<MeasureRequest>& requests,
                                                  const std::vector<std::size_t>& which);
  // Doubles the phases of the delays until two successive values agree.
  Evaluation doublePhases(const DeterministicProcess& process,
                          const std::vector<MeasureRequest>& requests);
  void noteDroppedDelays(const DeterministicProcess& process, double horizon);
  void noteErlang(const DeterministicProcess& process, unsigned int phases,
                  const std::string& outcome);
  void store(const Evaluation& evaluation, const std::vector<std::size_t>& positions);
  void finish();

  const SolveOptions& Options;
  RunFiles& Run;
  double Epsilon;
  std::vector<MeasureRequest> Requests;
  std::vector<VariableValue> Values;  // by request
  std::vector<bool> Withdrawn;        // by variable: refused after its requests were planned
  bool WithDelays = false;
  Solution Result;
};

void Solver::planRequests() {
  for (std::size_t v = 0; v < Run.variables.size(); v++) {
    const std::size_t planned = Requests.size();
    try {
      planVariable(v);
    } catch (const InputError& error) {
      // The variable gets no value; the others are still solved.
      Requests.resize(planned);
      Values.resize(planned);
      Result.refused.push_back(error.diagnostic());
    }
  }
}

void Solver::planVariable(std::size_t v) {
  const RewardVariable& variable = Run.variables[v];
  const auto refuse = [&](const std::string& why) {
    throw InputError(
        {Run.fileName(".pvtype"), variable.line, "variable " + variable.name + " " + why});
  };
  if (variable.type < 0 || variable.type > 5) {
    refuse("has type " + std::to_string(variable.type) + ": the solver knows types 0 to 5");
  }
  const auto kind = static_cast<VariableKind>(variable.type);
  checkImpulses(v, kind);
  if (kind == VariableKind::kMeanTime || kind == VariableKind::kProbabilityBy) {
    checkCondition(v);
  }
  const auto add = [&](VariableKind k, double start, double stop) {
    Requests.push_back({v, k, start, stop});
    Values.push_back({variable.name, stop, {}, k, start, false});
  };
  if (!timed(kind)) {
    if (!variable.times.empty()) {
      refuse("is " + std::string(kindName(kind)) + ", which has no time points, but lists " +
             counted(variable.times.size(), "time point"));
    }
    add(kind, 0.0, INFINITY);
    return;
  }
  const bool instant = kind == VariableKind::kInstant || kind == VariableKind::kProbabilityBy;
  std::vector<RewardVariable::Interval> times = variable.times;
  if (!Options.times.empty()) {
    times.clear();
    for (double t : Options.times) {
      if (kind == VariableKind::kAverage && t == 0) {
        throw InputError({Options.base, 0,
                          "option -t: the average of " + variable.name +
                              " over [0, 0] is not defined; give times above 0"});
      }
      times.push_back({instant ? t : 0.0, t});
    }
  }
  for (const RewardVariable::Interval& interval : times) {
    if (instant && interval.start != interval.stop) {
      refuse("is taken at an instant, but a start and stop time differ");
    }
    if (!instant && !(interval.start < interval.stop) && Options.times.empty()) {
      refuse("is taken over intervals, but an interval's start " +
             numberText("%g", interval.start) + " is not before its stop " +
             numberText("%g", interval.stop));
    }
    add(kind, interval.start, interval.stop);
  }
  if (Options.longRun && kind != VariableKind::kProbabilityBy) {
    add(VariableKind::kLongRun, 0.0, INFINITY);
  }
}

double Solver::lastTime(const RewardVariable& variable) const {
  const std::vector<double>& asked = Options.times;
  double t = asked.empty() ? 0.0 : *std::max_element(asked.begin(), asked.end());
  for (const RewardVariable::Interval& interval : variable.times) {
    t = asked.empty() ? std::max(t, interval.stop) : t;
  }
  return t;
}

void Solver::checkImpulses(std::size_t v, VariableKind kind) const {
  const RewardVariable& variable = Run.variables[v];
  const bool recorded = Run.rewards.hasImpulses[v];
  const bool defined = Run.impulses ? Run.impulses->defines[v] : recorded;
  const auto refuse = [&](const std::string& file, const std::string& why) {
    throw InputError({Run.fileName(file.c_str()), file == ".pvtype" ? variable.line : 0,
                      "variable " + variable.name + " " + why});
  };
  if (Run.impulses && recorded && !defined) {
    refuse(".imp",
           "has no impulses by this file, but the .var file records some: the files are "
           "of different runs");
  }
  if (!defined) {
    return;
  }
  if (kind == VariableKind::kInstant) {
    // Say what to write instead, at the variable's own last time point.
    const std::string at = numberText("%g", lastTime(variable));
    refuse(".pvtype",
           "has impulse rewards, which an instant of time cannot count: an impulse "
           "is earned in no time; write '" +
               variable.name + " over [0, " + at + "]' for the expected count by time " + at +
               ", or '" + variable.name + " in the long run' for its rate");
  }
  if (kind == VariableKind::kMeanTime || kind == VariableKind::kProbabilityBy) {
    refuse(".pvtype", "has impulse rewards, which " + std::string(kindName(kind)) +
                          " cannot use: its condition is its rate reward alone; ask for the "
                          "impulses in a variable of their own, over an interval or in the "
                          "long run");
  }
  if (!Run.impulses) {
    refuse(".var",
           "has impulse rewards, but there is no .imp file with what they earn: "
           "generate the run again");
  }
  if (Run.delays && !Run.delays->empty() && kind != VariableKind::kLongRun) {
    // A firing that cannot come within the variable's times earns nothing.
    // Where two delays run in one state the run is solved in parts, which
    // count no impulse at a firing: this variable alone is refused.
    const double horizon = lastTime(variable);
    for (const ImpulseTable::Deterministic& entry : Run.impulses->deterministic) {
      if (Run.impulses->firingImpulse[entry.first + v] != 0 && entry.delay <= horizon) {
        const Parsed<DeterministicProcess> process = buildProcess(Run, horizon);
        if (!process.ok()) {
          refuse(".imp", firingImpulseRefusal(variable.name, entry.state));
        }
        return;
      }
    }
  }
}

std::vector<std::size_t> Solver::withdrawFiringImpulses(
    const DeterministicProcess& process, const std::vector<MeasureRequest>& requests,
    const std::vector<std::size_t>& which) {
  // Over an interval only the series counts an impulse at a firing; the
  // Erlang phases have no room for one.
  std::vector<std::size_t> kept;
  for (std::size_t r : which) {
    const std::size_t v = requests[r].variable;
    std::int64_t earning = -1;  // a state whose firing earns an impulse of v
    for (std::size_t s = 0; s < process.firingOf.size() && earning < 0; s++) {
      const std::int64_t f = process.firingOf[s];
      if (f >= 0 && !process.firings[f].impulse.empty() && process.firings[f].impulse[v] != 0) {
        earning = static_cast<std::int64_t>(s);
      }
    }
    if (earning < 0) {
      kept.push_back(r);
    } else if (!Withdrawn[v]) {
      Withdrawn[v] = true;
      const std::string& name = Run.variables[v].name;
      Result.refused.push_back(
          {Run.fileName(".imp"), 0,
           "variable " + name + " " +
               firingImpulseRefusal(name, static_cast<std::uint64_t>(earning) + 1)});
    }
  }
  return kept;
}

void Solver::checkCondition(std::size_t v) const {
  const std::size_t nv = Run.rewards.numVariables;
  for (std::size_t s = 0; s < Run.space.numStates; s++) {
    const double r = Run.rewards.rate[s * nv + v];
    if (r != 0.0 && r != 1.0) {
      throw InputError({Run.fileName(".var"), 0,
                        "variable " + Run.variables[v].name + " is " +
                            kindName(static_cast<VariableKind>(Run.variables[v].type)) +
                            ", but its rate reward in state " + std::to_string(s + 1) + " is " +
                            numberText("%g", r) +
                            ": a condition is 1 where it holds and 0 elsewhere"});
    }
  }
}

std::vector<double> Solver::effectiveRewards() const {
  std::vector<double> rewards = Run.rewards.rate;
  if (Run.impulses) {
    // Impulses earned per unit time count as a rate reward: over an
    // interval and in the long run the expected number of firings is the
    // time spent in each state times its rates.
    for (std::size_t i = 0; i < rewards.size(); i++) {
      rewards[i] += Run.impulses->rate[i];
    }
  }
  return rewards;
}

void Solver::raiseToFloor(const std::vector<double>& rewards) {
  const std::size_t nv = Run.rewards.numVariables;
  double largest = 0.0;
  for (std::size_t v = 0; v < nv; v++) {
    if (static_cast<VariableKind>(Run.variables[v].type) == VariableKind::kMeanTime) {
      continue;
    }
    double low = INFINITY;
    double high = -INFINITY;
    for (std::size_t i = v; i < rewards.size(); i += nv) {
      low = std::min(low, rewards[i]);
      high = std::max(high, rewards[i]);
    }
    // With a relative bound, rewards of one sign keep their relative
    // precision however small the value.
    if (Options.relative > 0 && (low >= 0 || high <= 0)) {
      continue;
    }
    largest = std::max({largest, std::fabs(low), std::fabs(high)});
  }
  const double floor = kFloorUnits * kUnitRoundoff * largest;
  if (Epsilon < floor) {
    Epsilon = std::stod(numberText("%.2g", floor * 1.05));
    Result.notes.push_back("the bound " + numberText("%g", Options.epsilon) +
                           " is below what double precision can reach for rewards up to " +
                           numberText("%g", largest) + ": raised to " + numberText("%g", Epsilon));
  }
}

void Solver::noteModel() {
  Result.notes.push_back(Run.base + ": " + counted(Run.space.numStates, "state") + ", " +
                         counted(Run.variables.size(), "reward variable"));
  if (WithDelays && !Run.firings) {
    Result.notes.push_back(
        "no .firings file: a delay enabled in successive states counts as one activity's");
  }
}

void Solver::noteTransient() {
  if (std::any_of(Requests.begin(), Requests.end(),
                  [](const MeasureRequest& r) { return timed(r.kind); })) {
    Result.notes.push_back(
        "transient values: uniformization with Fox-Glynn truncation, absolute error bound " +
        numberText("%g", Epsilon) +
        (Options.relative > 0 ? ", relative bound " + numberText("%g", Options.relative) : ""));
  }
}

EvaluationSettings Solver::settings(double epsilon) const {
  EvaluationSettings evaluation;
  evaluation.epsilon = epsilon;
  evaluation.relative = Options.relative;
  evaluation.maxSteps = Options.maxSteps;
  evaluation.threads = Options.threads;
  evaluation.progress = Options.progress;
  return evaluation;
}

std::vector<MeasureRequest> Solver::group(bool timedKinds,
                                          std::vector<std::size_t>& positions) const {
  std::vector<MeasureRequest> requests;
  for (std::size_t r = 0; r < Requests.size(); r++) {
    if (timed(Requests[r].kind) == timedKinds) {
      requests.push_back(Requests[r]);
      positions.push_back(r);
    }
  }
  return requests;
}

void Solver::noteMethods(const Evaluation& evaluation, bool anyTimed) {
  const UniformizationSteps& steps = evaluation.steps;
  if (anyTimed && steps.needed > 0) {
    Result.notes.push_back("uniformization rate " + numberText("%g", steps.rate) + ": " +
                           std::to_string(steps.taken) + " of the " + std::to_string(steps.needed) +
                           " steps to the last time point" +
                           (evaluation.stopped           ? " when stopped"
                            : steps.taken < steps.needed ? ", stationary from then on"
                                                         : ""));
  }
  if (!evaluation.longRunMethod.empty()) {
    Result.notes.push_back(
        "long-run values: the Poisson equation of each closed class (" + evaluation.longRunMethod +
        "), bounds from its residual, absolute error bound " + numberText("%g", Epsilon));
  }
  if (!evaluation.meanTimeMethod.empty()) {
    Result.notes.push_back("mean times: a linear system (" + evaluation.meanTimeMethod +
                           "), bounds from its residual");
  }
}

void Solver::store(const Evaluation& evaluation, const std::vector<std::size_t>& positions) {
  for (std::size_t i = 0; i < positions.size(); i++) {
    Values[positions[i]].estimate = evaluation.estimates[i];
    Values[positions[i]].infinite = evaluation.infinite[i];
  }
  Result.stopped = Result.stopped || evaluation.stopped;
}

void Solver::evaluateWithoutDelays(std::vector<double> rewards) {
  const MarkovChain chain = chainOf(Run, std::move(rewards));
  std::vector<std::size_t> positions(Requests.size());
  for (std::size_t r = 0; r < positions.size(); r++) {
    positions[r] = r;
  }
  const Evaluation evaluation = evaluateMeasures(chain, Requests, settings(Epsilon));
  noteMethods(evaluation, true);
  store(evaluation, positions);
}

void Solver::evaluateWithDelays(const std::vector<double>& rewards) {
  RunFiles& run = Run;
  run.rewards.rate = rewards;
  for (bool timedKinds : {true, false}) {
    std::vector<std::size_t> positions;
    const std::vector<MeasureRequest> requests = group(timedKinds, positions);
    if (requests.empty()) {
      continue;
    }
    double horizon = INFINITY;
    if (timedKinds) {
      horizon = 0.0;
      for (const MeasureRequest& request : requests) {
        horizon = std::max(horizon, request.stop);
      }
    }
    Parsed<DeterministicProcess> process = buildProcess(Run, horizon);
    Evaluation evaluation;
    if (process.ok()) {
      noteDroppedDelays(process.value(), horizon);
      evaluation = solveWithDelays(process.value(), requests);
    } else {
      evaluation = inParts(requests, rewards, horizon, process.error());
    }
    noteMethods(evaluation, timedKinds);
    store(evaluation, positions);
  }
}

Evaluation Solver::solveWithDelays(const DeterministicProcess& process,
                                   const std::vector<MeasureRequest>& requests) {
  if (process.firings.empty()) {
    return evaluateMeasures(process.exponential, requests, settings(Epsilon));
  }
  Evaluation result;
  result.estimates.resize(requests.size());
  result.infinite.assign(requests.size(), false);
  std::vector<std::size_t> longRun, instants, intervals, others;
  std::map<std::size_t, std::vector<std::size_t>> conditions;  // by variable
  for (std::size_t r = 0; r < requests.size(); r++) {
    const VariableKind kind = requests[r].kind;
    if (kind == VariableKind::kMeanTime) {
      place(result, {r}, meanTimeWithDelays(process, requests[r]));
    } else if (kind == VariableKind::kLongRun) {
      longRun.push_back(r);
    } else if (kind == VariableKind::kInstant) {
      instants.push_back(r);
    } else if (kind == VariableKind::kProbabilityBy) {
      conditions[requests[r].variable].push_back(r);
    } else {
      intervals.push_back(r);
    }
  }
  for (const auto& [variable, which] : conditions) {
    if (!conditionBySeries(process, requests, variable, which, result)) {
      others.insert(others.end(), which.begin(), which.end());
      std::sort(others.begin(), others.end());
    }
  }
  if (!longRun.empty()) {
    Result.notes.push_back("deterministic delays " + delayList(process) +
                           ": the embedded Markov regenerative process, each delay's subordinated "
                           "chain uniformized over it (leaving out at most " +
                           numberText("%g", kCycleTruncation) + " of a cycle's probability)");
    place(result, longRun,
          evaluateMeasures(embeddedChain(process, kCycleTruncation, Options.maxSteps),
                           subset(requests, longRun), settings(Epsilon)));
  }
  // Apart: intervals may need more steps than the instants.
  for (const std::vector<std::size_t>* which : {&instants, &intervals}) {
    if (!which->empty() && !bySeries(process, requests, *which, result)) {
      others.insert(others.end(), which->begin(), which->end());
      std::sort(others.begin(), others.end());
    }
  }
  others = withdrawFiringImpulses(process, requests, others);
  if (!others.empty()) {
    place(result, others, doublePhases(process, subset(requests, others)));
  }
  return result;
}

Evaluation Solver::inParts(const std::vector<MeasureRequest>& requests,
                           const std::vector<double>& rewards, double horizon,
                           Diagnostic refusal) {
  const auto refuse = [&](const std::string& why) {
    refusal.message += "; " + why;
    throw InputError(refusal);
  };
  // The value at an instant, and in the long run, of a product of
  // independent parts is a sum over products of theirs; other kinds are not.
  const bool factors = std::all_of(requests.begin(), requests.end(), [](const MeasureRequest& r) {
    return r.kind == VariableKind::kInstant || r.kind == VariableKind::kLongRun;
  });
  if (!factors || !Run.firings) {
    throw InputError(refusal);
  }
  // Built again with every firing kept, what remains wrong with the files is said alone.
  Parsed<DeterministicProcess> process = buildConcurrentProcess(Run, horizon);
  if (!process.ok()) {
    throw InputError(process.error());
  }
  if (!Run.markings) {
    refuse("with the .states file (gen -M) the solver would try to split it into independent parts");
  }
  for (const ClockedFiring& firing : process.value().firings) {
    for (const MeasureRequest& request : requests) {
      if (!firing.impulse.empty() && firing.impulse[request.variable] != 0) {
        refuse("it does not split into independent parts with impulses earned when a delay fires");
      }
    }
  }
  auto split = independentParts(process.value(), *Run.markings);
  if (std::holds_alternative<std::string>(split)) {
    refuse("it does not split into independent parts: " + std::get<std::string>(split));
  }
  std::vector<ProcessPart>& parts = std::get<std::vector<ProcessPart>>(split);
  const std::string why = partsRefusal(parts, requests);
  if (!why.empty()) {
    refuse("it does not split into independent parts: " + why);
  }
  noteDroppedDelays(process.value(), horizon);
  Result.notes.push_back("deterministic delays " + delayList(process.value()) +
                         " run concurrently in " + std::to_string(parts.size()) +
                         " independent parts, each solved apart: a state's share is the product "
                         "of its parts'");
  return solveParts(parts, requests, rewards);
}

Evaluation Solver::solveParts(std::vector<ProcessPart>& parts,
                              const std::vector<MeasureRequest>& requests,
                              const std::vector<double>& rewards) {
  const std::size_t nv = Run.rewards.numVariables;
  double largest = DBL_MIN;
  std::size_t partStates = 0;
  for (const MeasureRequest& request : requests) {
    for (std::size_t s = 0; s < Run.space.numStates; s++) {
      largest = std::max(largest, std::fabs(rewards[s * nv + request.variable]));
    }
  }
  for (const ProcessPart& part : parts) {
    partStates += part.process.exponential.size();
  }
  // Each part's shares within a bound that keeps the products' error within the whole's.
  const double whole = Epsilon;
  Epsilon = whole / (4 * largest * static_cast<double>(partStates));
  Evaluation result;
  std::vector<Evaluation> shares;
  for (ProcessPart& part : parts) {
    const std::vector<MeasureRequest> indicators = indicatorRequests(part, requests);
    shares.push_back(solveWithDelays(part.process, indicators));
    place(result, {}, shares.back());
  }
  Epsilon = whole;
  result.estimates = productOfParts(parts, shares, rewards, nv, requests);
  result.infinite.assign(requests.size(), false);
  return result;
}

Evaluation Solver::meanTimeWithDelays(const DeterministicProcess& process,
                                      const MeasureRequest& request) {
  const MarkovChain& chain = process.exponential;
  std::vector<bool> holds(chain.size());
  for (std::size_t s = 0; s < chain.size(); s++) {
    holds[s] = chain.rewards[s * chain.numVariables + request.variable] == 1.0;
  }
  Result.notes.push_back("mean times with deterministic delays " + delayList(process) +
                         ": the embedded Markov regenerative process with the condition "
                         "absorbing inside each cycle, each delay's subordinated chain "
                         "uniformized over it (leaving out at most " +
                         numberText("%g", kCycleTruncation) + " of a cycle's probability)");
  // Decided on the process's own moves: the cycles leave out ways of
  // probability below what they keep.
  if (!holds[chain.initial] && canAvoidForever(movesOf(process), holds)) {
    Evaluation avoided;
    avoided.estimates.resize(1);
    avoided.infinite.assign(1, true);
    return avoided;
  }
  Evaluation found =
      evaluateMeasures(embeddedChain(process, kCycleTruncation, Options.maxSteps, holds), {request},
                       settings(Epsilon));
  if (found.infinite[0]) {
    // Only such ways lead to the condition: finite, but beyond what the cycles tell.
    found.infinite[0] = false;
    found.estimates[0] = {INFINITY, INFINITY, 0.0};
    Result.notes.push_back(Run.variables[request.variable].name +
                           ": the condition is reached only through cycles of probability below " +
                           numberText("%g", kCycleTruncation) +
                           ": its mean time is finite but too large to compute");
  }
  return found;
}

bool Solver::conditionBySeries(const DeterministicProcess& process,
                               const std::vector<MeasureRequest>& requests, std::size_t variable,
                               const std::vector<std::size_t>& which, Evaluation& result) {
  std::vector<MeasureRequest> instants = requests;
  for (std::size_t r : which) {
    instants[r].kind = VariableKind::kInstant;
  }
  return bySeries(stoppedAtCondition(process, variable), instants, which, result);
}

bool Solver::bySeries(const DeterministicProcess& process,
                      const std::vector<MeasureRequest>& requests,
                      const std::vector<std::size_t>& which, Evaluation& result) {
  try {
    std::vector<std::size_t> rows;
    const bool instants = requests[which.front()].kind == VariableKind::kInstant;
    const std::vector<Span> spans = distinctSpans(requests, which, instants, rows);
    std::vector<double> times;
    for (const Span& span : spans) {
      times.push_back(span.stop);
    }
    // A quarter of the steps: when the series gives up, the phases still have the rest.
    const std::uint64_t steps = Options.maxSteps / 4 + 1;
    const bool runToTheEnd = clocksRunToTheEnd(process);
    const std::vector<std::vector<Estimate>> table =
        runToTheEnd ? (instants ? shiftedPoissonRewards(process, times, Epsilon, steps)
                                : shiftedPoissonIntegrals(process, spans, Epsilon, steps))
                    : (instants ? preemptiveRewards(process, times, Epsilon, steps)
                                : preemptiveIntegrals(process, spans, Epsilon, steps));
    for (std::size_t i = 0; i < which.size(); i++) {
      const MeasureRequest& request = requests[which[i]];
      Estimate estimate = table[rows[i]][request.variable];
      if (request.kind == VariableKind::kAverage) {
        estimate.value /= request.stop - request.start;
        estimate.error /= request.stop - request.start;
      }
      result.estimates[which[i]] = estimate;
    }
    Result.notes.push_back(
        "deterministic delays " + delayList(process) +
        (runToTheEnd ? ": never disabled once enabled; series of Poisson terms shifted by the "
                       "delays (the error given is a bound)"
                     : ": some may be disabled before they fire; series of Poisson terms "
                       "shifted by the delays, corrected where a clock fires (the error given "
                       "is a bound)"));
    return true;
  } catch (const SolveError& error) {
    // Many delays before the last time point: the phases may settle sooner.
    Result.notes.push_back(std::string("series of shifted Poisson terms given up: ") +
                           error.what());
    return false;
  }
}

void Solver::noteDroppedDelays(const DeterministicProcess& process, double horizon) {
  for (const auto& [delay, names] : process.dropped) {
    Result.notes.push_back("delay " + numberText("%g", delay) +
                           (names.empty() ? "" : " (" + names + ")") +
                           " is longer than the last time point " + numberText("%g", horizon) +
                           ": it cannot fire before it and is left out (exact)");
  }
}

Evaluation Solver::doublePhases(const DeterministicProcess& process,
                                const std::vector<MeasureRequest>& requests) {
  // Each solution takes an eighth of the bound: the error estimate adds
  // the difference of two solutions to twice the newer's and the older's
  // own errors.
  const double inner = Epsilon / 8;
  Evaluation previous = evaluateMeasures(erlangChain(process, 1), requests, settings(inner));
  Evaluation current;
  bool compared_ = false;
  unsigned int phases = 1;
  std::string outcome = ": the values still differ by more than the bound";
  while (phases * 2 <= Options.maxPhases) {
    Evaluation next;
    try {
      next = evaluateMeasures(erlangChain(process, phases * 2), requests, settings(inner));
    } catch (const SolveError& error) {
      if (!compared_) {
        throw;
      }
      outcome += std::string("; stopped: ") + error.what();
      break;
    }
    phases *= 2;
    current = next;
    current.estimates = compared(previous.estimates, next.estimates);
    compared_ = true;
    if (worst(current.estimates, &Estimate::error) <= Epsilon || next.stopped) {
      if (!next.stopped) {
        outcome = ": the values for " + std::to_string(phases / 2) + " and " +
                  std::to_string(phases) + " phases agree within the bound";
      }
      break;
    }
    // More phases mean more steps, and more rounding.
    if (worst(next.estimates, &Estimate::rounding) > inner / 2) {
      outcome += "; stopped: rounding alone reaches " +
                 numberText("%.1e", worst(next.estimates, &Estimate::rounding)) +
                 ", so more phases cannot reach the bound";
      break;
    }
    previous = std::move(next);
  }
  if (!compared_) {
    throw SolveError("the delays need at least 2 phases (-k)");
  }
  noteErlang(process, phases, outcome);
  return current;
}

void Solver::noteErlang(const DeterministicProcess& process, unsigned int phases,
                        const std::string& outcome) {
  Result.notes.push_back("deterministic delays " + delayList(process) +
                         ": each an Erlang distribution of k phases with the delay as mean; k = " +
                         std::to_string(phases) + outcome + " (the error given is an estimate)");
}

void Solver::finish() {
  Result.epsilon = Epsilon;
  // Parts solved alike note the same method once each: say it once.
  std::vector<std::string> notes;
  for (std::string& note : Result.notes) {
    if (std::find(notes.begin(), notes.end(), note) == notes.end()) {
      notes.push_back(std::move(note));
    }
  }
  Result.notes = std::move(notes);
  for (std::size_t r = 0; r < Values.size(); r++) {
    const VariableValue& value = Values[r];
    if (Withdrawn[Requests[r].variable]) {
      continue;
    }
    if (value.kind == VariableKind::kMeanTime && value.infinite) {
      Result.notes.push_back(value.variable +
                             ": the chain can avoid the condition forever (with positive "
                             "probability), so the mean time until it holds is infinite");
    } else if (value.estimate.rounding > 0 &&
               value.estimate.rounding >= std::fabs(value.estimate.value)) {
      Result.notes.push_back(value.variable + " at " + whenText(value) +
                             ": rounding may be as large as the value itself (rewards of "
                             "opposite signs cancel): it says nothing");
    }
    const double least = std::max(0.0, std::fabs(value.estimate.value) - value.estimate.error);
    const bool within =
        value.infinite || value.estimate.error <= std::max(Epsilon, Options.relative * least);
    Result.withinBound = Result.withinBound && within;
    Result.values.push_back(value);
  }
}

Solution Solver::run() {
  planRequests();
  WithDelays = Run.delays && !Run.delays->empty();
  if (!WithDelays && Run.impulses && !Run.impulses->deterministic.empty()) {
    throw InputError({Run.fileName(".imp"), 0,
                      "lists deterministic activities in state " +
                          std::to_string(Run.impulses->deterministic.front().state) +
                          ", but the run has no .det file"});
  }
  std::vector<double> rewards = effectiveRewards();
  noteModel();
  raiseToFloor(rewards);
  noteTransient();
  if (WithDelays) {
    evaluateWithDelays(rewards);
  } else {
    evaluateWithoutDelays(std::move(rewards));
  }
  finish();
  return std::move(Result);
}

}  // namespace

Parsed<Solution> solve(const SolveOptions& options) {
  Parsed<RunFiles> run = readRun(options.base);
  if (!run.ok()) {
    return run.error();
  }
  try {
    return Solver(options, run.value()).run();
  } catch (const InputError& error) {
    return error.diagnostic();
  } catch (const SolveError& error) {
    return Diagnostic{options.base, 0, error.what()};
  } catch (const std::bad_alloc&) {
    return Diagnostic{options.base, 0, "not enough memory to solve it"};
  }
}

}  // namespace solver
