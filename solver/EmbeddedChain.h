#ifndef SOLVER_EMBEDDEDCHAIN_H_
#define SOLVER_EMBEDDEDCHAIN_H_

#include <cstdint>
#include <utility>
#include <vector>

#include "solver/DeterministicProcess.h"
#include "solver/MarkovChain.h"

namespace solver {

// The states that enable one deterministic activity (a clock) and the
// exponential transitions of each: those to another state of the clock
// keep it running, the others disable it. States where stop holds end the
// cycle as if they disabled the clock: a first passage stops there.
class SubordinatedChain {
 public:
  // The chain of clock in process; stop is by state, or empty for none.
  SubordinatedChain(const DeterministicProcess& process, std::uint32_t clock,
                    const std::vector<bool>& stop);

  // One cycle from state (of this clock) entered with a fresh clock, up to
  // the next regeneration: the clock fires after its delay, or an
  // exponential transition disables it before.
  struct Cycle {
    std::vector<std::pair<std::uint32_t, double>> next;  // the state entered next, probability
    double duration = 0.0;                               // expected length
    // Expected reward earned, per variable: the rate reward over the cycle
    // and the firing's impulse times the probability that it fires.
    std::vector<double> reward;
    // Of that, the firing's impulse times the probability that it fires.
    std::vector<double> impulse;
    // Where the clock fires: the states it may be in at the delay's end,
    // with the probability that it runs until then and is there.
    std::vector<std::pair<std::uint32_t, double>> survivors;
  };

  // The cycle from state, by uniformization over the delay: the Poisson
  // probabilities left out sum to at most truncation, so each probability
  // of next and the duration and rewards are at most truncation times
  // (the delay and the largest reward) short. Throws SolveError when the
  // delay takes more than maxSteps steps.
  Cycle cycleFrom(std::uint32_t state, double truncation, std::uint64_t maxSteps) const;

 private:
  const DeterministicProcess& Process;
  double Delay = 0.0;
  double Rate = 0.0;                      // of uniformization; 0 when no transition
  std::vector<std::uint32_t> States;      // of the clock
  std::vector<std::int64_t> LocalOf;      // by state: index into States, or -1
  std::vector<std::uint64_t> RowStart;    // by local state, into the next two
  std::vector<std::int64_t> LocalTarget;  // local target, or -1 - (state) for one that disables
  std::vector<double> Probability;        // rate / Rate
};

// The equivalent chain of the Markov regenerative process of a process
// that enables at most one deterministic firing per state, with the same
// long-run values: a state without a firing keeps its rates and rewards; a
// state entered with a fresh clock moves at rate P(i, j) / T_i, P the
// probabilities of the next regeneration and T_i the cycle's expected
// length, and earns the cycle's expected reward divided by T_i (its share of
// time is then proportional to the visits of the embedded chain times T_i,
// as the process's). States entered only while their clock runs get no
// transition and are never reached. Throws SolveError as cycleFrom.
//
// With stop (by state) not empty, the chain of a first passage to it
// instead: the cycles end on entering a state where stop holds, which gets
// no transition, and the rewards are kept as they are (a condition stays
// 1 where it holds and 0 elsewhere). Each state's mean time to absorption
// is then the cycle's expected length plus the mean times of where it
// leads, weighted by their probabilities, as in the process.
MarkovChain embeddedChain(const DeterministicProcess& process, double truncation,
                          std::uint64_t maxSteps, const std::vector<bool>& stop = {});

}  // namespace solver

#endif
