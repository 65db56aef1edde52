#ifndef SOLVER_SOLVE_H_
#define SOLVER_SOLVE_H_

#include <cstdint>
#include <string>
#include <vector>

#include "solver/Diagnostic.h"
#include "solver/MarkovChain.h"

namespace solver {

class Progress;

// What to compute for one generator run.
struct SolveOptions {
  std::string base;  // the run's file names without their suffixes
  double epsilon = 1e-10;
  double relative = 0.0;  // when positive, each value within this share of itself (epsilon a floor)
  // When not empty, replaces every time point: an instant for variables
  // taken at instants, the interval [0, t] for interval variables.
  std::vector<double> times;
  bool longRun = false;  // also the value in the long run of variables taken at times
  unsigned int maxPhases = 1024;
  std::uint64_t maxSteps = 100000000;
  unsigned threads = 1;          // for the products of large chains
  Progress* progress = nullptr;  // reports and stop requests, or none
};

// The kinds of reward variable, as coded in the ".pvtype" file.
enum class VariableKind {
  kInstant = 0,       // the expected rate reward at an instant
  kAccumulated = 1,   // the expected reward earned over an interval
  kAverage = 2,       // the same divided by the interval's length
  kLongRun = 3,       // the long-run time average
  kMeanTime = 4,      // the mean time until a condition first holds
  kProbabilityBy = 5  // the probability that the condition has held by an instant
};

// One value of a reward variable.
struct VariableValue {
  std::string variable;
  double time = 0.0;  // the instant, the end of the interval, or infinity (long run)
  Estimate estimate;
  VariableKind kind = VariableKind::kInstant;
  double start = 0.0;     // the start of an interval
  bool infinite = false;  // a mean time that is infinite
};

struct Solution {
  std::vector<std::string> notes;  // how the values were computed, one line each
  std::vector<VariableValue> values;
  // The variables refused, each with what is wrong: they have no values.
  std::vector<Diagnostic> refused;
  // Every error within the bound asked for; when false, the values carry
  // the errors reached.
  bool withinBound = true;
  // Stopped on request: values not finished carry the bounds reached.
  bool stopped = false;
  double epsilon = 0.0;  // the absolute bound used (raised where it could not be met)
};

// Reads the files of options.base and computes the values of each reward
// variable by its kind: at each of its time points, over each of its
// intervals, in the long run, or once (a mean time). A diagnostic says
// what is wrong with the files or what the solver cannot compute; a
// variable it cannot evaluate is refused in the solution, never given a
// value, and the others are solved.
Parsed<Solution> solve(const SolveOptions& options);

}  // namespace solver

#endif
