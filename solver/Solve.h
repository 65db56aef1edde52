#ifndef SOLVER_SOLVE_H_
#define SOLVER_SOLVE_H_

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "solver/Diagnostic.h"
#include "solver/MarkovChain.h"

namespace solver {

// What to compute for one generator run.
struct SolveOptions {
  std::string base;  // the run's file names without their suffixes
  double epsilon = 1e-10;
  std::vector<double> times;  // when not empty, replaces every variable's time points
  bool longRun = false;       // also the value in the long run (t = infinity)
  unsigned int maxPhases = 1024;
  std::uint64_t maxSteps = 100000000;
};

// The expected rate reward of a variable at a time (infinity: in the long run).
struct VariableValue {
  std::string variable;
  double time = 0.0;
  Estimate estimate;
};

struct Solution {
  std::vector<std::string> notes;  // how the values were computed, one line each
  std::vector<VariableValue> values;
  // Every error within the bound asked for; when false, the values carry
  // the errors reached.
  bool withinBound = true;
};

// Reads the files of options.base and computes, for each reward variable
// and each of its time points (and in the long run when asked), its
// expected rate reward: the sum over states of the state's probability
// times its rate reward. A diagnostic says what is wrong with the files or
// what the solver cannot compute.
Parsed<Solution> solve(const SolveOptions& options);

// The notes, an empty line, then a table "variable time value error".
void printSolution(const Solution& solution, std::ostream& out);

}  // namespace solver

#endif
