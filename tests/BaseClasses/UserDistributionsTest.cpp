#include <gtest/gtest.h>

#include <algorithm>
#include <initializer_list>

#include "Cpp/BaseClasses/Rnd-KnuthLaggedFibonacci.h"
#include "Cpp/BaseClasses/UserDistributions.h"

namespace {

TEST(UserDistributionsTest, KindOneSeedsATausworthe) {
  UserDistributions sampler(1, 1);
  EXPECT_DOUBLE_EQ(0x2001 / 2147483647.0, sampler.rnd());
}

// The first draw of a seeded LaggedFibonacci: the entry of Knuth's second batch
// at the shared read index, or the first entry of the third batch when that
// index had reached the end and the buffer was refilled.
bool isFirstLaggedFibonacciDraw(double u, long seed) {
  double batches[3][KK];
  ranf_start(seed);
  for (auto& batch : batches) {
    ranf_array(batch, KK);
  }
  return std::find(batches[1], batches[1] + KK, u) != batches[1] + KK || u == batches[2][0];
}

TEST(UserDistributionsTest, EveryOtherKindSeedsALaggedFibonacci) {
  for (int kind : {0, 2, 7, -1}) {
    UserDistributions sampler(kind, 99);
    EXPECT_TRUE(isFirstLaggedFibonacciDraw(sampler.rnd(), 99)) << "kind " << kind;
  }
  // The default sampler's generator starts from defined values.
  UserDistributions unseeded;
  double u = unseeded.rnd();
  EXPECT_TRUE(u >= 0.0 && u < 1.0) << u;
}

}  // namespace
