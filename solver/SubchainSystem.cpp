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
const int kRefinements = 6;
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
    if (umfpack_di_symbolic(n, n, rowStart.data(), column.data(), value.data(), &Symbolic,
                            control, info) != UMFPACK_OK) {
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
    umfpack_di_solve(transposed ? UMFPACK_A : UMFPACK_At, RowStart.data(), Column.data(), Value.data(), x, b, Numeric,
                     control, info);
  }

 private:
  const std::vector<std::int32_t>& RowStart;
  const std::vector<std::int32_t>& Column;
  const std::vector<double>& Value;
  void* Symbolic = nullptr;
  void* Numeric = nullptr;
};

// BiCGSTAB with a Jacobi preconditioner on B, every side at once: each
// product reads the matrix once for all of them.
class SubchainSystem::Iterative {
 public:
  Iterative(const std::vector<std::int32_t>& rowStart, const std::vector<std::int32_t>& column,
            const std::vector<double>& value, unsigned threads)
      : RowStart(rowStart), Column(column), Value(value), Inverse(rowStart.size() - 1) {
    for (std::size_t i = 0; i + 1 < rowStart.size(); i++) {
      for (std::int32_t e = rowStart[i]; e < rowStart[i + 1]; e++) {
        if (static_cast<std::size_t>(column[e]) == i) {
          Inverse[i] = 1 / value[e];
        }
      }
    }
    const auto useful = static_cast<unsigned>(std::max<std::size_t>(
        1, std::min<std::size_t>(threads, value.size() / kEntriesPerThread)));
    ChunkStart.push_back(0);
    for (unsigned t = 1; t < useful; t++) {
      const auto share = static_cast<std::int32_t>(value.size() / useful * t);
      ChunkStart.push_back(static_cast<std::size_t>(
          std::upper_bound(rowStart.begin(), rowStart.end(), share) - rowStart.begin() - 1));
    }
    ChunkStart.push_back(Inverse.size());
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
      for (std::size_t i = 0; i < Inverse.size(); i++) {
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
  void precondition(const std::vector<double>& x, std::vector<double>& y, std::size_t count) const {
    for (std::size_t i = 0; i < Inverse.size(); i++) {
      for (std::size_t c = 0; c < count; c++) {
        y[i * count + c] = Inverse[i] * x[i * count + c];
      }
    }
  }

  const std::vector<std::int32_t>& RowStart;
  const std::vector<std::int32_t>& Column;
  const std::vector<double>& Value;
  std::vector<double> Inverse;  // of the diagonal
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
  std::vector<double> y(size), s(size), z(size), t(size);
  std::vector<double> rho(count, 1.0), alpha(count, 1.0), omega(count, 1.0);
  std::vector<bool> done(count, false);
  while (budget > 0) {
    budget--;
    Iterations++;
    const std::vector<double> rhoNew = dots(shadow, r, count);
    for (std::size_t i = 0; i < size; i++) {
      const std::size_t c = i % count;
      const double beta = rho[c] == 0 || omega[c] == 0 ? 0.0 : rhoNew[c] / rho[c] * alpha[c] / omega[c];
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
      done[c] = done[c] || now[c] <= goal[c] || rho[c] == 0 || omega[c] == 0 ||
                !std::isfinite(now[c]);
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
  if (chain.rate.size() + States.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    throw SolveError("the linear system of " + std::to_string(States.size()) +
                     " states has too many transitions for 4-byte indices");
  }
  RowStart.push_back(0);
  for (std::uint32_t s : States) {
    const std::int32_t own = static_cast<std::int32_t>(LocalOf[s]);
    double exit = 0.0;
    double leaving = 0.0;
    bool diagonal = false;
    for (std::uint64_t e = chain.rowStart[s]; e < chain.rowStart[s + 1]; e++) {
      exit += chain.rate[e];
      const std::int64_t target = LocalOf[chain.column[e]];
      if (target < 0) {
        leaving += chain.rate[e];
        continue;
      }
      if (!diagonal && target > own) {
        Column.push_back(own);
        Value.push_back(0.0);
        diagonal = true;
      }
      Column.push_back(static_cast<std::int32_t>(target));
      Value.push_back(-chain.rate[e]);
    }
    if (!diagonal) {
      Column.push_back(own);
      Value.push_back(0.0);
    }
    const auto row = std::find(Column.begin() + RowStart.back(), Column.end(), own);
    Value[row - Column.begin()] = exit;
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
  return Factors ? "sparse LU" : "BiCGSTAB with a Jacobi preconditioner";
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
                                std::size_t count, double target, bool first) {
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
    // The first solve goes as far as the iteration can; later ones only
    // correct what its recursive residual lost.
    std::vector<double> goal = largest(first ? b : r, count);
    for (double& g : goal) {
      g = std::max(target / 2, g * (first ? 1e-13 : 1e-3));
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
    refineOnce(x, b, count, target, round == 0);
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
