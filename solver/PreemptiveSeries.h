#ifndef SOLVER_PREEMPTIVESERIES_H_
#define SOLVER_PREEMPTIVESERIES_H_

#include <cstdint>
#include <vector>

#include "solver/DeterministicProcess.h"
#include "solver/MarkovChain.h"
#include "solver/ShiftedPoissonSeries.h"

namespace solver {

// The expected rate reward of each variable at each time, as
// estimates[time][variable], for a process whose clocks may be disabled
// before they fire (an exponential transition leads out of the clock's
// states): the shifted Poisson series with corrections.
//
// The exponential transitions are uniformized at one rate q and the clocks
// are first ignored: a state reached after m jumps from a shift D is held
// at t with probability Poisson(q (t - D); m), and a path that leaves a
// clock's states before its delay has run is already where the process
// is. Only the paths that keep the clock for its whole delay d are wrong
// from D + d on, where the clock fires. So each period begun after m jumps
// at a shift D adds two arrivals at D + d, still after m jumps: the
// firing's outcomes, with the probability of each state where the clock
// fires (by the clock's subordinated chain), and the same states with that
// probability negated, whose paths repeat and so cancel what the first run
// did there. Those negated paths start no period where they are, since
// their clock has already fired; they start one where they enter a clock
// afresh, as the paths they cancel do.
//
// The terms are signed, so the bound adds up the absolute mass each
// truncation drops: the windows' shortfalls times the mass of each shift,
// the paths stopped or skipped as too light, and what each period's
// probabilities may lack. Each dropped piece would have earned between the
// least and the largest reward over its time, so the value takes the
// rewards' midpoint for what a reward of 1 lacks, and the error printed is
// half their spread times the dropped mass, plus a first-order allowance
// for the rounding of the signed sums. Throws
// SolveError when the series takes more than maxSteps steps.
std::vector<std::vector<Estimate>> preemptiveRewards(const DeterministicProcess& process,
                                                     const std::vector<double>& times,
                                                     double epsilon, std::uint64_t maxSteps);

// The expected reward accumulated over each span (the integral of the rate
// reward, plus the impulses earned by firings within it), as
// estimates[span][variable], by the same series with each Poisson
// probability replaced by its integral over the span; a piece dropped at a
// shift would have earned within the rewards' range over the span's part
// after the shift. Each period's firing counts with its signed probability
// of falling within the span; a piece dropped at a shift D could still fire
// (stop - max(start, D)) / shortest delay + 1 times there, which times its
// mass and the largest impulse is added to the error.
std::vector<std::vector<Estimate>> preemptiveIntegrals(const DeterministicProcess& process,
                                                       const std::vector<Span>& spans,
                                                       double epsilon, std::uint64_t maxSteps);

}  // namespace solver

#endif
