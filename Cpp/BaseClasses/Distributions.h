#ifndef DISTRIBUTIONS_H_
#define DISTRIBUTIONS_H_

#include "Cpp/BaseClasses/RandomNumberGenerator.h"

// Samples the standard firing-time distributions from the uniform variates of
// one owned generator. Each operation draws its uniforms in a fixed order (the
// order its comment gives), so a simulation replays exactly from a seed.
// Arguments are not checked: a zero rate, p = 1 or a negative variance yields
// whatever the arithmetic gives. Every draw overwrites the scratch members.
class Distributions {
 public:
  // Uses an unseeded LaggedFibonacci.
  Distributions();
  // Uses generator, which the sampler owns from now on.
  explicit Distributions(RandomNumberGenerator* generator);
  ~Distributions();
  Distributions(const Distributions&) = delete;
  Distributions& operator=(const Distributions&) = delete;

  // The next uniform variate of the generator.
  double rnd();

  // -ln(u) / rate.
  double Exponential(double rate);
  // value; draws nothing.
  double Deterministic(double value);
  // floor(ln u / ln(1 - p)).
  double Geometric(double p);
  // a + (b - a) u.
  double Uniform(double a, double b);
  // beta (-ln u)^(1/alpha).
  double Weibull(double alpha, double beta);
  // A Weibull(alpha, beta) lifetime that has already lasted t, less t.
  double ConditionalWeibull(double alpha, double beta, double t);
  // Normal by the polar method, truncated at zero: pairs are redrawn until the
  // first value of a pair is non-negative. The second argument is the variance.
  double Normal(double mean, double variance);
  // exp of one polar-method normal(mean, variance) value; never truncated.
  double Lognormal(double mean, double variance);
  // -(mean/m) ln(u1 ... uk), k the number of whole numbers in [1, m]: m phases
  // of total mean `mean`. Draws nothing and returns 0 when m < 1.
  double Erlang(double m, double mean);
  // Triangular on [a, b] with mode c: one draw, none when a == b (returns a).
  double Triangular(double a, double b, double c);
  // Gamma of shape alpha and scale beta (Cheng's GB for alpha > 1, one
  // exponential draw for alpha == 1, Ahrens-Dieter GS for alpha < 1). NaN,
  // without drawing, when alpha is NaN.
  double Gamma(double alpha, double beta);
  // g1 / (g1 + g2) with g1 = Gamma(a1, 1) drawn before g2 = Gamma(a2, 1).
  double Beta(double a1, double a2);
  // Successes (u <= p) among the trials i = 0, 1, ... while i < n.
  double Binomial(double n, double p);
  // Sum of Geometric(p) over the trials i = 0, 1, ... while i < n.
  double NegativeBinomial(double n, double p);
  // branches holds n pairs (rate, weight). Draws u to pick a branch with
  // probability proportional to its weight, then u' for -ln(u') / rate.
  double HyperExponential(int n, const double* branches);
  // Sum over i < n of -ln(u_i) / rates[i].
  double HypoExponential(int n, const double* rates);
  // a u^(-1/b).
  double Pareto(double a, double b);

 protected:
  // Deletes the current generator and takes fresh, which the caller
  // allocated with new (std::nothrow): a null fresh means that allocation
  // failed and ends the program.
  void replaceGenerator(RandomNumberGenerator* fresh);

  RandomNumberGenerator* Generator;  // owned

 private:
  // Scratch, overwritten by each draw: the last uniforms, the polar-method
  // intermediates and the Gamma set-up.
  double U1 = 0.0;
  double U2 = 0.0;
  double V1 = 0.0;
  double V2 = 0.0;
  double W = 0.0;
  double Y = 0.0;
  double GammaA = 0.0;
  double GammaB = 0.0;
  double GammaQ = 0.0;
  double GammaTheta = 0.0;
  double GammaD = 0.0;

  // One polar-method value of normal(mean, variance); the pair's second value
  // is discarded.
  double polarNormal(double mean, double variance);
  double gammaCheng(double alpha);
  double gammaAhrensDieter(double alpha);
};

#endif
