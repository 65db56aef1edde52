// The sliced product y = x P on a chain large enough for two threads, and
// the team of threads that shares it.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <thread>
#include <vector>

#include "solver/MarkovChain.h"
#include "solver/SlicedRows.h"
#include "solver/Workers.h"

namespace {

// A grid of width w whose states move to up to eight neighbours (wrapping
// around, so that rows differ in length only near the ends), at rates taken
// from a few (or from `distinct` ones) by position: listed by target, as
// the slices take them.
solver::MarkovChain incomingGrid(std::uint32_t states, std::uint32_t w,
                                 std::uint32_t distinct = 4) {
  const double rates[] = {1.0, 2.5, 0.125, 4.0};
  const std::int64_t width = w;
  const std::int64_t moves[] = {-1, 1, -width, width, -width - 1, width + 1, 3, -2 * width};
  solver::MarkovChain chain;
  for (std::uint32_t t = 0; t < states; t++) {
    for (std::size_t m = 0; m < 8; m++) {
      const std::int64_t s = std::int64_t(t) + moves[m];
      // Fewer moves into states whose number ends in 7: ragged slices.
      if (s >= 0 && s < states && !(t % 10 == 7 && m >= 5)) {
        chain.column.push_back(static_cast<std::uint32_t>(s));
        const auto pick = static_cast<std::uint32_t>((s + m) % distinct);
        chain.rate.push_back(distinct == 4 ? rates[pick] : 0.5 + pick / 64.0);
      }
    }
    chain.rowStart.push_back(chain.column.size());
  }
  return chain;
}

// y = x P straight from the incoming rows, for comparison.
std::vector<double> plainProduct(const solver::MarkovChain& incoming, double q,
                                 const std::vector<double>& x) {
  std::vector<double> exit(incoming.size(), 0.0);
  for (std::size_t e = 0; e < incoming.rate.size(); e++) {
    exit[incoming.column[e]] += incoming.rate[e];
  }
  std::vector<double> y(x.size());
  for (std::size_t t = 0; t < incoming.size(); t++) {
    double sum = (q - exit[t]) / q * x[t];
    for (std::uint64_t e = incoming.rowStart[t]; e < incoming.rowStart[t + 1]; e++) {
      sum += incoming.rate[e] / q * x[incoming.column[e]];
    }
    y[t] = sum;
  }
  return y;
}

// A vector of values between 1 and 2, spread over the states.
std::vector<double> spreadVector(std::uint32_t states) {
  std::vector<double> x(states);
  for (std::uint32_t s = 0; s < states; s++) {
    x[s] = 1.0 + (s * 7919 % 1000) / 1000.0;
  }
  return x;
}

// How many entries of y differ from expected's by more than rounding.
std::size_t mismatches(const std::vector<double>& y, const std::vector<double>& expected) {
  std::size_t wrong = 0;
  for (std::size_t s = 0; s < y.size(); s++) {
    wrong += !(std::fabs(y[s] - expected[s]) <= 1e-14 * expected[s]);
  }
  return wrong;
}

// Two threads, each on its share of the rows: every row in one share, and
// the product that of the plain rows, the same from one run to the next.
TEST(SlicedRowsTest, TwoThreadsShareTheRowsAndGiveThePlainProduct) {
  const std::uint32_t states = 150003;  // not a multiple of the slices' eight rows
  const solver::MarkovChain incoming = incomingGrid(states, 389);
  const std::unique_ptr<solver::SlicedRows> sliced = solver::SlicedRows::build(incoming, 2);
  ASSERT_NE(nullptr, sliced);
  ASSERT_EQ(2u, sliced->shares());
  std::vector<std::atomic<int>> shared(states);
  sliced->inShares([&shared](unsigned, std::size_t first, std::size_t last) {
    for (std::size_t s = first; s < last; s++) {
      shared[s]++;
    }
  });
  EXPECT_TRUE(std::all_of(shared.begin(), shared.end(), [](const auto& n) { return n == 1; }));

  const std::vector<double> x = spreadVector(states);
  const std::vector<double> expected = plainProduct(incoming, sliced->rate(), x);
  std::vector<double> y(states, NAN);
  sliced->step(x.data(), y.data());
  EXPECT_EQ(0u, mismatches(y, expected));
  std::vector<double> again(states, NAN);
  sliced->step(x.data(), again.data());
  EXPECT_EQ(y, again);
}

// Where the processor has 512-bit vectors the product uses them: the same
// bits as the plain kernel, on one thread and on two, rows past the last
// slice's end included.
TEST(SlicedRowsTest, WideKernelGivesThePlainKernelsBits) {
  const std::uint32_t states = 150005;
  const solver::MarkovChain incoming = incomingGrid(states, 389);
  std::vector<double> x(states);
  for (std::uint32_t s = 0; s < states; s++) {
    x[s] = 1.0 / (1 + s % 977) + s * 1e-9;
  }
  for (unsigned threads : {1u, 2u}) {
    const auto plain = solver::SlicedRows::build(incoming, threads, false);
    const auto wide = solver::SlicedRows::build(incoming, threads, true);
    ASSERT_NE(nullptr, plain);
    ASSERT_NE(nullptr, wide);
    std::vector<double> expected(states, NAN);
    std::vector<double> y(states, NAN);
    plain->step(x.data(), expected.data());
    wide->step(x.data(), y.data());
    EXPECT_EQ(expected, y) << threads << " threads";
  }
}

// The words' byte holds up to 255 distinct probabilities (past 16 the plain
// kernel serves), each found again among many; one more and the chain does
// not fit.
TEST(SlicedRowsTest, TheWordsHoldUpTo255DistinctProbabilities) {
  const std::uint32_t states = 20003;
  const solver::MarkovChain fits = incomingGrid(states, 97, 255);
  EXPECT_TRUE(solver::SlicedRows::mayFit(fits));
  const auto sliced = solver::SlicedRows::build(fits, 1);
  ASSERT_NE(nullptr, sliced);
  const std::vector<double> x = spreadVector(states);
  std::vector<double> y(states, NAN);
  sliced->step(x.data(), y.data());
  EXPECT_EQ(0u, mismatches(y, plainProduct(fits, sliced->rate(), x)));

  const solver::MarkovChain tooMany = incomingGrid(states, 97, 256);
  EXPECT_FALSE(solver::SlicedRows::mayFit(tooMany));
  EXPECT_EQ(nullptr, solver::SlicedRows::build(tooMany, 1));
}

// Runs that follow one another at once (the threads still spinning) and
// after pauses (the threads asleep) each reach every thread exactly once.
TEST(SlicedRowsTest, WorkersRunEachTaskOnEveryThreadWhetherSpinningOrAsleep) {
  solver::Workers team(3);
  ASSERT_EQ(3u, team.count());
  std::vector<int> runs(3, 0);
  for (int round = 0; round < 400; round++) {
    if (round % 100 == 99) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    team.run([&runs](unsigned index) { runs[index]++; });
    ASSERT_EQ(std::vector<int>(3, round + 1), runs);
  }
}

}  // namespace
