#include "solver/MarkovChain.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "solver/DistinctValues.h"
#include "solver/FetchAhead.h"
#include "solver/Workers.h"

namespace solver {

namespace {

const double kUniformizationMargin = 1.02;
// Up to this many distinct probabilities (and stays) are kept as a table.
const std::size_t kMaxTable = 65536;
// A target and a table index share 4 bytes up to these sizes.
const std::size_t kPackedStates = std::size_t(1) << 24;
const std::size_t kPackedTable = 256;
// Below this many transitions per thread a second thread costs more than it saves.
const std::uint64_t kTransitionsPerThread = 500000;

// How the transitions are stored: target and table index in one word,
// side by side, or target and probability.
enum class Layout { kPacked, kIndexed, kPlain };

// What one product reads and writes.
struct Rows {
  const std::uint64_t* rowStart;
  const std::uint32_t* column;
  const std::uint32_t* packed;
  const std::uint16_t* tableIndex;
  const double* probability;
  const double* table;
  const std::uint16_t* stayIndex;
  const double* stayTable;
  const double* stay;
  std::size_t numVariables;
};

template <Layout kLayout>
inline double probabilityOf(const Rows& rows, std::uint64_t e, std::size_t& target) {
  if constexpr (kLayout == Layout::kPacked) {
    const std::uint32_t word = rows.packed[e];
    target = word & (kPackedStates - 1);
    return rows.table[word >> 24];
  } else if constexpr (kLayout == Layout::kIndexed) {
    target = rows.column[e];
    return rows.table[rows.tableIndex[e]];
  } else {
    target = rows.column[e];
    return rows.probability[e];
  }
}

// Pairs of doubles: a row's sums for two variables in one register.
typedef double Pair __attribute__((vector_size(16)));

inline Pair loadPair(const double* at) {
  Pair pair;
  std::memcpy(&pair, at, sizeof pair);
  return pair;
}

// Row i's transitions kFetchAhead on, in each array the layout streams.
template <Layout kLayout>
inline void fetchRowsAhead(const Rows& rows, std::size_t i) {
  const std::uint64_t e = rows.rowStart[i] + kFetchAhead;
  if constexpr (kLayout == Layout::kPacked) {
    fetchOnce(rows.packed, e);
  } else if constexpr (kLayout == Layout::kIndexed) {
    fetchOnce(rows.column, e);
    fetchOnce(rows.tableIndex, e);
  } else {
    fetchOnce(rows.column, e);
    fetchOnce(rows.probability, e);
  }
}

inline double stayOf(const Rows& rows, std::size_t i) {
  return rows.stayIndex != nullptr ? rows.stayTable[rows.stayIndex[i]] : rows.stay[i];
}

// The product for a fixed, even number of variables: sums and extremes in
// pairs, two variables a register.
template <int kVariables, Layout kLayout>
void productRowsInPairs(const Rows& rows, const double* x, double* y, double* low, double* high,
                        std::size_t first, std::size_t last) {
  constexpr int kPairs = kVariables / 2;
  Pair least[kPairs];
  Pair most[kPairs];
  for (int h = 0; h < kPairs; h++) {
    least[h] = loadPair(low + 2 * h);
    most[h] = loadPair(high + 2 * h);
  }
  for (std::size_t i = first; i < last; i++) {
    fetchRowsAhead<kLayout>(rows, i);
    const double stay = stayOf(rows, i);
    const Pair own = {stay, stay};
    Pair acc[kPairs];
    for (int h = 0; h < kPairs; h++) {
      acc[h] = own * loadPair(x + i * kVariables + 2 * h);
    }
    for (std::uint64_t e = rows.rowStart[i]; e < rows.rowStart[i + 1]; e++) {
      std::size_t target;
      const double p = probabilityOf<kLayout>(rows, e, target);
      const Pair weight = {p, p};
      for (int h = 0; h < kPairs; h++) {
        acc[h] += weight * loadPair(x + target * kVariables + 2 * h);
      }
    }
    for (int h = 0; h < kPairs; h++) {
      std::memcpy(y + i * kVariables + 2 * h, &acc[h], sizeof acc[h]);
      least[h] = acc[h] < least[h] ? acc[h] : least[h];
      most[h] = acc[h] > most[h] ? acc[h] : most[h];
    }
  }
  std::memcpy(low, least, sizeof least);
  std::memcpy(high, most, sizeof most);
}

template <Layout kLayout>
inline void sumRow(const Rows& rows, const double* x, std::size_t i, double stay, double* sum,
                   std::size_t nv) {
  for (std::size_t v = 0; v < nv; v++) {
    sum[v] = stay * x[i * nv + v];
  }
  for (std::uint64_t e = rows.rowStart[i]; e < rows.rowStart[i + 1]; e++) {
    std::size_t target;
    const double p = probabilityOf<kLayout>(rows, e, target);
    for (std::size_t v = 0; v < nv; v++) {
      sum[v] += p * x[target * nv + v];
    }
  }
}

// The kernel is compiled for the common variable counts, so that each
// row's sums stay in registers (0: any count).
template <int kVariables, Layout kLayout, bool kHeld>
void productRows(const Rows& rows, const double* x, double* y, const std::uint8_t* held,
                 double* low, double* high, std::size_t first, std::size_t last) {
  const std::size_t nv = kVariables > 0 ? kVariables : rows.numVariables;
  constexpr std::size_t kBuffer = kVariables > 0 ? kVariables : 1;
  // Local sums and extremes: through the caller's pointers, which may
  // alias y, every row would store them to memory.
  double fixedSum[kBuffer];
  double fixedLow[kBuffer];
  double fixedHigh[kBuffer];
  std::vector<double> dynamic(kVariables > 0 ? 0 : 3 * nv);
  double* sum = kVariables > 0 ? fixedSum : dynamic.data();
  double* localLow = kVariables > 0 ? fixedLow : dynamic.data() + nv;
  double* localHigh = kVariables > 0 ? fixedHigh : dynamic.data() + 2 * nv;
  for (std::size_t v = 0; v < nv; v++) {
    localLow[v] = low[v];
    localHigh[v] = high[v];
  }
  if constexpr (kVariables > 0 && kVariables % 2 == 0 && !kHeld) {
    productRowsInPairs<kVariables, kLayout>(rows, x, y, low, high, first, last);
    return;
  }
  for (std::size_t i = first; i < last; i++) {
    fetchRowsAhead<kLayout>(rows, i);
    const double stay = stayOf(rows, i);
    sumRow<kLayout>(rows, x, i, stay, sum, nv);
    double* out = y + i * nv;
    for (std::size_t v = 0; v < nv; v++) {
      const double value = kHeld && held[i * nv + v] ? 1.0 : sum[v];
      out[v] = value;
      localLow[v] = std::min(localLow[v], value);
      localHigh[v] = std::max(localHigh[v], value);
    }
  }
  for (std::size_t v = 0; v < nv; v++) {
    low[v] = localLow[v];
    high[v] = localHigh[v];
  }
}

using Kernel = void (*)(const Rows&, const double*, double*, const std::uint8_t*, double*, double*,
                        std::size_t, std::size_t);

template <int kVariables, Layout kLayout>
Kernel kernelFor(bool held) {
  return held ? productRows<kVariables, kLayout, true> : productRows<kVariables, kLayout, false>;
}

template <int kVariables>
Kernel kernelFor(Layout layout, bool held) {
  switch (layout) {
    case Layout::kPacked:
      return kernelFor<kVariables, Layout::kPacked>(held);
    case Layout::kIndexed:
      return kernelFor<kVariables, Layout::kIndexed>(held);
    default:
      return kernelFor<kVariables, Layout::kPlain>(held);
  }
}

Kernel kernelFor(std::size_t numVariables, Layout layout, bool held) {
  switch (numVariables) {
    case 1:
      return kernelFor<1>(layout, held);
    case 2:
      return kernelFor<2>(layout, held);
    case 3:
      return kernelFor<3>(layout, held);
    case 4:
      return kernelFor<4>(layout, held);
    default:
      return kernelFor<0>(layout, held);
  }
}

// The distinct values of values as a table and an index per value; empty
// when there are more than kMaxTable.
void tabulate(const std::vector<double>& values, std::vector<double>& table,
              std::vector<std::uint16_t>& index) {
  DistinctValues distinct(table, kMaxTable);
  index.reserve(values.size());
  for (double value : values) {
    std::uint32_t number = 0;
    if (!distinct.number(value, number)) {
      table.clear();
      index = {};
      return;
    }
    index.push_back(static_cast<std::uint16_t>(number));
  }
}

}  // namespace

MarkovChain transposed(const MarkovChain& chain, const std::vector<std::uint32_t>& newIndex) {
  const std::size_t n = chain.size();
  const auto number = [&newIndex](std::size_t s) {
    return newIndex.empty() ? static_cast<std::uint32_t>(s) : newIndex[s];
  };
  MarkovChain result;
  result.numVariables = 1;
  result.initial = number(chain.initial);
  result.rowStart.assign(n + 1, 0);
  for (std::uint32_t target : chain.column) {
    result.rowStart[number(target) + 1]++;
  }
  for (std::size_t s = 0; s < n; s++) {
    result.rowStart[s + 1] += result.rowStart[s];
  }
  result.column.resize(chain.column.size());
  result.rate.resize(chain.rate.size());
  std::vector<std::uint64_t> next(result.rowStart.begin(), result.rowStart.end() - 1);
  for (std::size_t s = 0; s < n; s++) {
    for (std::uint64_t e = chain.rowStart[s]; e < chain.rowStart[s + 1]; e++) {
      const std::uint64_t at = next[number(chain.column[e])]++;
      result.column[at] = number(s);
      result.rate[at] = chain.rate[e];
    }
  }
  return result;
}

double uniformizationRate(double largestExit) { return kUniformizationMargin * largestExit; }

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
  Rate = uniformizationRate(largest);
  if (Rate == 0.0) {
    ChunkStart = {0, n};
    return;
  }
  for (std::size_t i = 0; i < n; i++) {
    Stay[i] = (Rate - exit[i]) / Rate;
  }
  tabulate(Stay, StayTable, StayIndex);
  if (!StayTable.empty()) {
    Stay = {};
  }
  const std::size_t transitions = chain.rate.size();
  std::vector<double> probability(transitions);
  for (std::size_t e = 0; e < transitions; e++) {
    probability[e] = chain.rate[e] / Rate;
  }
  tabulate(probability, Table, TableIndex);
  if (Table.empty()) {
    Probability = std::move(probability);
  } else if (Table.size() <= kPackedTable && n <= kPackedStates) {
    Packed.resize(transitions);
    for (std::size_t e = 0; e < transitions; e++) {
      Packed[e] = chain.column[e] | static_cast<std::uint32_t>(TableIndex[e]) << 24;
    }
    TableIndex = {};
  }
  const auto useful = static_cast<unsigned>(std::max<std::uint64_t>(
      1, std::min<std::uint64_t>(threads, transitions / kTransitionsPerThread)));
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
  const Rows rows{Chain.rowStart.data(),
                  Chain.column.data(),
                  Packed.data(),
                  TableIndex.data(),
                  Probability.data(),
                  Table.data(),
                  StayTable.empty() ? nullptr : StayIndex.data(),
                  StayTable.data(),
                  Stay.data(),
                  Chain.numVariables};
  const Layout layout = !Packed.empty()       ? Layout::kPacked
                        : !TableIndex.empty() ? Layout::kIndexed
                                              : Layout::kPlain;
  kernelFor(Chain.numVariables, layout, held != nullptr)(rows, x, y, held, range.low.data(),
                                                         range.high.data(), first, last);
}

void Uniformized::step(const double* x, double* y, const std::uint8_t* held, double* low,
                       double* high) const {
  const std::size_t nv = Chain.numVariables;
  const std::size_t chunks = ChunkStart.size() - 1;
  std::vector<Range> ranges(
      chunks, Range{std::vector<double>(nv, INFINITY), std::vector<double>(nv, -INFINITY)});
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
