#ifndef SOLVER_SLICEDROWS_H_
#define SOLVER_SLICEDROWS_H_

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "solver/MarkovChain.h"

namespace solver {

class Workers;

// The renumbering numbering of chain's states (newIndex[s], a
// permutation) changed within windows of a few hundred states so that the
// states with more incoming transitions come first in each.
std::vector<std::uint32_t> sliceNumbering(const MarkovChain& chain,
                                          const std::vector<std::uint32_t>& numbering);

// The uniformized chain's transitions by target, for the product p P of a
// distribution, one value per state, in slices of eight rows (Kreutzer et
// al., SIAM J. Sci. Comput. 2014, "SELL-C-sigma"): rows taken eight at a
// time in their order, each slice padded to its longest row with
// transitions of probability 0. The eight rows' sums advance together, one
// transition of each a turn, so a turn holds eight independent additions
// and a slice ends with one branch, where rows of uneven lengths would each
// mispredict their loop's end. Targets and probabilities share 4-byte words
// through a table of the distinct probabilities, and each row's own share
// is an index into a table of the distinct ones (up to 2^24 states, 255
// probabilities, 65,536 shares). Where the processor has 512-bit vectors
// and there are at most 16 probabilities, a slice's eight sums share one
// register and its probabilities are picked from two: the same additions in
// the same order, so the same bits, for fewer instructions a transition.
class SlicedRows {
 public:
  // Whether chain may fit the words (its states, and its distinct rates,
  // which its probabilities are at most): a quick test before building.
  static bool mayFit(const MarkovChain& chain);
  // incoming: the chain's transitions listed by target (transposed), its
  // uniformization rate taken from their exit rates; threads: how many
  // threads a product may use; wide: whether it may use 512-bit vectors.
  // Null when the chain does not fit the words.
  // Pads little when the rows of each window of a few hundred come by
  // decreasing length, as sliceNumbering numbers them.
  static std::unique_ptr<SlicedRows> build(const MarkovChain& incoming, unsigned threads,
                                           bool wide = true);
  ~SlicedRows();

  // y = x P for the uniformized P = I + Q / rate.
  void step(const double* x, double* y) const;
  // How many threads share a product, and task(share, first, last) run on
  // each for its rows [first, last), returning when all have.
  unsigned shares() const { return static_cast<unsigned>(ChunkStart.size() - 1); }
  void inShares(const std::function<void(unsigned, std::size_t, std::size_t)>& task) const;
  // q, 2% above the largest exit rate.
  double rate() const { return Rate; }
  // The most terms summed into one entry of a product.
  std::size_t longestRow() const { return LongestRow; }
  // The most transitions out of one state, whose rates make its own share.
  std::size_t longestOutgoing() const { return LongestOutgoing; }

 private:
  SlicedRows() = default;
  // Fills the slices from the rows, code giving each transition's
  // probability's place in Table; false when the rows' own shares do not
  // fit their table.
  bool slice(const MarkovChain& incoming, const std::vector<double>& exit,
             const std::vector<std::uint8_t>& code);
  // Shares the slices among up to threads threads, by transitions.
  void share(unsigned threads);
  void stepSlices(const double* x, double* y, std::size_t first, std::size_t last) const;
  void stepWide(const double* x, double* y, std::size_t first, std::size_t last) const;
  // A slice's sums begun with its rows' own shares, and stored.
  void startSums(const double* x, std::size_t row, double* sum) const;
  void storeSums(const double* sum, std::size_t row, double* y) const;

  std::vector<std::uint64_t> SliceStart;  // into Words, per slice and one past
  std::vector<std::uint32_t> Words;       // per slice: turn by turn, a word per row
  std::vector<std::uint16_t> StayIndex;   // per row and padding lane, into StayTable
  std::vector<double> StayTable;          // the rows' own shares; the last is 0, for padding
  std::vector<double> Table;              // probabilities; the last is 0, for padding
  double Rate = 0.0;
  std::size_t LongestRow = 1;
  std::size_t LongestOutgoing = 0;
  std::size_t Size = 0;                 // rows
  bool Wide = false;                    // the products use stepWide
  std::vector<std::size_t> ChunkStart;  // slices of each thread's share
  std::unique_ptr<Workers> Team;
};

}  // namespace solver

#endif
