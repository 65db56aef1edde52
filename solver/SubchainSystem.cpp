#include "solver/SubchainSystem.h"

#include <suitesparse/umfpack.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>

#include "solver/Progress.h"
#include "solver/Workers.h"

namespace solver {

namespace {

const double kUnitRoundoff = DBL_EPSILON / 2;
// Factorising is tried up to this size; beyond, the ordering alone can take
// minutes and the factors of a chain of many dimensions do not fit.
const std::size_t kMostDirectStates = 50000;
const double kMostFactorBytes = 2e9;
const int kRefinements = 10;
// A side whose residual has not fallen for this many iterations stops; the
// next refinement starts it afresh from its true residual.
const std::uint64_t kStagnation = 50;
// Below this many matrix entries per thread a second thread costs more than it saves.
const std::size_t kEntriesPerThread = 1000000;

}  // namespace

// Sparse LU factors of B, from UMFPACK; the rows of B are the columns of
// the matrix UMFPACK is given, so that it solves with its transpose.
class SubchainSystem::Direct {
 public:
  Direct(const std::vector<std::int32_t>& rowStart, const std::vector<std::int32_t>& column,
         const std::vector<double>& value)
      : RowStart(rowStart), Column(column), Value(value) {
    const int n = static_cast<int>(rowStart.size() - 1);
    double control[UMFPACK_CONTROL];
    double info[UMFPACK_INFO];
    umfpack_di_defaults(control);
    if (umfpack_di_symbolic(n, n, rowStart.data(), column.data(), value.data(), &Symbolic, control,
                            info) != UMFPACK_OK) {
      return;
    }
    if (info[UMFPACK_NUMERIC_SIZE_ESTIMATE] * info[UMFPACK_SIZE_OF_UNIT] > kMostFactorBytes) {
      return;
    }
    if (umfpack_di_numeric(rowStart.data(), column.data(), value.data(), Symbolic, &Numeric,
                           control, info) != UMFPACK_OK) {
      Numeric = nullptr;
    }
  }
  ~Direct() {
    if (Numeric != nullptr) {
      umfpack_di_free_numeric(&Numeric);
    }
    if (Symbolic != nullptr) {
      umfpack_di_free_symbolic(&Symbolic);
    }
  }
  Direct(const Direct&) = delete;
  Direct& operator=(const Direct&) = delete;

  bool ready() const { return Numeric != nullptr; }
  // B x = b, or B' x = b when transposed.
  void solve(const double* b, double* x, bool transposed = false) const {
    double control[UMFPACK_CONTROL];
    double info[UMFPACK_INFO];
    umfpack_di_defaults(control);
    control[UMFPACK_IRSTEP] = 0;  // refined by the caller, from a residual without cancellation
    umfpack_di_solve(transposed ? UMFPACK_A : UMFPACK_At, RowStart.data(), Column.data(),
                     Value.data(), x, b, Numeric, control, info);
  }

 private:
  const std::vector<std::int32_t>& RowStart;
  const std::vector<std::int32_t>& Column;
  const std::vector<double>& Value;
  void* Symbolic = nullptr;
  void* Numeric = nullptr;
};

// BiCGSTAB preconditioned by the incomplete LU factors of B, every side at
// once: each product reads the matrix once for all of them.
class SubchainSystem::Iterative {
 public:
  Iterative(const std::vector<std::int32_t>& rowStart, const std::vector<std::int32_t>& column,
            const std::vector<double>& value, unsigned threads)
      : RowStart(rowStart), Column(column), Value(value), Diagonal(rowStart.size() - 1) {
    for (std::size_t i = 0; i + 1 < rowStart.size(); i++) {
      for (std::int32_t e = rowStart[i]; e < rowStart[i + 1]; e++) {
        if (static_cast<std::size_t>(column[e]) == i) {
          Diagonal[i] = e;
        }
      }
    }
    factorIncompletely();
    const auto useful = static_cast<unsigned>(
        std::max<std::size_t>(1, std::min<std::size_t>(threads, value.size() / kEntriesPerThread)));
    ChunkStart.push_back(0);
    for (unsigned t = 1; t < useful; t++) {
      const auto share = static_cast<std::int32_t>(value.size() / useful * t);
      ChunkStart.push_back(static_cast<std::size_t>(
          std::upper_bound(rowStart.begin(), rowStart.end(), share) - rowStart.begin() - 1));
    }
    ChunkStart.push_back(Diagonal.size());
    if (useful > 1) {
      Team = std::make_unique<Workers>(useful);
    }
  }

  // An approximate solution of B x = b (count sides), from x = 0, until
  // each side's recursive residual is at most its goal (max norm), or the
  // budget of iterations is spent.
  std::vector<double> solve(const std::vector<double>& b, std::size_t count,
                            const std::vector<double>& goal, std::uint64_t& budget,
                            Progress* progress);
  // Solves with B' instead of B.
  bool Transposed = false;

 private:
  // y = B x (or B' x), count sides.
  void product(const std::vector<double>& x, std::vector<double>& y, std::size_t count) const {
    if (Transposed) {
      std::fill(y.begin(), y.end(), 0.0);
      for (std::size_t i = 0; i < Diagonal.size(); i++) {
        for (std::int32_t e = RowStart[i]; e < RowStart[i + 1]; e++) {
          for (std::size_t c = 0; c < count; c++) {
            y[static_cast<std::size_t>(Column[e]) * count + c] += Value[e] * x[i * count + c];
          }
        }
      }
      return;
    }
    const auto rows = [&](unsigned chunk) {
      std::vector<double> sum(count);
      for (std::size_t i = ChunkStart[chunk]; i < ChunkStart[chunk + 1]; i++) {
        std::fill(sum.begin(), sum.end(), 0.0);
        for (std::int32_t e = RowStart[i]; e < RowStart[i + 1]; e++) {
          const double* from = x.data() + static_cast<std::size_t>(Column[e]) * count;
          for (std::size_t c = 0; c < count; c++) {
            sum[c] += Value[e] * from[c];
          }
        }
        std::copy(sum.begin(), sum.end(), y.begin() + static_cast<std::ptrdiff_t>(i * count));
      }
    };
    if (Team) {
      Team->run(rows);
    } else {
      rows(0);
    }
  }
  // The incomplete LU factors of B on its own pattern (ILU(0), Meijerink
  // and van der Vorst, 1977: for an M-matrix its pivots stay positive);
  // where a pivot is not, the Jacobi preconditioner instead.
  void factorIncompletely() {
    Factor = Value;
    std::vector<std::int32_t> position(Diagonal.size(), -1);
    for (std::size_t i = 0; i < Diagonal.size(); i++) {
      for (std::int32_t e = RowStart[i]; e < RowStart[i + 1]; e++) {
        position[static_cast<std::size_t>(Column[e])] = e;
      }
      for (std::int32_t e = RowStart[i]; e < Diagonal[i]; e++) {
        const auto k = static_cast<std::size_t>(Column[e]);
        Factor[e] /= Factor[Diagonal[k]];
        for (std::int32_t f = Diagonal[k] + 1; f < RowStart[k + 1]; f++) {
          const std::int32_t at = position[static_cast<std::size_t>(Column[f])];
          if (at >= 0) {
            Factor[at] -= Factor[e] * Factor[f];
          }
        }
      }
      for (std::int32_t e = RowStart[i]; e < RowStart[i + 1]; e++) {
        position[static_cast<std::size_t>(Column[e])] = -1;
      }
      if (!(Factor[Diagonal[i]] > 0) || !std::isfinite(Factor[Diagonal[i]])) {
        Factor.clear();
        return;
      }
    }
  }
  // y = M^-1 x: the triangular solves of the incomplete factors.
  void precondition(const std::vector<double>& x, std::vector<double>& y, std::size_t count) const {
    const std::size_t n = Diagonal.size();
    if (Factor.empty()) {
      for (std::size_t i = 0; i < n; i++) {
        for (std::size_t c = 0; c < count; c++) {
          y[i * count + c] = x[i * count + c] / Value[Diagonal[i]];
        }
      }
      return;
    }
    if (Transposed) {
      preconditionTransposed(x, y, count);
      return;
    }
    for (std::size_t i = 0; i < n; i++) {
      for (std::size_t c = 0; c < count; c++) {
        double sum = x[i * count + c];
        for (std::int32_t e = RowStart[i]; e < Diagonal[i]; e++) {
          sum -= Factor[e] * y[static_cast<std::size_t>(Column[e]) * count + c];
        }
        y[i * count + c] = sum;
      }
    }
    for (std::size_t i = n; i-- > 0;) {
      for (std::size_t c = 0; c < count; c++) {
        double sum = y[i * count + c];
        for (std::int32_t e = Diagonal[i] + 1; e < RowStart[i + 1]; e++) {
          sum -= Factor[e] * y[static_cast<std::size_t>(Column[e]) * count + c];
        }
        y[i * count + c] = sum / Factor[Diagonal[i]];
      }
    }
  }
  // y = M'^-1 x = L'^-1 U'^-1 x, by rows of U and L as columns of U' and L'.
  void preconditionTransposed(const std::vector<double>& x, std::vector<double>& y,
                              std::size_t count) const {
    y = x;
    for (std::size_t k = 0; k < Diagonal.size(); k++) {
      for (std::size_t c = 0; c < count; c++) {
        const double value = y[k * count + c] / Factor[Diagonal[k]];
        y[k * count + c] = value;
        for (std::int32_t e = Diagonal[k] + 1; e < RowStart[k + 1]; e++) {
          y[static_cast<std::size_t>(Column[e]) * count + c] -= Factor[e] * value;
        }
      }
    }
    for (std::size_t k = Diagonal.size(); k-- > 0;) {
      for (std::size_t c = 0; c < count; c++) {
        for (std::int32_t e = RowStart[k]; e < Diagonal[k]; e++) {
          y[static_cast<std::size_t>(Column[e]) * count + c] -= Factor[e] * y[k * count + c];
        }
      }
    }
  }

  const std::vector<std::int32_t>& RowStart;
  const std::vector<std::int32_t>& Column;
  const std::vector<double>& Value;
  std::vector<std::int32_t> Diagonal;   // entry of each row's diagonal
  std::vector<double> Factor;           // L (unit, below) and U, or empty
  std::vector<std::size_t> ChunkStart;  // rows of each thread's share, balanced by entries
  std::unique_ptr<Workers> Team;
  std::uint64_t Iterations = 0;
};

namespace {

// Per side: the dot product of two vectors holding count sides.
std::vector<double> dots(const std::vector<double>& a, const std::vector<double>& b,
                         std::size_t count) {
  std::vector<double> sum(count, 0.0);
  for (std::size_t i = 0; i < a.size(); i++) {
    sum[i % count] += a[i] * b[i];
  }
  return sum;
}

std::vector<double> largest(const std::vector<double>& a, std::size_t count) {
  std::vector<double> most(count, 0.0);
  for (std::size_t i = 0; i < a.size(); i++) {
    most[i % count] = std::max(most[i % count], std::fabs(a[i]));
  }
  return most;
}

}  // namespace

std::vector<double> SubchainSystem::Iterative::solve(const std::vector<double>& b,
                                                     std::size_t count,
                                                     const std::vector<double>& goal,
                                                     std::uint64_t& budget, Progress* progress) {
  const std::size_t size = b.size();
  std::vector<double> x(size, 0.0), r = b, shadow = b, p(size, 0.0), v(size, 0.0);
  // A shadow residual as sparse as b (the rates out of one state, say)
  // soon meets r in a zero product and the iteration breaks down: spread
  // it over every state.
  const std::vector<double> scale = largest(b, count);
  std::uint64_t seed = 0x9E3779B97F4A7C15ull;
  for (std::size_t i = 0; i < size; i++) {
    seed = seed * 6364136223846793005ull + 1442695040888963407ull;
    shadow[i] += scale[i % count] * (0.5 + static_cast<double>(seed >> 11) * 0x1.0p-54);
  }
  std::vector<double> y(size), s(size), z(size), t(size);
  std::vector<double> rho(count, 1.0), alpha(count, 1.0), omega(count, 1.0);
  std::vector<bool> done(count, false);
  std::vector<double> best = largest(r, count);
  std::vector<std::uint64_t> lastGain(count, 0);
  for (std::uint64_t iteration = 1; budget > 0; iteration++) {
    budget--;
    Iterations++;
    const std::vector<double> rhoNew = dots(shadow, r, count);
    for (std::size_t i = 0; i < size; i++) {
      const std::size_t c = i % count;
      const double beta =
          rho[c] == 0 || omega[c] == 0 ? 0.0 : rhoNew[c] / rho[c] * alpha[c] / omega[c];
      p[i] = done[c] ? 0.0 : r[i] + beta * (p[i] - omega[c] * v[i]);
    }
    precondition(p, y, count);
    product(y, v, count);
    const std::vector<double> shadowV = dots(shadow, v, count);
    for (std::size_t c = 0; c < count; c++) {
      alpha[c] = shadowV[c] == 0 ? 0.0 : rhoNew[c] / shadowV[c];
    }
    for (std::size_t i = 0; i < size; i++) {
      s[i] = r[i] - alpha[i % count] * v[i];
    }
    precondition(s, z, count);
    product(z, t, count);
    const std::vector<double> ts = dots(t, s, count);
    const std::vector<double> tt = dots(t, t, count);
    for (std::size_t c = 0; c < count; c++) {
      omega[c] = tt[c] == 0 ? 0.0 : ts[c] / tt[c];
    }
    for (std::size_t i = 0; i < size; i++) {
      const std::size_t c = i % count;
      if (done[c]) {
        continue;
      }
      x[i] += alpha[c] * y[i] + omega[c] * z[i];
      r[i] = s[i] - omega[c] * t[i];
    }
    rho = rhoNew;
    const std::vector<double> now = largest(r, count);
    bool all = true;
    for (std::size_t c = 0; c < count; c++) {
      // A breakdown (no progress possible from this shadow) ends the side;
      // the caller's refinement starts it afresh from its true residual.
      if (now[c] < 0.99 * best[c]) {
        best[c] = now[c];
        lastGain[c] = iteration;
      }
      done[c] = done[c] || now[c] <= goal[c] || rho[c] == 0 || omega[c] == 0 ||
                !std::isfinite(now[c]) || iteration - lastGain[c] > kStagnation;
      all = all && done[c];
    }
    if (progress != nullptr) {
      char detail[60];
      std::snprintf(detail, sizeof detail, "largest residual %.1e",
                    *std::max_element(now.begin(), now.end()));
      progress->advance(Iterations, detail);
      if (progress->stopRequested()) {
        break;
      }
    }
    if (all) {
      break;
    }
  }
  for (double value : x) {
    if (!std::isfinite(value)) {
      return std::vector<double>(size, 0.0);
    }
  }
  return x;
}

SubchainSystem::SubchainSystem(const MarkovChain& chain, std::vector<std::uint32_t> states,
                               const LinearSettings& settings)
    : States(std::move(states)),
      LocalOf(chain.size(), -1),
      Settings(settings),
      Budget(settings.maxIterations) {
  for (std::size_t i = 0; i < States.size(); i++) {
    LocalOf[States[i]] = static_cast<std::int64_t>(i);
  }
  if (chain.rate.size() + States.size() >
      static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    throw SolveError("the linear system of " + std::to_string(States.size()) +
                     " states has too many transitions for 4-byte indices");
  }
  RowStart.push_back(0);
  std::vector<std::pair<std::int32_t, double>> row;
  for (std::uint32_t s : States) {
    const auto own = static_cast<std::int32_t>(LocalOf[s]);
    double exit = 0.0;
    double leaving = 0.0;
    row.clear();
    for (std::uint64_t e = chain.rowStart[s]; e < chain.rowStart[s + 1]; e++) {
      exit += chain.rate[e];
      const std::int64_t target = LocalOf[chain.column[e]];
      if (target < 0) {
        leaving += chain.rate[e];
      } else {
        row.emplace_back(static_cast<std::int32_t>(target), -chain.rate[e]);
      }
    }
    // The factorisations want each row's columns ascending.
    row.emplace_back(own, exit);
    std::sort(row.begin(), row.end());
    for (const auto& [column, value] : row) {
      Column.push_back(column);
      Value.push_back(value);
    }
    Leaving.push_back(leaving);
    RowStart.push_back(static_cast<std::int32_t>(Column.size()));
  }
  const bool direct =
      settings.method == LinearSettings::Method::kDirect ||
      (settings.method == LinearSettings::Method::kAutomatic && States.size() <= kMostDirectStates);
  if (direct) {
    Factors = std::make_unique<Direct>(RowStart, Column, Value);
    if (!Factors->ready()) {
      Factors.reset();
    }
  }
  if (!Factors) {
    Krylov = std::make_unique<Iterative>(RowStart, Column, Value, settings.threads);
  }
}

SubchainSystem::~SubchainSystem() = default;

std::int64_t SubchainSystem::local(std::uint32_t state) const {
  return state < LocalOf.size() ? LocalOf[state] : -1;
}

std::string SubchainSystem::method() const {
  return Factors ? "sparse LU" : "BiCGSTAB with an incomplete LU preconditioner";
}

std::vector<double> SubchainSystem::residual(const std::vector<double>& x,
                                             const std::vector<double>& b, std::size_t count,
                                             std::vector<double>* scale) const {
  // (B x)_i = sum over j of rate_ij (x_i - x_j) + leaving_i x_i: the
  // differences of neighbours are small where x_i itself is large.
  std::vector<double> r(b.size());
  if (scale != nullptr) {
    scale->assign(b.size(), 0.0);
  }
  for (std::size_t i = 0; i < States.size(); i++) {
    for (std::size_t c = 0; c < count; c++) {
      const double own = x[i * count + c];
      double sum = Leaving[i] * own;
      double size = std::fabs(sum) + std::fabs(b[i * count + c]);
      for (std::int32_t e = RowStart[i]; e < RowStart[i + 1]; e++) {
        if (static_cast<std::size_t>(Column[e]) == i) {
          continue;
        }
        const double term = -Value[e] * (own - x[static_cast<std::size_t>(Column[e]) * count + c]);
        sum += term;
        size += std::fabs(term);
      }
      r[i * count + c] = b[i * count + c] - sum;
      if (scale != nullptr) {
        const double terms = static_cast<double>(RowStart[i + 1] - RowStart[i]) + 4;
        (*scale)[i * count + c] = terms * kUnitRoundoff * size;
      }
    }
  }
  return r;
}

std::vector<double> SubchainSystem::residualBound(const std::vector<double>& x,
                                                  const std::vector<double>& b,
                                                  std::size_t count) const {
  std::vector<double> rounding;
  const std::vector<double> r = residual(x, b, count, &rounding);
  std::vector<double> bound(count, 0.0);
  for (std::size_t i = 0; i < r.size(); i++) {
    // The rounding bound is itself computed with rounding: a factor 2 covers it.
    bound[i % count] = std::max(bound[i % count], std::fabs(r[i]) + 2 * rounding[i]);
  }
  return bound;
}

void SubchainSystem::refineOnce(std::vector<double>& x, const std::vector<double>& b,
                                std::size_t count, double target) {
  const std::vector<double> r = residual(x, b, count, nullptr);
  const std::size_t n = States.size();
  std::vector<double> change(r.size(), 0.0);
  if (Factors) {
    std::vector<double> side(n);
    std::vector<double> solved(n);
    for (std::size_t c = 0; c < count; c++) {
      for (std::size_t i = 0; i < n; i++) {
        side[i] = r[i * count + c];
      }
      Factors->solve(side.data(), solved.data());
      for (std::size_t i = 0; i < n; i++) {
        change[i * count + c] = solved[i];
      }
    }
  } else {
    // Each round gains a few digits from the true residual: far into the
    // solve BiCGSTAB's own residual drifts and stagnates.
    std::vector<double> goal = largest(r, count);
    for (double& g : goal) {
      g = std::max(target / 2, g * 1e-6);
    }
    change = Krylov->solve(r, count, goal, Budget, Settings.progress);
  }
  for (std::size_t i = 0; i < x.size(); i++) {
    x[i] += change[i];
  }
}

std::vector<double> SubchainSystem::solve(const std::vector<double>& b, std::size_t count,
                                          double target) {
  std::vector<double> x(b.size(), 0.0);
  std::vector<double> best = x;
  std::vector<double> bestResidual = residualBound(x, b, count);
  for (int round = 0; round < kRefinements; round++) {
    refineOnce(x, b, count, target);
    const std::vector<double> now = residualBound(x, b, count);
    bool better = false;
    bool reached = true;
    for (std::size_t c = 0; c < count; c++) {
      better = better || now[c] < bestResidual[c];
      reached = reached && now[c] <= target;
    }
    if (!better) {
      break;
    }
    // Keep the better side of each.
    for (std::size_t c = 0; c < count; c++) {
      if (now[c] < bestResidual[c]) {
        bestResidual[c] = now[c];
        for (std::size_t i = c; i < x.size(); i += count) {
          best[i] = x[i];
        }
      }
    }
    x = best;
    if (reached || (Settings.progress != nullptr && Settings.progress->stopRequested())) {
      break;
    }
  }
  return best;
}

std::vector<double> SubchainSystem::solveTransposed(const std::vector<double>& b) {
  if (Factors) {
    std::vector<double> x(b.size());
    Factors->solve(b.data(), x.data(), true);
    return x;
  }
  Krylov->Transposed = true;
  std::vector<double> x = Krylov->solve(b, 1, {1e-3 * largest(b, 1)[0]}, Budget, Settings.progress);
  Krylov->Transposed = false;
  return x;
}

const std::vector<double>& SubchainSystem::leavingTime(double& factor) {
  if (Time.empty() && !States.empty()) {
    const std::vector<double> ones(States.size(), 1.0);
    Time = solve(ones, 1, 0.0);
    const double residual = residualBound(Time, ones, 1)[0];
    TimeFactor = residual < 0.5 ? 1 / (1 - residual) : INFINITY;
  }
  factor = TimeFactor;
  return Time;
}

}  // namespace solver
