#ifndef SOLVER_MARKOVCHAIN_H_
#define SOLVER_MARKOVCHAIN_H_

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

namespace solver {

// A continuous-time Markov chain with rate rewards: the rates between
// distinct states by source state, the initial state and, per state, the
// rate reward of each variable.
struct MarkovChain {
  std::vector<std::uint64_t> rowStart{0};  // size() + 1 entries into column and rate
  std::vector<std::uint32_t> column;       // target state, from 0, never the row's own
  std::vector<double> rate;                // positive
  std::uint32_t initial = 0;
  std::size_t numVariables = 0;
  std::vector<double> rewards;  // of state s and variable v at s * numVariables + v

  std::size_t size() const { return rowStart.size() - 1; }
};

// A value computed with a bound on (or, where said, an estimate of) its error.
struct Estimate {
  double value = 0.0;
  double error = 0.0;
};

// A computation the solver cannot carry out (too much work, a model outside
// what the method handles); the message says why.
class SolveError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The chain uniformized: P = I + Q / q with q 2% above the largest exit
// rate, so that every state keeps a share of its own value and P is
// aperiodic.
class Uniformized {
 public:
  explicit Uniformized(const MarkovChain& chain);
  // q; 0 when no state has a transition.
  double rate() const { return Rate; }
  // y = P x, x and y holding numVariables values per state.
  void step(const std::vector<double>& x, std::vector<double>& y) const;

 private:
  const MarkovChain& Chain;
  std::vector<double> Exit;
  double Rate = 0.0;
};

}  // namespace solver

#endif
