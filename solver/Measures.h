#ifndef SOLVER_MEASURES_H_
#define SOLVER_MEASURES_H_

#include <cstdint>
#include <string>
#include <vector>

#include "solver/MarkovChain.h"
#include "solver/Solve.h"
#include "solver/TransientSolver.h"

namespace solver {

class Progress;

// One value to compute of one reward column of a chain: at an instant
// (stop), over [start, stop], in the long run or as a mean time. For
// kMeanTime and kProbabilityBy the column is the condition: 1 where it
// holds, 0 elsewhere.
struct MeasureRequest {
  std::size_t variable = 0;
  VariableKind kind = VariableKind::kInstant;
  double start = 0.0;
  double stop = 0.0;
};

struct EvaluationSettings {
  double epsilon = 1e-10;
  double relative = 0.0;
  std::uint64_t maxSteps = 100000000;
  unsigned threads = 1;
  Progress* progress = nullptr;
};

struct Evaluation {
  std::vector<Estimate> estimates;  // by request
  std::vector<bool> infinite;       // by request: a mean time that is infinite
  UniformizationSteps steps;        // of the values at instants and over intervals
  std::string longRunMethod;        // how the long run's linear systems were solved, if any
  std::string meanTimeMethod;       // likewise for mean times
  bool stopped = false;             // asked to stop before all was done
};

// Every request on one chain: the transient ones in one uniformization,
// the long-run ones from one set of linear systems, each mean time from
// its own. Throws SolveError when a computation would be too large.
Evaluation evaluateMeasures(const MarkovChain& chain, const std::vector<MeasureRequest>& requests,
                            const EvaluationSettings& settings);

}  // namespace solver

#endif
