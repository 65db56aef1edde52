#include "solver/ForwardIteration.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <string>
#include <unordered_map>

#include "solver/BandOrder.h"
#include "solver/CompensatedSum.h"
#include "solver/Progress.h"
#include "solver/SlicedRows.h"
#include "solver/TransientPlan.h"

namespace solver {

namespace {

const double kUnitRoundoff = DBL_EPSILON / 2;
// The distance between successive vectors is measured every so many steps
// (it never grows, so an older one bounds the later ones).
const std::uint64_t kDriftEvery = 16;
// The forward iteration hands over once the distance between successive
// distributions times the rewards' spread is within this many bounds.
const double kHandOverMargin = 1e4;
// Each product p r, from compensated sums, is within this many unit
// roundoffs of the sum of p |r|.
const double kProductRounding = 8;
// Each row of rewards' sum of p is split into this many, which the states
// take in turn: an addition to a sum waits for the one before it, and
// states next to each other often have the same row.
constexpr std::size_t kSumsPerRow = 4;

// Each state's rewards as an index into a table of the distinct rows of
// rewards: models earn few distinct ones, so p r sums p by row first.
struct RewardRows {
  std::vector<std::uint32_t> rowOf;  // per state
  std::vector<double> table;         // numVariables per row

  // The states renumbered by newIndex.
  RewardRows(const MarkovChain& chain, const std::vector<std::uint32_t>& newIndex)
      : rowOf(chain.size()) {
    const std::size_t nv = chain.numVariables;
    std::unordered_map<std::string, std::uint32_t> position;
    std::string key(nv * sizeof(double), '\0');
    for (std::size_t s = 0; s < chain.size(); s++) {
      const double* rewards = chain.rewards.data() + s * nv;
      std::memcpy(&key[0], rewards, key.size());
      const auto found = position.try_emplace(key, static_cast<std::uint32_t>(position.size()));
      if (found.second) {
        table.insert(table.end(), rewards, rewards + nv);
      }
      rowOf[newIndex[s]] = found.first->second;
    }
  }
};

// The uniformized chain sliced, its states renumbered by newIndex; null
// when it does not fit the slices.
std::unique_ptr<SlicedRows> slicedChain(const MarkovChain& chain,
                                        const std::vector<std::uint32_t>& newIndex,
                                        unsigned threads) {
  return SlicedRows::build(transposed(chain, newIndex), threads);
}

class ForwardIteration {
 public:
  // newIndex: the numbering of the states in the products.
  ForwardIteration(const MarkovChain& chain, const std::vector<std::uint32_t>& newIndex,
                   const std::vector<TransientMeasure>& measures,
                   const TransientSettings& settings);
  std::optional<TransientResult> run(bool mayHandOver);

 private:
  // The products p r of every variable into Products; with previous, the
  // distance from previous to p into Drift.
  void observe(const double* p, const double* previous);
  // The estimates at step k from the partial sums, Products (of p_k) and
  // Drift; whether each is within its bound.
  bool estimate(std::uint64_t k);
  // Whether the products at step k are needed: a weight there, or time to
  // measure the drift.
  bool weighed(std::uint64_t k) const;
  bool handOver(std::uint64_t k) const;

  const std::size_t Size;
  const std::size_t NumVariables;
  const std::uint32_t Initial;
  const std::vector<TransientMeasure>& Measures;
  const TransientSettings& Settings;
  const std::unique_ptr<SlicedRows> Matrix;
  const double Rate;  // 0 without Matrix: nothing is planned
  const RewardRange Rewards;
  const RewardRows Rows;
  TransientPlan Plan;
  std::vector<CompensatedSum> Partial;
  std::vector<Estimate> Estimates;
  std::vector<double> Products;  // p r per variable, of the last vector observed
  // Per share of the product, p summed by row of rewards, kSumsPerRow sums a
  // row: kept between observations, which come at many steps.
  std::vector<std::vector<CompensatedSum>> Mass;
  double Drift = INFINITY;      // |p_{K+1} - p_K|_1 for the last K measured
  std::uint64_t DriftStep = 0;  // that K + 1
  double StepRounding;          // per step, relative to the magnitudes combined
};

ForwardIteration::ForwardIteration(const MarkovChain& chain,
                                   const std::vector<std::uint32_t>& newIndex,
                                   const std::vector<TransientMeasure>& measures,
                                   const TransientSettings& settings)
    : Size(chain.size()),
      NumVariables(chain.numVariables),
      Initial(newIndex[chain.initial]),
      Measures(measures),
      Settings(settings),
      Matrix(slicedChain(chain, newIndex, settings.threads)),
      Rate(Matrix ? Matrix->rate() : 0.0),
      Rewards(chain, nullptr),
      Rows(chain, newIndex),
      Plan(Rate, measures, Rewards, settings.epsilon),
      Partial(measures.size()),
      Estimates(measures.size()),
      Products(chain.numVariables),
      Mass(Matrix ? Matrix->shares() : 0,
           std::vector<CompensatedSum>(kSumsPerRow * Rows.table.size() /
                                       std::max<std::size_t>(NumVariables, 1))),
      // A step sums a column of P (its longest row here) whose own share
      // carries the rounding of a row's exit rate.
      StepRounding(Matrix
                       ? static_cast<double>(Matrix->longestRow() + Matrix->longestOutgoing() + 6) *
                             kUnitRoundoff
                       : 0.0) {}

void ForwardIteration::observe(const double* p, const double* previous) {
  const std::size_t nv = NumVariables;
  for (std::vector<CompensatedSum>& part : Mass) {
    std::fill(part.begin(), part.end(), CompensatedSum());
  }
  std::vector<CompensatedSum> drift(Matrix->shares());
  Matrix->inShares([&](unsigned share, std::size_t first, std::size_t last) {
    CompensatedSum* mass = Mass[share].data();
    for (std::size_t s = first; s < last; s++) {
      mass[Rows.rowOf[s] * kSumsPerRow + s % kSumsPerRow].add(p[s]);
    }
    for (std::size_t s = first; previous != nullptr && s < last; s++) {
      drift[share].add(std::fabs(p[s] - previous[s]));
    }
  });
  std::vector<CompensatedSum> products(nv);
  for (std::size_t row = 0; row < Mass.front().size() / kSumsPerRow; row++) {
    CompensatedSum total;
    for (const std::vector<CompensatedSum>& part : Mass) {
      for (std::size_t lane = 0; lane < kSumsPerRow; lane++) {
        total.add(part[row * kSumsPerRow + lane].value());
      }
    }
    for (std::size_t v = 0; v < nv; v++) {
      products[v].add(total.value() * Rows.table[row * nv + v]);
    }
  }
  for (std::size_t v = 0; v < nv; v++) {
    Products[v] = products[v].value();
  }
  if (previous != nullptr) {
    CompensatedSum total;
    for (const CompensatedSum& part : drift) {
      total.add(part.value());
    }
    Drift = total.value();
  }
}

bool ForwardIteration::estimate(std::uint64_t k) {
  // A bound on |p (P - I)|_1 for the computed p_k and the exact P, which
  // is what the remaining terms depend on: the distance measured (past the
  // rounding of its sum) plus the rounding of the product it came from and
  // twice that of each step since.
  const double drift =
      Drift * (1 + 4 * kUnitRoundoff) +
      (1 + 2 * static_cast<double>(k + 1 - std::min(k + 1, DriftStep))) * StepRounding;
  bool within = true;
  for (std::size_t j = 0; j < Measures.size(); j++) {
    const std::size_t v = Measures[j].variable;
    const double rest = Plan.remainder(j, k);
    Estimate& e = Estimates[j];
    e.value = Partial[j].value() + rest * Products[v];
    const double magnitude =
        Rewards.oneSigned[v] ? std::fabs(e.value) : Rewards.largest(v) * Plan.total(j);
    e.rounding =
        (static_cast<double>(k) * StepRounding + kProductRounding * kUnitRoundoff) * magnitude +
        2 * kUnitRoundoff * std::fabs(e.value);
    const double moment = rest == 0 ? 0.0 : Plan.remainingMoment(j, k);
    const double truncation =
        moment == 0 || Rewards.spread(v) == 0 ? 0.0 : moment * drift * Rewards.spread(v) / 2;
    e.error = truncation + Plan.misplaced(j) * Rewards.spread(v) + e.rounding;
    const double least = std::max(0.0, std::fabs(e.value) - e.error);
    const double bound = std::max(Settings.epsilon, Settings.relative * least);
    within = within && e.error <= bound;
  }
  return within;
}

bool ForwardIteration::weighed(std::uint64_t k) const {
  if (k % kDriftEvery == 0) {
    return true;
  }
  for (std::size_t j = 0; j < Measures.size(); j++) {
    if (Plan.weight(j, k) != 0) {
      return true;
    }
  }
  return false;
}

bool ForwardIteration::handOver(std::uint64_t k) const {
  double spread = 0;
  for (std::size_t v = 0; v < NumVariables; v++) {
    spread = std::max(spread, Rewards.spread(v));
  }
  // The backward iteration settles about where p does, a few decades of
  // the distance further on (so it takes over that much before), and a
  // step of it costs about a step of this one per variable.
  const std::uint64_t left = Plan.stepsBound() - std::min(k, Plan.stepsBound());
  return Drift * spread <= kHandOverMargin * Settings.epsilon &&
         left > 2 * k * std::max<std::size_t>(NumVariables, 1);
}

std::optional<TransientResult> ForwardIteration::run(bool mayHandOver) {
  if (!Matrix) {
    return std::nullopt;
  }
  TransientResult result;
  result.steps.needed = Plan.stepsBound();
  if (Settings.progress != nullptr) {
    Settings.progress->begin("uniformization steps", result.steps.needed);
  }
  std::vector<double> p(Size, 0.0);
  std::vector<double> next(Size);
  p[Initial] = 1.0;
  observe(p.data(), nullptr);
  std::uint64_t k = 0;
  for (;;) {
    Plan.buildWindows(k);
    if (weighed(k) && estimate(k)) {
      break;
    }
    if (stopAsked(Settings.progress, k)) {
      result.stopped = true;
      break;
    }
    for (std::size_t j = 0; j < Measures.size(); j++) {
      const double weight = Plan.weight(j, k);
      if (weight != 0) {
        Partial[j].add(weight * Products[Measures[j].variable]);
      }
    }
    if (Plan.windowsPassed(k + 1)) {
      estimate(k + 1);
      break;
    }
    if (mayHandOver && k % kDriftEvery == 0 && k > 0 && handOver(k)) {
      return std::nullopt;
    }
    Plan.checkStepLimit(k, Settings.maxSteps);
    Matrix->step(p.data(), next.data());
    k++;
    Plan.buildWindows(k);
    if (weighed(k)) {
      const bool measureDrift = k % kDriftEvery == 0;
      observe(next.data(), measureDrift ? p.data() : nullptr);
      DriftStep = measureDrift ? k : DriftStep;
    }
    p.swap(next);
  }
  result.steps.needed = Plan.lastRight();
  result.steps.rate = Rate;
  result.steps.taken = k;
  result.estimates = Estimates;
  return result;
}

}  // namespace

std::optional<TransientResult> forwardMeasures(const MarkovChain& chain,
                                               const std::vector<TransientMeasure>& measures,
                                               const TransientSettings& settings,
                                               bool mayHandOver) {
  // The numbering costs memory and time in proportion to the chain: not
  // for a chain the slices cannot hold.
  if (!SlicedRows::mayFit(chain)) {
    return std::nullopt;
  }
  const std::vector<std::uint32_t> newIndex = sliceNumbering(chain, bandOrder(chain));
  return ForwardIteration(chain, newIndex, measures, settings).run(mayHandOver);
}

}  // namespace solver
