#ifndef SOLVER_DETERMINISTICPROCESS_H_
#define SOLVER_DETERMINISTICPROCESS_H_

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "solver/Diagnostic.h"
#include "solver/MarkovChain.h"
#include "solver/RunFiles.h"

namespace solver {

// The firing of a deterministic activity enabled in a state: its clock
// (which activity it is: a clock enabled in two successive states keeps
// running), its delay and where it leads.
struct ClockedFiring {
  std::uint32_t clock = 0;
  double delay = 0.0;
  std::vector<std::pair<std::uint32_t, double>> outcomes;  // target state (from 0), probability
  // The expected impulse earned when it fires, per variable (from ".imp");
  // empty when the run has no impulses.
  std::vector<double> impulse;
};

// A state space with deterministic delays, up to a horizon: the rates of
// the exponential transitions, and in each state the one firing of a
// deterministic activity that can happen before the horizon, if any.
struct DeterministicProcess {
  MarkovChain exponential;             // exponential rates, initial state and rewards
  std::vector<std::int64_t> firingOf;  // per state: index into firings, or -1
  std::vector<ClockedFiring> firings;
  std::vector<std::string> clockNames;    // the activity of each clock, or the delay's
  std::map<double, std::string> kept;     // delays that fire, with their activities' names
  std::map<double, std::string> dropped;  // delays longer than the horizon, likewise
  // Filled only by buildConcurrentProcess: every firing of each state
  // (indices into firings), several where delays run concurrently;
  // firingOf then holds the first.
  std::vector<std::vector<std::uint32_t>> firingsOf;

  // The clock of the firing of state s (from 0), or -1 when it has none.
  std::int64_t clockOf(std::size_t s) const {
    return firingOf[s] < 0 ? -1 : std::int64_t(firings[firingOf[s]].clock);
  }
};

// The process of run up to horizon (infinity for the long run). A firing
// whose delay exceeds the horizon cannot happen before it and is left out,
// which is exact for values at times up to the horizon. Firings are taken
// from the ".firings" file when there is one; otherwise, from the negated
// values of the ".arm" file, which tell a firing apart only where a single
// delay, listed once in the ".det" file, is enabled (and then its clock is
// the delay: equal delays in successive states count as one activity's).
// Each firing's impulses are read from the ".imp" file when there is one.
// A diagnostic names a state with two firings left (which the solver does
// not handle), a state whose firings the files do not tell apart, and any
// disagreement between the files.
Parsed<DeterministicProcess> buildProcess(const RunFiles& run, double horizon);

// The same, keeping every firing that can happen before the horizon, where
// a state enables several (in firingsOf): for solvers that split the
// process into parts with one delay at a time each.
Parsed<DeterministicProcess> buildConcurrentProcess(const RunFiles& run, double horizon);

// The process stopped where the condition of variable holds (its reward is
// 1 there): those states keep no exponential transition, and a clock
// running in one of them fires into an added last state that holds the
// condition and has no clock. Its clocks run to the end where the
// process's do, and its expected reward of variable at t is the
// probability that the condition has held by t.
DeterministicProcess stoppedAtCondition(const DeterministicProcess& process,
                                        std::size_t variable);

// Every move of process as a chain: its exponential transitions at their
// rates and each firing's outcomes at rate 1. Each has positive probability
// wherever its state is reached, however the clocks stand, so the graph
// tells what the process can reach; the rates are not the process's.
MarkovChain movesOf(const DeterministicProcess& process);

// The process with each firing's delay replaced by an Erlang distribution
// of the given number of phases with the delay as mean: a state with a
// firing becomes one state per phase; an exponential transition into a
// state with the same clock keeps the phase, any other starts the target's
// clock at phase 1; the last phase's completion leads to the outcomes.
// Throws SolveError when the chain would be too large.
MarkovChain erlangChain(const DeterministicProcess& process, unsigned int phases);

}  // namespace solver

#endif
