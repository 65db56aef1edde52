#ifndef SOLVER_SHIFTEDPOISSONSERIES_H_
#define SOLVER_SHIFTEDPOISSONSERIES_H_

#include <cstdint>
#include <vector>

#include "solver/DeterministicProcess.h"
#include "solver/MarkovChain.h"

namespace solver {

// Whether every clock of process, once started, runs until it fires: no
// exponential transition leads from a state with a firing to a state
// without the same clock.
bool clocksRunToTheEnd(const DeterministicProcess& process);

// The expected rate reward of each variable at each time, as
// estimates[time][variable], for a process whose clocks run to the end.
//
// The exponential transitions are uniformized at one rate q, and a clock's
// run is seen as a single step of the jumps' chain that takes exactly its
// delay: reached after m exponential jumps and periods of delays summing to
// D, a state is held at time t with probability Poisson(q (t - D); m), and
// a period begun there with the one of its jumps inside, which is why the
// values are series of Poisson terms shifted by sums of delays. Every term
// is a probability or a lower bound of one, so the probability the series
// leaves out is one minus what they add up to with a reward of 1 in every
// state; each value takes the midpoint of its rewards for it, and the error
// printed is at most half the rewards' spread times it: a bound (rounding
// not included). Throws SolveError when a period or a time point takes more
// than maxSteps steps.
std::vector<std::vector<Estimate>> shiftedPoissonRewards(const DeterministicProcess& process,
                                                         const std::vector<double>& times,
                                                         double epsilon, std::uint64_t maxSteps);

// A span of time, start <= stop.
struct Span {
  double start = 0.0;
  double stop = 0.0;
};

// The expected reward accumulated over each span (the integral of the
// rate reward, plus the impulses earned by firings within it), as
// estimates[span][variable], for a process whose clocks run to the end:
// the same series, each term's Poisson probability
// replaced by its integral over the span, (P(N(q (stop - D)) > m) -
// P(N(q (start - D)) > m)) / q with N(x) = 0 for x <= 0. Each integral is
// taken at most the exact one, and the exact terms at each instant add up
// to 1, so the terms with a reward of 1 fall short of the span's length by
// the integral of the probability left out: the error printed is at most
// half the rewards' spread times it, a bound as at instants. Throws
// SolveError as shiftedPoissonRewards does.
//
// The impulses earned when a clock fires within a span count too: a period
// begun after m jumps at shift D fires at D + its delay + the m-th jump's
// time, within the span with the same integral's probability. A path fires
// at most span / shortest delay + 1 times in it, so the firings the series
// misses are at most that times what it leaves out by the span's stop (the
// same series at that instant, with the same truncation, leaves out at
// least as much), times the largest impulse: added to the error.
std::vector<std::vector<Estimate>> shiftedPoissonIntegrals(const DeterministicProcess& process,
                                                           const std::vector<Span>& spans,
                                                           double epsilon, std::uint64_t maxSteps);

}  // namespace solver

#endif
