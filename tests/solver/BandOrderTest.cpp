// The band order: a numbering of the states that brings each transition's
// ends together.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "solver/BandOrder.h"
#include "tests/solver/Chains.h"

namespace {

// The largest distance between a transition's ends under newIndex.
std::int64_t bandwidth(const solver::MarkovChain& chain,
                       const std::vector<std::uint32_t>& newIndex) {
  std::int64_t widest = 0;
  for (std::size_t s = 0; s < chain.size(); s++) {
    for (std::uint64_t e = chain.rowStart[s]; e < chain.rowStart[s + 1]; e++) {
      widest = std::max(widest, std::abs(std::int64_t(newIndex[s]) - newIndex[chain.column[e]]));
    }
  }
  return widest;
}

// A path of 50 states whose numbers are scattered (i * 7 mod 50), one way
// only, beside a second path of 3 states apart from it: each part gets a
// band of width 1, and the numbering is a permutation.
TEST(BandOrderTest, AScatteredPathBecomesABandOfWidthOne) {
  std::vector<solver_test::Rate> rates;
  for (std::uint32_t i = 0; i + 1 < 50; i++) {
    rates.push_back({i * 7 % 50, (i + 1) * 7 % 50, 1.0});
  }
  rates.push_back({50, 51, 1.0});
  rates.push_back({52, 51, 1.0});
  const solver::MarkovChain chain = solver_test::chainOf(53, rates, {});
  const std::vector<std::uint32_t> newIndex = solver::bandOrder(chain);
  EXPECT_EQ(1, bandwidth(chain, newIndex));
  std::vector<std::uint32_t> sorted = newIndex;
  std::sort(sorted.begin(), sorted.end());
  for (std::uint32_t i = 0; i < 53; i++) {
    EXPECT_EQ(i, sorted[i]);
  }
}

}  // namespace
