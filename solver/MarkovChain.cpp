#include "solver/MarkovChain.h"

#include <algorithm>

namespace solver {

namespace {

const double kUniformizationMargin = 1.02;

}  // namespace

Uniformized::Uniformized(const MarkovChain& chain) : Chain(chain), Exit(chain.size(), 0.0) {
  double largest = 0.0;
  for (std::size_t i = 0; i < chain.size(); i++) {
    for (std::uint64_t e = chain.rowStart[i]; e < chain.rowStart[i + 1]; e++) {
      Exit[i] += chain.rate[e];
    }
    largest = std::max(largest, Exit[i]);
  }
  Rate = kUniformizationMargin * largest;
}

void Uniformized::step(const std::vector<double>& x, std::vector<double>& y) const {
  const std::size_t numVariables = Chain.numVariables;
  const double scale = 1.0 / Rate;
  for (std::size_t i = 0; i < Chain.size(); i++) {
    const double stay = 1.0 - Exit[i] * scale;
    for (std::size_t v = 0; v < numVariables; v++) {
      y[i * numVariables + v] = stay * x[i * numVariables + v];
    }
    for (std::uint64_t e = Chain.rowStart[i]; e < Chain.rowStart[i + 1]; e++) {
      const double move = Chain.rate[e] * scale;
      const double* from = x.data() + Chain.column[e] * numVariables;
      for (std::size_t v = 0; v < numVariables; v++) {
        y[i * numVariables + v] += move * from[v];
      }
    }
  }
}

}  // namespace solver
