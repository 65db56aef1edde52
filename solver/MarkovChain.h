#ifndef SOLVER_MARKOVCHAIN_H_
#define SOLVER_MARKOVCHAIN_H_

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace solver {

class Workers;

// A continuous-time Markov chain with rate rewards, in compressed sparse
// rows: the rates between distinct states by source state, the initial
// state and, per state, the rate reward of each variable (all variables of
// a state side by side, so that one pass over the rows serves them all).
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
  // The part of error that bounds rounding; when it exceeds the value
  // itself, cancellation has left nothing of the value.
  double rounding = 0.0;
};

// A computation the solver cannot carry out (too much work, a model outside
// what the method handles); the message says why.
class SolveError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The chain's transitions listed by target: row t holds each transition
// into t, its column the source and its rate. The states are renumbered
// by newIndex (a permutation) unless it is empty. One variable, no rewards.
MarkovChain transposed(const MarkovChain& chain, const std::vector<std::uint32_t>& newIndex = {});

// The uniformization rate of a chain whose largest exit rate is given: 2%
// above it, so that every state keeps a share of its own value.
double uniformizationRate(double largestExit);

// The chain uniformized: P = I + Q / q with q 2% above the largest exit
// rate, so that every state keeps a share of its own value and P is
// aperiodic. The probabilities are kept as one small table and an index
// per transition when the chain has few distinct rates (as models built
// from a few activities do), so that a product streams 4 bytes a
// transition (target and index in one word, up to 2^24 states and 256
// probabilities) or 6 instead of 12.
class Uniformized {
 public:
  // threads: how many threads a product may use (1: the caller's only);
  // more pay only on chains of a million transitions or more.
  explicit Uniformized(const MarkovChain& chain, unsigned threads = 1);
  ~Uniformized();

  // q; 0 when no state has a transition.
  double rate() const { return Rate; }
  // The most terms summed into one entry of a product (a row's
  // transitions and its own share), for bounds on rounding.
  std::size_t longestRow() const { return LongestRow; }

  // y = P x, x and y holding numVariables values per state.
  void step(const std::vector<double>& x, std::vector<double>& y) const;
  // y = P x; where held (numVariables bytes per state, or null) is 1, y is
  // 1 instead: the state is absorbing for that variable, whose value there
  // stays 1. low and high (numVariables each) receive the smallest and
  // largest entry of y per variable.
  void step(const double* x, double* y, const std::uint8_t* held, double* low, double* high) const;

 private:
  struct Range;
  void stepRows(const double* x, double* y, const std::uint8_t* held, Range& range,
                std::size_t first, std::size_t last) const;

  const MarkovChain& Chain;
  double Rate = 0.0;
  std::size_t LongestRow = 1;
  std::vector<double> Stay;  // per state, when not indexed
  std::vector<std::uint16_t> StayIndex;
  std::vector<double> StayTable;
  std::vector<double> Probability;        // per transition, when not indexed
  std::vector<std::uint16_t> TableIndex;  // per transition, when indexed and not packed
  std::vector<std::uint32_t> Packed;      // target | index << 24, when they fit
  std::vector<double> Table;
  std::vector<std::size_t> ChunkStart;  // rows of each thread's share, balanced by transitions
  std::unique_ptr<Workers> Team;
};

}  // namespace solver

#endif
