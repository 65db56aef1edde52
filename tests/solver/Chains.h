#ifndef TESTS_SOLVER_CHAINS_H_
#define TESTS_SOLVER_CHAINS_H_

// Small Markov chains for the solver's tests, written as lists of rates.

#include <cstdint>
#include <vector>

#include "solver/MarkovChain.h"

namespace solver_test {

struct Rate {
  std::uint32_t from;
  std::uint32_t to;
  double rate;
};

// The chain of the given rates (sorted by source), starting in initial, with
// the rewards of each variable as one list of per-state values.
inline solver::MarkovChain chainOf(std::uint32_t numStates, std::vector<Rate> rates,
                                   const std::vector<std::vector<double>>& variables,
                                   std::uint32_t initial = 0) {
  solver::MarkovChain chain;
  chain.initial = initial;
  chain.numVariables = variables.size();
  for (std::uint32_t s = 0; s < numStates; s++) {
    for (const Rate& r : rates) {
      if (r.from == s) {
        chain.column.push_back(r.to);
        chain.rate.push_back(r.rate);
      }
    }
    chain.rowStart.push_back(chain.column.size());
    for (const std::vector<double>& rewards : variables) {
      chain.rewards.push_back(rewards[s]);
    }
  }
  return chain;
}

}  // namespace solver_test

#endif
