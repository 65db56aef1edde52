#include "solver/MarkovChain.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "solver/Workers.h"

namespace solver {

namespace {

const double kUniformizationMargin = 1.02;
// Up to this many distinct probabilities are kept as a table.
const std::size_t kMaxTable = 65536;
// Below this many transitions per thread a second thread costs more than it saves.
const std::uint64_t kTransitionsPerThread = 500000;

// What one product reads and writes; the kernel is compiled for the
// common variable counts, so that each row's sums stay in registers.
struct Rows {
  const std::uint64_t* rowStart;
  const std::uint32_t* column;
  const double* probability;
  const std::uint16_t* tableIndex;
  const double* table;
  const double* stay;
  std::size_t numVariables;
};

template <int kVariables, bool kIndexed, bool kHeld>
void productRows(const Rows& rows, const double* x, double* y, const std::uint8_t* held,
                 double* low, double* high, std::size_t first, std::size_t last) {
  const std::size_t nv = kVariables > 0 ? kVariables : rows.numVariables;
  constexpr std::size_t kBuffer = kVariables > 0 ? kVariables : 1;
  double fixedSum[kBuffer];
  std::vector<double> dynamicSum(kVariables > 0 ? 0 : nv);
  double* sum = kVariables > 0 ? fixedSum : dynamicSum.data();
  for (std::size_t i = first; i < last; i++) {
    const double stay = rows.stay[i];
    const double* own = x + i * nv;
    for (std::size_t v = 0; v < nv; v++) {
      sum[v] = stay * own[v];
    }
    for (std::uint64_t e = rows.rowStart[i]; e < rows.rowStart[i + 1]; e++) {
      const double p = kIndexed ? rows.table[rows.tableIndex[e]] : rows.probability[e];
      const double* from = x + static_cast<std::size_t>(rows.column[e]) * nv;
      for (std::size_t v = 0; v < nv; v++) {
        sum[v] += p * from[v];
      }
    }
    double* out = y + i * nv;
    for (std::size_t v = 0; v < nv; v++) {
      const double value = kHeld && held[i * nv + v] ? 1.0 : sum[v];
      out[v] = value;
      low[v] = std::min(low[v], value);
      high[v] = std::max(high[v], value);
    }
  }
}

using Kernel = void (*)(const Rows&, const double*, double*, const std::uint8_t*, double*,
                        double*, std::size_t, std::size_t);

template <int kVariables>
Kernel kernelFor(bool indexed, bool held) {
  if (indexed) {
    return held ? productRows<kVariables, true, true> : productRows<kVariables, true, false>;
  }
  return held ? productRows<kVariables, false, true> : productRows<kVariables, false, false>;
}

Kernel kernelFor(std::size_t numVariables, bool indexed, bool held) {
  switch (numVariables) {
    case 1:
      return kernelFor<1>(indexed, held);
    case 2:
      return kernelFor<2>(indexed, held);
    case 3:
      return kernelFor<3>(indexed, held);
    case 4:
      return kernelFor<4>(indexed, held);
    default:
      return kernelFor<0>(indexed, held);
  }
}

}  // namespace

struct Uniformized::Range {
  std::vector<double> low;
  std::vector<double> high;
};

Uniformized::Uniformized(const MarkovChain& chain, unsigned threads)
    : Chain(chain), Stay(chain.size(), 1.0) {
  const std::size_t n = chain.size();
  std::vector<double> exit(n, 0.0);
  double largest = 0.0;
  for (std::size_t i = 0; i < n; i++) {
    for (std::uint64_t e = chain.rowStart[i]; e < chain.rowStart[i + 1]; e++) {
      exit[i] += chain.rate[e];
    }
    largest = std::max(largest, exit[i]);
    LongestRow = std::max<std::size_t>(LongestRow, chain.rowStart[i + 1] - chain.rowStart[i] + 1);
  }
  Rate = kUniformizationMargin * largest;
  if (Rate == 0.0) {
    ChunkStart = {0, n};
    return;
  }
  for (std::size_t i = 0; i < n; i++) {
    Stay[i] = (Rate - exit[i]) / Rate;
  }
  const std::size_t transitions = chain.rate.size();
  std::unordered_map<double, std::uint16_t> index;
  TableIndex.reserve(transitions);
  for (std::size_t e = 0; e < transitions && Table.size() <= kMaxTable; e++) {
    const double p = chain.rate[e] / Rate;
    const auto found = index.emplace(p, static_cast<std::uint16_t>(Table.size()));
    if (found.second) {
      Table.push_back(p);
    }
    TableIndex.push_back(found.first->second);
  }
  if (Table.size() > kMaxTable) {
    TableIndex = {};
    Table.clear();
    Probability.resize(transitions);
    for (std::size_t e = 0; e < transitions; e++) {
      Probability[e] = chain.rate[e] / Rate;
    }
  }
  const auto useful = static_cast<unsigned>(
      std::max<std::uint64_t>(1, std::min<std::uint64_t>(threads, transitions / kTransitionsPerThread)));
  ChunkStart.push_back(0);
  for (unsigned t = 1; t < useful; t++) {
    const std::uint64_t share = transitions / useful * t;
    ChunkStart.push_back(std::upper_bound(chain.rowStart.begin(), chain.rowStart.end(), share) -
                         chain.rowStart.begin() - 1);
  }
  ChunkStart.push_back(n);
  if (useful > 1) {
    Team = std::make_unique<Workers>(useful);
  }
}

Uniformized::~Uniformized() = default;

void Uniformized::stepRows(const double* x, double* y, const std::uint8_t* held, Range& range,
                           std::size_t first, std::size_t last) const {
  const Rows rows{Chain.rowStart.data(), Chain.column.data(), Probability.data(),
                  TableIndex.data(),     Table.data(),        Stay.data(),
                  Chain.numVariables};
  kernelFor(Chain.numVariables, !Table.empty(), held != nullptr)(
      rows, x, y, held, range.low.data(), range.high.data(), first, last);
}

void Uniformized::step(const double* x, double* y, const std::uint8_t* held, double* low,
                       double* high) const {
  const std::size_t nv = Chain.numVariables;
  const std::size_t chunks = ChunkStart.size() - 1;
  std::vector<Range> ranges(chunks, Range{std::vector<double>(nv, INFINITY),
                                          std::vector<double>(nv, -INFINITY)});
  const auto work = [&](unsigned chunk) {
    stepRows(x, y, held, ranges[chunk], ChunkStart[chunk], ChunkStart[chunk + 1]);
  };
  if (Team) {
    Team->run(work);
  } else {
    work(0);
  }
  for (std::size_t v = 0; v < nv; v++) {
    low[v] = INFINITY;
    high[v] = -INFINITY;
    for (const Range& range : ranges) {
      low[v] = std::min(low[v], range.low[v]);
      high[v] = std::max(high[v], range.high[v]);
    }
  }
}

void Uniformized::step(const std::vector<double>& x, std::vector<double>& y) const {
  std::vector<double> low(Chain.numVariables);
  std::vector<double> high(Chain.numVariables);
  step(x.data(), y.data(), nullptr, low.data(), high.data());
}

}  // namespace solver
