// The Poisson windows against probabilities computed independently in long
// double from logarithms: the mass left out stays within the bound, and the
// weights are the probabilities.
#include <gtest/gtest.h>

#include <cmath>

#include "solver/FoxGlynn.h"

namespace {

long double logProbability(long double rate, long double k) {
  return k * std::log(rate) - rate - std::lgamma(k + 1);
}

TEST(FoxGlynnTest, TheMassLeftOutStaysWithinTheBoundAndTheWeightsAreTheProbabilities) {
  for (double rate : {1e-3, 0.5, 3.0, 24.9, 25.0, 80.0, 300.0, 400.0, 2e3, 1e5, 1e6}) {
    for (double epsilon : {1e-3, 1e-10, 1e-16}) {
      SCOPED_TRACE("rate " + std::to_string(rate) + ", epsilon " + std::to_string(epsilon));
      const solver::PoissonWindow window = solver::poissonWindow(rate, epsilon);
      // Both tails, outwards from the window until the terms vanish.
      long double outside = 0;
      for (std::uint64_t k = window.left; k > 0 && k + 50 + 20 * std::sqrt(rate) > window.left;
           k--) {
        outside += std::exp(logProbability(rate, k - 1));
      }
      for (std::uint64_t k = window.right() + 1; k < window.right() + 50 + 20 * std::sqrt(rate);
           k++) {
        outside += std::exp(logProbability(rate, k));
      }
      EXPECT_LE(outside, epsilon);
      const long double inside = 1 - outside;
      double worst = 0;
      for (std::uint64_t k = window.left; k <= window.right(); k++) {
        const long double exact = std::exp(logProbability(rate, k)) / inside;
        if (exact > 1e-12) {
          worst = std::max(
              worst, double(std::fabs(window.probabilities[k - window.left] - exact) / exact));
        }
      }
      EXPECT_LT(worst, 1e-11);
    }
  }
}

}  // namespace
