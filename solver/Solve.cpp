#include "solver/Solve.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

#include "solver/DeterministicProcess.h"
#include "solver/EmbeddedChain.h"
#include "solver/RunFiles.h"
#include "solver/ShiftedPoissonSeries.h"
#include "solver/SteadyStateSolver.h"
#include "solver/TransientSolver.h"

namespace solver {

namespace {

// Values by row (a time point, or the long run) and variable.
using Table = std::vector<std::vector<Estimate>>;

std::string numberText(const char* format, double value) {
  char text[40];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string timeText(double time) { return std::isinf(time) ? "inf" : numberText("%g", time); }

// The newer values, each with the estimate of its error: its difference
// from the older value plus twice its own bound and the older's.
Table compared(const Table& older, const Table& newer) {
  Table combined = newer;
  for (std::size_t t = 0; t < newer.size(); t++) {
    for (std::size_t v = 0; v < newer[t].size(); v++) {
      combined[t][v].error = std::fabs(newer[t][v].value - older[t][v].value) +
                             2 * newer[t][v].error + older[t][v].error;
    }
  }
  return combined;
}

double worstError(const Table& table) {
  double worst = 0;
  for (const std::vector<Estimate>& row : table) {
    for (const Estimate& estimate : row) {
      worst = std::max(worst, estimate.error);
    }
  }
  return worst;
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

// The chain of a run without deterministic delays, built in the storage of
// its state space and rewards (self-loops change nothing and are left out).
MarkovChain chainOf(RunFiles& run) {
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
  chain.rewards = std::move(run.rewards.rate);
  return chain;
}

class Solver {
 public:
  Solver(const SolveOptions& options, RunFiles& run) : Options(options), Run(run) {}
  Solution run();

 private:
  // The times asked of each variable; refuses variables of other types.
  void collectTimes();
  void noteModel();
  // How far the last uniformization went, if it took any step.
  void noteSteps();
  // Values at Times (longRun false) or in the long run.
  Table solveFor(bool longRun);
  // The values of chain at Times, or in the long run, within epsilon.
  Table evaluate(const MarkovChain& chain, bool longRun, double epsilon);
  Table solveWithDelays(const DeterministicProcess& process, bool longRun);
  // Doubles the phases of the delays until two successive values agree.
  Table doublePhases(const DeterministicProcess& process, bool longRun);
  void noteDroppedDelays(const DeterministicProcess& process);
  void noteErlang(const DeterministicProcess& process, unsigned int phases,
                  const std::string& outcome);
  void record(const Table& table, bool longRun);

  const SolveOptions& Options;
  RunFiles& Run;
  std::vector<std::vector<double>> TimesOf;  // by variable
  std::vector<double> Times;                 // all, ascending
  std::vector<std::vector<VariableValue>> ValuesOf;
  bool WithDelays = false;
  MarkovChain Chain;  // of a run without delays
  UniformizationSteps LastSteps;
  Solution Result;
};

void Solver::collectTimes() {
  for (const RewardVariable& variable : Run.variables) {
    if (variable.type != 0) {
      throw InputError({Run.fileName(".pvtype"), variable.line,
                        "variable " + variable.name + " has type " + std::to_string(variable.type) +
                            ": only instant-of-time variables (type 0) are solved"});
    }
    std::vector<double> times = Options.times;
    if (times.empty()) {
      for (const RewardVariable::Interval& interval : variable.times) {
        if (interval.start != interval.stop) {
          throw InputError({Run.fileName(".pvtype"), variable.line,
                            "variable " + variable.name +
                                " is taken at an instant, but a start and stop time differ"});
        }
        times.push_back(interval.start);
      }
    }
    Times.insert(Times.end(), times.begin(), times.end());
    TimesOf.push_back(std::move(times));
  }
  std::sort(Times.begin(), Times.end());
  Times.erase(std::unique(Times.begin(), Times.end()), Times.end());
}

void Solver::noteModel() {
  Result.notes.push_back(Run.base + ": " + counted(Run.space.numStates, "state") + ", " +
                         counted(Run.variables.size(), "reward variable"));
  for (std::size_t v = 0; v < Run.variables.size(); v++) {
    if (Run.rewards.hasImpulses[v]) {
      Result.notes.push_back(Run.variables[v].name +
                             ": impulse rewards are not evaluated, only rate rewards");
    }
  }
  if (WithDelays && !Run.firings) {
    Result.notes.push_back(
        "no .firings file: a delay enabled in successive states counts as one activity's");
  }
}

void Solver::noteSteps() {
  if (LastSteps.needed == 0) {
    return;
  }
  Result.notes.push_back("uniformization rate " + numberText("%g", LastSteps.rate) + ": " +
                         std::to_string(LastSteps.taken) + " of the " +
                         std::to_string(LastSteps.needed) + " steps to the last time point" +
                         (LastSteps.taken < LastSteps.needed ? ", stationary from then on" : ""));
}

Solution Solver::run() {
  collectTimes();
  WithDelays = Run.delays && !Run.delays->empty();
  noteModel();
  ValuesOf.resize(Run.variables.size());
  if (!WithDelays) {
    // Built in the storage of the files' data, so only once.
    Chain = chainOf(Run);
  }
  if (!Times.empty()) {
    Result.notes.push_back(
        "transient values: uniformization with Fox-Glynn truncation, "
        "absolute error bound " +
        numberText("%g", Options.epsilon));
    record(solveFor(false), false);
    noteSteps();
  }
  if (Options.longRun) {
    Result.notes.push_back(
        "long-run values: power iteration with bounds from below and above, "
        "absolute error bound " +
        numberText("%g", Options.epsilon));
    record(solveFor(true), true);
  }
  for (std::vector<VariableValue>& values : ValuesOf) {
    for (VariableValue& value : values) {
      Result.withinBound = Result.withinBound && value.estimate.error <= Options.epsilon;
      Result.values.push_back(std::move(value));
    }
  }
  return std::move(Result);
}

Table Solver::evaluate(const MarkovChain& chain, bool longRun, double epsilon) {
  if (longRun) {
    return {steadyStateRewards(chain, epsilon, Options.maxSteps)};
  }
  return transientRewards(chain, Times, epsilon, Options.maxSteps, &LastSteps);
}

Table Solver::solveFor(bool longRun) {
  if (!WithDelays) {
    return evaluate(Chain, longRun, Options.epsilon);
  }
  const double horizon = longRun ? INFINITY : Times.back();
  Parsed<DeterministicProcess> process = buildProcess(Run, horizon);
  if (!process.ok()) {
    throw InputError(process.error());
  }
  noteDroppedDelays(process.value());
  return solveWithDelays(process.value(), longRun);
}

void Solver::noteDroppedDelays(const DeterministicProcess& process) {
  for (const auto& [delay, names] : process.dropped) {
    Result.notes.push_back("delay " + numberText("%g", delay) +
                           (names.empty() ? "" : " (" + names + ")") +
                           " is longer than the last time point " + timeText(Times.back()) +
                           ": it cannot fire before it and is left out (exact)");
  }
}

Table Solver::solveWithDelays(const DeterministicProcess& process, bool longRun) {
  if (process.firings.empty()) {
    return evaluate(process.exponential, longRun, Options.epsilon);
  }
  if (longRun) {
    Result.notes.push_back("deterministic delays " + delayList(process) +
                           ": the embedded Markov regenerative process, each delay's subordinated "
                           "chain uniformized over it (leaving out at most " +
                           numberText("%g", kCycleTruncation) + " of a cycle's probability)");
    return evaluate(embeddedChain(process, kCycleTruncation, Options.maxSteps), true,
                    Options.epsilon);
  }
  if (clocksRunToTheEnd(process)) {
    try {
      // A quarter of the steps: when the series gives up, the phases still have the rest.
      Table table =
          shiftedPoissonRewards(process, Times, Options.epsilon, Options.maxSteps / 4 + 1);
      Result.notes.push_back("deterministic delays " + delayList(process) +
                             ": never disabled once enabled; series of Poisson terms shifted by "
                             "the delays (the error given is a bound)");
      return table;
    } catch (const SolveError& error) {
      // Many delays before the last time point: the phases may settle sooner.
      Result.notes.push_back(std::string("series of shifted Poisson terms given up: ") +
                             error.what());
    }
  }
  return doublePhases(process, longRun);
}

Table Solver::doublePhases(const DeterministicProcess& process, bool longRun) {
  // Each solution takes an eighth of the bound: the error estimate adds
  // the difference of two solutions to twice the newer's and the older's
  // own errors.
  const double inner = Options.epsilon / 8;
  Table previous = evaluate(erlangChain(process, 1), longRun, inner);
  Table combined;
  unsigned int phases = 1;
  std::string outcome = ": the values still differ by more than the bound";
  while (phases * 2 <= Options.maxPhases) {
    Table current;
    try {
      current = evaluate(erlangChain(process, phases * 2), longRun, inner);
    } catch (const SolveError& error) {
      if (combined.empty()) {
        throw;
      }
      outcome += std::string("; stopped: ") + error.what();
      break;
    }
    phases *= 2;
    combined = compared(previous, current);
    if (worstError(combined) <= Options.epsilon) {
      outcome = ": the values for " + std::to_string(phases / 2) + " and " +
                std::to_string(phases) + " phases agree within the bound";
      break;
    }
    previous = std::move(current);
  }
  if (combined.empty()) {
    throw SolveError("the delays need at least 2 phases (-k)");
  }
  noteErlang(process, phases, outcome);
  return combined;
}

void Solver::noteErlang(const DeterministicProcess& process, unsigned int phases,
                        const std::string& outcome) {
  Result.notes.push_back("deterministic delays " + delayList(process) +
                         ": each an Erlang distribution of k phases with the delay as mean; k = " +
                         std::to_string(phases) + outcome + " (the error given is an estimate)");
}

void Solver::record(const Table& table, bool longRun) {
  for (std::size_t v = 0; v < Run.variables.size(); v++) {
    if (longRun) {
      ValuesOf[v].push_back({Run.variables[v].name, INFINITY, table[0][v]});
      continue;
    }
    for (double time : TimesOf[v]) {
      const std::size_t row = std::lower_bound(Times.begin(), Times.end(), time) - Times.begin();
      ValuesOf[v].push_back({Run.variables[v].name, time, table[row][v]});
    }
  }
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

void printSolution(const Solution& solution, std::ostream& out) {
  for (const std::string& note : solution.notes) {
    out << note << "\n";
  }
  std::size_t width = std::string("variable").size();
  for (const VariableValue& value : solution.values) {
    width = std::max(width, value.variable.size());
  }
  char line[96];
  std::snprintf(line, sizeof line, " %10s %17s %8s\n", "time", "value", "error");
  out << "\nvariable" << std::string(width - std::string("variable").size(), ' ') << line;
  for (const VariableValue& value : solution.values) {
    std::snprintf(line, sizeof line, " %10s %17.10e %8.1e\n", timeText(value.time).c_str(),
                  value.estimate.value, value.estimate.error);
    out << value.variable << std::string(width - value.variable.size(), ' ') << line;
  }
}

}  // namespace solver
