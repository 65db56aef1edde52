#include "solver/SlicedRows.h"

#include <algorithm>

#include "solver/DistinctValues.h"
#include "solver/FetchAhead.h"
#include "solver/Workers.h"

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace solver {

namespace {

constexpr std::size_t kLanes = 8;
// Rows are sorted by length within windows of this many, so that slices
// pad little and the rows stay near their order (and their neighbours in
// the vector).
const std::size_t kWindow = 128;
const std::uint32_t kTargetMask = (std::uint32_t(1) << 24) - 1;
const std::size_t kMaxProbabilities = 255;
const std::size_t kMaxStays = 65536;
// Below this many words per thread a second thread costs more than it saves.
const std::uint64_t kWordsPerThread = 500000;
// The most probabilities (padding's 0 included) that two 512-bit registers hold.
const std::size_t kWideProbabilities = 16;

// Whether the processor has the 512-bit instructions stepWide uses.
bool hasWideVectors() {
#if defined(__x86_64__)
  return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512vl");
#else
  return false;
#endif
}

// The longest of the rows of the slice that begins at row first: its turns.
std::uint64_t turnsOf(const MarkovChain& incoming, std::size_t first) {
  std::uint64_t longest = 0;
  for (std::size_t r = first; r < std::min(first + kLanes, incoming.size()); r++) {
    longest = std::max(longest, incoming.rowStart[r + 1] - incoming.rowStart[r]);
  }
  return longest;
}

// The words the slices of incoming's rows take, padding included.
std::uint64_t wordsNeeded(const MarkovChain& incoming) {
  std::uint64_t words = 0;
  for (std::size_t first = 0; first < incoming.size(); first += kLanes) {
    words += turnsOf(incoming, first) * kLanes;
  }
  return words;
}

}  // namespace

std::vector<std::uint32_t> sliceNumbering(const MarkovChain& chain,
                                          const std::vector<std::uint32_t>& numbering) {
  std::vector<std::uint64_t> incoming(chain.size(), 0);
  for (std::uint32_t target : chain.column) {
    incoming[target]++;
  }
  std::vector<std::uint32_t> order(chain.size());
  for (std::size_t s = 0; s < order.size(); s++) {
    order[numbering[s]] = static_cast<std::uint32_t>(s);
  }
  for (std::size_t first = 0; first < order.size(); first += kWindow) {
    const auto begin = order.begin() + static_cast<std::ptrdiff_t>(first);
    const auto end =
        order.begin() + static_cast<std::ptrdiff_t>(std::min(first + kWindow, order.size()));
    std::stable_sort(begin, end, [&incoming](std::uint32_t a, std::uint32_t b) {
      return incoming[a] > incoming[b];
    });
  }
  std::vector<std::uint32_t> newIndex(order.size());
  for (std::size_t i = 0; i < order.size(); i++) {
    newIndex[order[i]] = static_cast<std::uint32_t>(i);
  }
  return newIndex;
}

bool SlicedRows::mayFit(const MarkovChain& chain) {
  if (chain.size() > kTargetMask + std::size_t(1)) {
    return false;
  }
  std::vector<double> rates;
  DistinctValues distinct(rates, kMaxProbabilities);
  std::uint32_t number = 0;
  return std::all_of(chain.rate.begin(), chain.rate.end(),
                     [&](double rate) { return distinct.number(rate, number); });
}

std::unique_ptr<SlicedRows> SlicedRows::build(const MarkovChain& incoming, unsigned threads,
                                              bool wide) {
  if (incoming.size() > kTargetMask + std::size_t(1)) {
    return nullptr;
  }
  std::unique_ptr<SlicedRows> sliced(new SlicedRows());
  sliced->Size = incoming.size();
  std::vector<double> exit(incoming.size(), 0.0);
  std::vector<std::size_t> outgoing(incoming.size(), 0);
  for (std::size_t e = 0; e < incoming.rate.size(); e++) {
    exit[incoming.column[e]] += incoming.rate[e];
    sliced->LongestOutgoing = std::max(sliced->LongestOutgoing, ++outgoing[incoming.column[e]]);
  }
  const double rate = uniformizationRate(*std::max_element(exit.begin(), exit.end()));
  sliced->Rate = rate;
  DistinctValues probabilities(sliced->Table, kMaxProbabilities);
  std::vector<std::uint8_t> code;  // per transition, its probability's place in Table
  code.reserve(incoming.rate.size());
  for (double r : incoming.rate) {
    std::uint32_t number = 0;
    if (!probabilities.number(r / rate, number)) {
      return nullptr;
    }
    code.push_back(static_cast<std::uint8_t>(number));
  }
  sliced->Table.push_back(0.0);
  sliced->Wide = wide && sliced->Table.size() <= kWideProbabilities && hasWideVectors();
  if (!sliced->slice(incoming, exit, code)) {
    return nullptr;
  }
  sliced->share(threads);
  return sliced;
}

bool SlicedRows::slice(const MarkovChain& incoming, const std::vector<double>& exit,
                       const std::vector<std::uint8_t>& code) {
  const std::size_t n = Size;
  const double rate = Rate;
  const auto padding = static_cast<std::uint32_t>(Table.size() - 1);
  DistinctValues stays(StayTable, kMaxStays);
  StayIndex.reserve((n + kLanes - 1) / kLanes * kLanes);
  Words.reserve(wordsNeeded(incoming));
  SliceStart.push_back(0);
  for (std::size_t first = 0; first < n; first += kLanes) {
    for (std::size_t r = first; r < first + kLanes; r++) {
      std::uint32_t number = 0;
      if (!stays.number(r < n ? (rate - exit[r]) / rate : 0.0, number)) {
        return false;
      }
      StayIndex.push_back(static_cast<std::uint16_t>(number));
    }
    const std::uint64_t longest = turnsOf(incoming, first);
    LongestRow = std::max<std::size_t>(LongestRow, longest + 1);
    for (std::uint64_t turn = 0; turn < longest; turn++) {
      for (std::size_t r = first; r < first + kLanes; r++) {
        const std::uint64_t e = r < n ? incoming.rowStart[r] + turn : 0;
        const bool real = r < n && e < incoming.rowStart[r + 1];
        // Padding reads the slice's first row, at probability 0.
        Words.push_back(real ? incoming.column[e] | std::uint32_t(code[e]) << 24
                             : static_cast<std::uint32_t>(first) | padding << 24);
      }
    }
    SliceStart.push_back(Words.size());
  }
  return true;
}

void SlicedRows::share(unsigned threads) {
  const auto useful = static_cast<unsigned>(
      std::max<std::uint64_t>(1, std::min<std::uint64_t>(threads, Words.size() / kWordsPerThread)));
  ChunkStart.push_back(0);
  for (unsigned t = 1; t < useful; t++) {
    const std::uint64_t share = Words.size() / useful * t;
    ChunkStart.push_back(static_cast<std::size_t>(
        std::upper_bound(SliceStart.begin(), SliceStart.end(), share) - SliceStart.begin() - 1));
  }
  ChunkStart.push_back(SliceStart.size() - 1);
  if (useful > 1) {
    Team = std::make_unique<Workers>(useful);
  }
}

SlicedRows::~SlicedRows() = default;

// Inlined where used: a call from stepWide would run this code with the
// 512-bit registers' upper halves in use, which slows it.
__attribute__((always_inline)) inline void SlicedRows::startSums(const double* x, std::size_t row,
                                                                 double* sum) const {
  const std::uint16_t* stay = StayIndex.data() + row;
  // Lanes past the last row read the slice's first, at share 0.
  const std::size_t lanes = std::min(kLanes, Size - row);
#pragma GCC unroll 8
  for (std::size_t lane = 0; lane < kLanes; lane++) {
    sum[lane] = StayTable[stay[lane]] * x[lane < lanes ? row + lane : row];
  }
}

__attribute__((always_inline)) inline void SlicedRows::storeSums(const double* sum, std::size_t row,
                                                                 double* y) const {
  const std::size_t lanes = std::min(kLanes, Size - row);
  if (lanes == kLanes) {
#pragma GCC unroll 8
    for (std::size_t lane = 0; lane < kLanes; lane++) {
      y[row + lane] = sum[lane];
    }
    return;
  }
  for (std::size_t lane = 0; lane < lanes; lane++) {
    y[row + lane] = sum[lane];
  }
}

void SlicedRows::stepSlices(const double* x, double* y, std::size_t first, std::size_t last) const {
  const double* table = Table.data();
  for (std::size_t s = first; s < last; s++) {
    const std::size_t row = s * kLanes;
    double sum[kLanes];
    startSums(x, row, sum);
    const std::uint32_t* end = Words.data() + SliceStart[s + 1];
    for (const std::uint32_t* w = Words.data() + SliceStart[s]; w < end; w += kLanes) {
      fetchOnce(w, kFetchAhead);
#pragma GCC unroll 8
      for (std::size_t lane = 0; lane < kLanes; lane++) {
        sum[lane] += table[w[lane] >> 24] * x[w[lane] & kTargetMask];
      }
    }
    storeSums(sum, row, y);
  }
}

#if defined(__x86_64__)
// As stepSlices: each lane multiplies, then adds, in the same order (the
// file is built without contracting the two into one rounding).
__attribute__((target("avx512f,avx512vl"))) void SlicedRows::stepWide(const double* x, double* y,
                                                                       std::size_t first,
                                                                       std::size_t last) const {
  double table[kWideProbabilities] = {};
  std::copy(Table.begin(), Table.end(), table);
  const __m512d low = _mm512_loadu_pd(table);
  const __m512d high = _mm512_loadu_pd(table + kLanes);
  for (std::size_t s = first; s < last; s++) {
    const std::size_t row = s * kLanes;
    double start[kLanes];
    startSums(x, row, start);
    __m512d sum = _mm512_loadu_pd(start);
    const std::uint32_t* end = Words.data() + SliceStart[s + 1];
    for (const std::uint32_t* w = Words.data() + SliceStart[s]; w < end; w += kLanes) {
      fetchOnce(w, kFetchAhead);
      const __m256i words = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(w));
      // The forms masked with all lanes set and zeros elsewhere: the
      // unmasked ones start from an undefined register, which the
      // compiler warns of.
      const __m512i codes = _mm512_maskz_cvtepu32_epi64(0xff, _mm256_srli_epi32(words, 24));
      const __m512d p = _mm512_permutex2var_pd(low, codes, high);
      // The entries by scalar loads: this processor's gathers are slower.
      __m128d pairs[kLanes / 2];
#pragma GCC unroll 4
      for (std::size_t i = 0; i < kLanes / 2; i++) {
        pairs[i] = _mm_loadh_pd(_mm_load_sd(x + (w[2 * i] & kTargetMask)),
                                x + (w[2 * i + 1] & kTargetMask));
      }
      const __m256d front = _mm256_set_m128d(pairs[1], pairs[0]);
      const __m256d back = _mm256_set_m128d(pairs[3], pairs[2]);
      const __m512d entries = _mm512_maskz_insertf64x4(0xff, _mm512_castpd256_pd512(front), back, 1);
      sum = _mm512_add_pd(sum, _mm512_mul_pd(p, entries));
    }
    double sums[kLanes];
    _mm512_storeu_pd(sums, sum);
    storeSums(sums, row, y);
  }
}
#else
void SlicedRows::stepWide(const double* x, double* y, std::size_t first, std::size_t last) const {
  stepSlices(x, y, first, last);
}
#endif

void SlicedRows::step(const double* x, double* y) const {
  inShares([&](unsigned, std::size_t first, std::size_t last) {
    const std::size_t from = first / kLanes;
    const std::size_t to = (last + kLanes - 1) / kLanes;
    if (Wide) {
      stepWide(x, y, from, to);
    } else {
      stepSlices(x, y, from, to);
    }
  });
}

void SlicedRows::inShares(
    const std::function<void(unsigned, std::size_t, std::size_t)>& task) const {
  const auto work = [&](unsigned share) {
    task(share, std::min(ChunkStart[share] * kLanes, Size),
         std::min(ChunkStart[share + 1] * kLanes, Size));
  };
  if (Team) {
    Team->run(work);
  } else {
    work(0);
  }
}

}  // namespace solver
