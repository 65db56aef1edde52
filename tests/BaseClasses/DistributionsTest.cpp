#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "Cpp/BaseClasses/Distributions.h"
#include "Cpp/BaseClasses/UserDistributions.h"

namespace {

// Serves a fixed list of uniforms, cycling, and counts the draws.
class ScriptedGenerator : public RandomNumberGenerator {
 public:
  ScriptedGenerator(std::vector<double> values, int* draws)
      : Values(std::move(values)), Draws(draws) {}
  double rnd() override {
    double u = Values[*Draws % Values.size()];
    ++*Draws;
    return u;
  }

 private:
  std::vector<double> Values;
  int* Draws;
};

// A sampler over a scripted generator.
struct Scripted {
  int draws = 0;
  Distributions sampler;
  explicit Scripted(std::vector<double> values)
      : sampler(new ScriptedGenerator(std::move(values), &draws)) {}
};

TEST(DistributionsTest, DegenerateCasesDrawNothing) {
  Scripted s({0.5});
  EXPECT_EQ(3.5, s.sampler.Deterministic(3.5));
  EXPECT_EQ(2.0, s.sampler.Triangular(2.0, 2.0, 5.0));
  EXPECT_EQ(0.0, s.sampler.Erlang(0.5, 4.0));  // no whole number in [1, 0.5]
  EXPECT_TRUE(std::isnan(s.sampler.Gamma(NAN, 1.0)));
  EXPECT_EQ(0, s.draws);

  Scripted shapeOne({std::exp(-1.0), 0.9});
  EXPECT_DOUBLE_EQ(3.0, shapeOne.sampler.Gamma(1.0, 3.0));
  EXPECT_EQ(1, shapeOne.draws);
}

TEST(DistributionsTest, InversionFormulasUseTheUniformAsGiven) {
  Scripted s({std::exp(-1.0), 0.25, 0.2, std::exp(-4.0), 0.25, std::exp(-1.0)});
  EXPECT_DOUBLE_EQ(0.5, s.sampler.Exponential(2.0));
  EXPECT_DOUBLE_EQ(3.0, s.sampler.Uniform(2.0, 6.0));
  EXPECT_EQ(2.0, s.sampler.Geometric(0.5));  // floor(ln 0.2 / ln 0.5) = floor(2.32)
  EXPECT_DOUBLE_EQ(6.0, s.sampler.Weibull(2.0, 3.0));
  EXPECT_DOUBLE_EQ(32.0, s.sampler.Pareto(2.0, 0.5));
  // Shape 1 is memoryless: the remaining life after t = 1 is Exponential(1/2).
  EXPECT_DOUBLE_EQ(2.0, s.sampler.ConditionalWeibull(1.0, 2.0, 1.0));
  EXPECT_EQ(6, s.draws);
}

TEST(DistributionsTest, ErlangMultipliesOneUniformPerWholePhase) {
  Scripted s({0.5, 0.25, 0.125});
  EXPECT_DOUBLE_EQ(12.0 * std::log(2.0), s.sampler.Erlang(3.0, 6.0));
  EXPECT_EQ(3, s.draws);
  s.sampler.Erlang(2.7, 1.0);
  EXPECT_EQ(5, s.draws);
}

TEST(DistributionsTest, NormalRedrawsOutsideTheCircleAndBelowZero) {
  // Pairs: (0.95, 0.95) lies outside the unit circle; (0.25, 0.5) gives a
  // negative value; (0.75, 0.5) gives v1 = 0.5, w = 0.25.
  Scripted s({0.95, 0.95, 0.25, 0.5, 0.75, 0.5});
  double y = std::sqrt(-2.0 * std::log(0.25) / 0.25);
  EXPECT_DOUBLE_EQ(2.0 * 0.5 * y, s.sampler.Normal(0.0, 4.0));  // the variance is 4
  EXPECT_EQ(6, s.draws);
}

TEST(DistributionsTest, CountingDistributionsRunOneTrialPerStepBelowN) {
  Scripted s({0.1, 0.9, 0.5, 0.7, 0.2});
  EXPECT_EQ(3.0, s.sampler.Binomial(5, 0.5));  // u <= p counts: 0.1, 0.5, 0.2
  s.sampler.Binomial(2.5, 0.5);                // trials 0, 1 and 2
  EXPECT_EQ(8, s.draws);
  Scripted geometric({0.2, 0.2});
  EXPECT_EQ(4.0, geometric.sampler.NegativeBinomial(2, 0.5));
}

TEST(DistributionsTest, PhaseTypesChooseByWeightOrSumThePhases) {
  const double branches[] = {1.0, 1.0, 2.0, 3.0};  // (rate, weight) pairs
  Scripted second({0.3, std::exp(-2.0)});          // 1/4 <= 0.3 < 4/4
  EXPECT_DOUBLE_EQ(1.0, second.sampler.HyperExponential(2, branches));
  Scripted first({0.2, std::exp(-2.0)});
  EXPECT_DOUBLE_EQ(2.0, first.sampler.HyperExponential(2, branches));
  Scripted none({0.5});
  EXPECT_TRUE(std::isnan(none.sampler.HyperExponential(0, nullptr)));
  // A uniform of 1 or weights summing to 0 fall back to the last branch
  // instead of reading past the array.
  Scripted uniformIsOne({1.0, std::exp(-2.0)});
  EXPECT_DOUBLE_EQ(1.0, uniformIsOne.sampler.HyperExponential(2, branches));
  const double unweighted[] = {1.0, 0.0, 4.0, 0.0};
  Scripted zeroWeights({0.5, std::exp(-4.0)});
  EXPECT_DOUBLE_EQ(1.0, zeroWeights.sampler.HyperExponential(2, unweighted));

  const double rates[] = {1.0, 2.0};
  Scripted s({std::exp(-1.0), std::exp(-2.0)});
  EXPECT_DOUBLE_EQ(2.0, s.sampler.HypoExponential(2, rates));
  EXPECT_EQ(2, s.draws);
}

// Mean and variance of many Gamma(alpha, 2) draws against alpha*2 and
// alpha*4. The tolerances are about four standard errors; a shape-below-one
// sampler that accepted every power-branch proposal would miss by 19 % in the
// variance at alpha = 0.5 and by 13 % in the mean at alpha = 0.3.
void expectGammaMoments(double alpha) {
  const int n = 200000;
  const double scale = 2.0;
  UserDistributions sampler(0, 271828);
  double sum = 0.0;
  double sumOfSquares = 0.0;
  for (int i = 0; i < n; i++) {
    double x = sampler.Gamma(alpha, scale);
    sum += x;
    sumOfSquares += x * x;
  }
  double mean = sum / n;
  double variance = (sumOfSquares - n * mean * mean) / (n - 1);
  EXPECT_NEAR(1.0, mean / (alpha * scale), 0.015) << "alpha " << alpha;
  EXPECT_NEAR(1.0, variance / (alpha * scale * scale), 0.05) << "alpha " << alpha;
}

TEST(DistributionsTest, GammaHasTheRightMomentsForEveryShapeRange) {
  expectGammaMoments(0.3);
  expectGammaMoments(0.5);
  expectGammaMoments(1.0);
  expectGammaMoments(2.5);
}

}  // namespace
