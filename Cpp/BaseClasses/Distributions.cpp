#include "Cpp/BaseClasses/Distributions.h"

#include <cmath>
#include <limits>
#include <new>

#include "Cpp/BaseClasses/LaggedFibonacci.h"
#include "Cpp/BaseClasses/StandardErrors.h"

Distributions::Distributions() : Generator(nullptr) {
  replaceGenerator(new (std::nothrow) LaggedFibonacci);
}

Distributions::Distributions(RandomNumberGenerator* generator) : Generator(generator) {}

Distributions::~Distributions() { delete Generator; }

void Distributions::replaceGenerator(RandomNumberGenerator* fresh) {
  delete Generator;
  Generator = fresh;
  if (Generator == nullptr) {
    MemoryAllocationError();
  }
}

double Distributions::rnd() { return Generator->rnd(); }

double Distributions::Exponential(double rate) {
  U1 = rnd();
  return -std::log(U1) / rate;
}

double Distributions::Deterministic(double value) { return value; }

double Distributions::Geometric(double p) {
  U1 = rnd();
  return std::floor(std::log(U1) / std::log(1.0 - p));
}

double Distributions::Uniform(double a, double b) {
  U1 = rnd();
  return a + (b - a) * U1;
}

double Distributions::Weibull(double alpha, double beta) {
  U1 = rnd();
  return beta * std::pow(-std::log(U1), 1.0 / alpha);
}

double Distributions::ConditionalWeibull(double alpha, double beta, double t) {
  U1 = rnd();
  // Inverse of the survival function conditioned on survival up to t.
  double survived = std::exp(-std::pow(t / beta, alpha));
  return beta * std::pow(-std::log(U1 * survived), 1.0 / alpha) - t;
}

double Distributions::polarNormal(double mean, double variance) {
  do {
    U1 = rnd();
    U2 = rnd();
    V1 = 2.0 * U1 - 1.0;
    V2 = 2.0 * U2 - 1.0;
    W = V2 * V2 + V1 * V1;
  } while (W > 1.0);
  Y = std::sqrt(-2.0 * std::log(W) / W);
  return std::sqrt(variance) * V1 * Y + mean;
}

double Distributions::Normal(double mean, double variance) {
  // Delays cannot be negative.
  double x;
  do {
    x = polarNormal(mean, variance);
  } while (x < 0.0);
  return x;
}

double Distributions::Lognormal(double mean, double variance) {
  return std::exp(polarNormal(mean, variance));
}

double Distributions::Erlang(double m, double mean) {
  double product = 1.0;
  for (double i = 1.0; i <= m; i++) {
    product *= rnd();
  }
  return -(mean / m) * std::log(product);
}

double Distributions::Triangular(double a, double b, double c) {
  if (a == b) {
    return a;
  }
  double width = b - a;
  U1 = rnd();
  double r = (c - a) / width;  // the mode on the unit interval
  double x = U1 <= r ? std::sqrt(r * U1) : 1.0 - std::sqrt((1.0 - r) * (1.0 - U1));
  return a + x * width;
}

double Distributions::gammaCheng(double alpha) {
  GammaA = 1.0 / std::sqrt(2.0 * alpha - 1.0);
  GammaB = alpha - 1.3862943611198906;  // alpha - ln 4
  GammaQ = alpha + 1.0 / GammaA;
  GammaTheta = 4.5;
  GammaD = 2.504077396776274;  // 1 + ln 4.5
  for (;;) {
    U1 = rnd();
    U2 = rnd();
    double v = GammaA * std::log(U1 / (1.0 - U1));
    double y = alpha * std::exp(v);
    double z = U1 * U1 * U2;
    double w = GammaB + GammaQ * v - y;
    // The first test is a cheap bound that spares most logarithms.
    if (GammaD + w - GammaTheta * z >= 0.0 || w >= std::log(z)) {
      return y;
    }
  }
}

double Distributions::gammaAhrensDieter(double alpha) {
  const double e = 2.718281828459045;
  GammaB = (e + alpha) / e;
  for (;;) {
    U1 = rnd();
    double p = GammaB * U1;
    bool belowOne = p <= 1.0;
    double y = belowOne ? std::pow(p, 1.0 / alpha) : -std::log((GammaB - p) / alpha);
    U2 = rnd();
    // Each branch proposes from a different envelope, hence its own test.
    double acceptance = belowOne ? std::exp(-y) : std::pow(y, alpha - 1.0);
    if (U2 <= acceptance) {
      return y;
    }
  }
}

double Distributions::Gamma(double alpha, double beta) {
  if (alpha > 1.0) {
    return beta * gammaCheng(alpha);
  }
  if (alpha == 1.0) {
    U1 = rnd();
    return -std::log(U1) * beta;
  }
  if (alpha < 1.0) {
    return beta * gammaAhrensDieter(alpha);
  }
  return std::numeric_limits<double>::quiet_NaN();
}

double Distributions::Beta(double a1, double a2) {
  double g1 = Gamma(a1, 1.0);
  double g2 = Gamma(a2, 1.0);
  return g1 / (g1 + g2);
}

double Distributions::Binomial(double n, double p) {
  double successes = 0.0;
  for (double i = 0.0; i < n; i++) {
    if (rnd() <= p) {
      successes++;
    }
  }
  return successes;
}

double Distributions::NegativeBinomial(double n, double p) {
  double sum = 0.0;
  for (double i = 0.0; i < n; i++) {
    sum += Geometric(p);
  }
  return sum;
}

double Distributions::HyperExponential(int n, const double* branches) {
  U1 = rnd();
  double total = 0.0;
  for (int i = 0; i < n; i++) {
    total += branches[2 * i + 1];
  }
  // Taken when u == 1 (a Tausworthe can return it) or the weights sum to 0:
  // no running sum then exceeds u, and the last branch serves.
  int chosen = n - 1;
  double running = 0.0;
  for (int i = 0; i < n; i++) {
    running += branches[2 * i + 1];
    if (running / total > U1) {
      chosen = i;
      break;
    }
  }
  U2 = rnd();
  if (chosen < 0) {
    return std::numeric_limits<double>::quiet_NaN();  // no branches at all
  }
  return -std::log(U2) / branches[2 * chosen];
}

double Distributions::HypoExponential(int n, const double* rates) {
  double sum = 0.0;
  for (int i = 0; i < n; i++) {
    sum += -std::log(rnd()) / rates[i];
  }
  return sum;
}

double Distributions::Pareto(double a, double b) {
  U1 = rnd();
  return std::exp(std::log(a) - std::log(U1) / b);
}
