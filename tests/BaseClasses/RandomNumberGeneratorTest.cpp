#include <gtest/gtest.h>

#include <algorithm>

#include "Cpp/BaseClasses/LaggedFibonacci.h"
#include "Cpp/BaseClasses/Rnd-KnuthLaggedFibonacci.h"
#include "Cpp/BaseClasses/Tausworthe.h"

namespace {

// Knuth's published check value for seed 310952.
constexpr double KnuthCheckValue = 0.36410514377569680455;

TEST(KnuthLaggedFibonacciTest, ReproducesThePublishedCheckValue) {
  static double a[2009];
  ranf_start(310952);
  for (int m = 0; m <= 2009; m++) {
    ranf_array(a, 1009);
  }
  EXPECT_EQ(KnuthCheckValue, a[0]);
  // The stream does not depend on how it is cut into batches.
  ranf_start(310952);
  for (int m = 0; m <= 1009; m++) {
    ranf_array(a, 2009);
  }
  EXPECT_EQ(KnuthCheckValue, a[0]);
  ranf_start(-5);  // would never return if the seed's bits were shifted arithmetically
}

// The next four batches of 100 values of Knuth's stream after ranf_start(seed).
// srnd discards batch 0 and keeps batch 1; the refills take batches 2 and 3.
struct KnuthBatches {
  double batch[4][LaggedFibonacci::BufferSize];
  explicit KnuthBatches(long seed) {
    ranf_start(seed);
    for (auto& b : batch) {
      ranf_array(b, LaggedFibonacci::BufferSize);
    }
  }
};

// The shared read index is process-wide, so other draws may have moved it.
// Seeds g and returns the index its first draw read (100 when that draw
// refilled the buffer, which then served batch 2 at index 0).
int seedAndLocateIndex(LaggedFibonacci& g, long seed, const KnuthBatches& expected) {
  g.srnd(seed);
  double first = g.rnd();
  const double* kept = expected.batch[1];
  const double* end = kept + LaggedFibonacci::BufferSize;
  const double* found = std::find(kept, end, first);
  if (found != end) {
    return static_cast<int>(found - kept);
  }
  EXPECT_EQ(expected.batch[2][0], first);
  return LaggedFibonacci::BufferSize;
}

TEST(LaggedFibonacciTest, RefillsOnThe101stDrawAfterTheIndexWasReset) {
  const int size = LaggedFibonacci::BufferSize;
  KnuthBatches expected(77);
  LaggedFibonacci g;
  int index = seedAndLocateIndex(g, 77, expected);
  if (index < size) {
    for (int i = index + 1; i < size; i++) {
      ASSERT_EQ(expected.batch[1][i], g.rnd()) << "index " << i;
    }
    EXPECT_EQ(expected.batch[2][0], g.rnd());  // the wrap resets the index
  }
  for (int i = 1; i < size; i++) {
    ASSERT_EQ(expected.batch[2][i], g.rnd()) << "index " << i;
  }
  EXPECT_EQ(expected.batch[3][0], g.rnd());
}

// Tausworthe steps computed by hand: x = ((s << 13) ^ s) & 0x7fffffff in 32
// bits, then x ^= x >> 18.
//   1 -> 0x2001 -> 0x4000101 -> 0x4202009 (the third step drops bit 39 of s << 13)
//   0x40000 -> 0x40001 (the mask clears bit 31 of s << 13)
TEST(TauswortheTest, FollowsTheShiftRegisterFromASmallSeed) {
  const double scale = 1.0 / 2147483647.0;
  Tausworthe g;
  g.srnd(1);
  EXPECT_DOUBLE_EQ(0x2001 * scale, g.rnd());
  EXPECT_DOUBLE_EQ(0x4000101 * scale, g.rnd());
  EXPECT_DOUBLE_EQ(0x4202009 * scale, g.rnd());
  g.srnd(0x40000);
  EXPECT_DOUBLE_EQ(0x40001 * scale, g.rnd());
  g.srnd(0x100000001UL);  // only the low 32 bits are kept
  EXPECT_DOUBLE_EQ(0x2001 * scale, g.rnd());
  g.srnd(0);
  EXPECT_EQ(0.0, g.rnd());
}

}  // namespace
