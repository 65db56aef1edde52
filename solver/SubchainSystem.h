#ifndef SOLVER_SUBCHAINSYSTEM_H_
#define SOLVER_SUBCHAINSYSTEM_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "solver/MarkovChain.h"

namespace solver {

class Progress;

// How a SubchainSystem solves.
struct LinearSettings {
  enum class Method { kAutomatic, kDirect, kIterative };
  Method method = Method::kAutomatic;
  std::uint64_t maxIterations = 100000000;
  unsigned threads = 1;  // for the products of large iterative solves
  Progress* progress = nullptr;
};

// The bounds a measure computed from linear systems must meet, and how the
// systems are solved.
struct MeasureSettings {
  double epsilon = 1e-10;  // absolute error bound
  double relative = 0.0;   // relative error bound; the absolute one is its floor
  LinearSettings linear;
};

// The equations of a chain restricted to a set S of its states that it
// leaves with certainty (from every state of S a state outside S can be
// reached): B x = b with B = diag(exit rates) - (rates within S), a
// nonsingular M-matrix, so that B^-1 >= 0. Its solution with b = 1 is the
// mean time to leave S, t; with b the rewards, the expected reward earned
// before leaving. For any x~, the exact x lies within ||b - B x~||inf times
// t of it, state by state: the residual bounds the error, the mean time to
// leave is the condition.
//
// Small and middle-sized systems are factorised (sparse LU of UMFPACK, from
// SuiteSparse); large ones, whose factors would not fit in memory, are
// solved by BiCGSTAB (van der Vorst, 1992) preconditioned by an incomplete
// LU factorisation without fill, all sides in one pass over the matrix. Both refine the solution
// from its residual, computed in a form without cancellation, until it stops falling.
class SubchainSystem {
 public:
  // states: ascending, from 0.
  SubchainSystem(const MarkovChain& chain, std::vector<std::uint32_t> states,
                 const LinearSettings& settings);
  ~SubchainSystem();

  std::size_t size() const { return States.size(); }
  const std::vector<std::uint32_t>& states() const { return States; }
  // The index of state in S, or -1.
  std::int64_t local(std::uint32_t state) const;
  // How it solves, for notes.
  std::string method() const;

  // Solves B x = b for count right-hand sides, stored side by side (entry i
  // of side c at i * count + c). Refines until each residual is at most
  // target (max norm), no longer falls, or the iterations run out.
  std::vector<double> solve(const std::vector<double>& b, std::size_t count, double target);
  // An approximate solution of B' x = b, one side: for a guess, not a bound.
  std::vector<double> solveTransposed(const std::vector<double>& b);
  // For each side, a bound on ||b - B x||inf that covers the rounding of
  // its own computation.
  std::vector<double> residualBound(const std::vector<double>& x, const std::vector<double>& b,
                                    std::size_t count) const;
  // The mean time to leave S, from each state of S, refined until its
  // residual stops falling, and a factor that makes it an upper bound:
  // 1 / (1 - its residual), or infinity when the residual is not below 1/2.
  const std::vector<double>& leavingTime(double& factor);

 private:
  class Direct;
  class Iterative;
  // The residual b - B x, side by side.
  std::vector<double> residual(const std::vector<double>& x, const std::vector<double>& b,
                               std::size_t count, std::vector<double>* scale) const;
  void refineOnce(std::vector<double>& x, const std::vector<double>& b, std::size_t count,
                  double target);

  std::vector<std::uint32_t> States;
  std::vector<std::int64_t> LocalOf;  // by chain state
  // B by rows, diagonal included, 4-byte indices.
  std::vector<std::int32_t> RowStart;
  std::vector<std::int32_t> Column;
  std::vector<double> Value;
  std::vector<double> Leaving;  // rates out of S, by row
  LinearSettings Settings;
  std::uint64_t Budget;  // iterations left
  std::unique_ptr<Direct> Factors;
  std::unique_ptr<Iterative> Krylov;
  std::vector<double> Time;
  double TimeFactor = 0.0;
};

}  // namespace solver

#endif
