#include "solver/ProductOfParts.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "solver/SteadyStateSolver.h"

namespace solver {

namespace {

// A part above this many states would need too many indicators.
const std::size_t kMaxPartStates = 4096;

// Whether the part moves only by its delays in some closed class: then
// its state may follow a fixed period.
bool movesOnlyByDelays(const DeterministicProcess& process) {
  const MarkovChain& exponential = process.exponential;
  std::size_t numBottom = 0;
  const std::vector<std::int64_t> bottom = bottomComponents(movesOf(process), numBottom);
  std::vector<bool> timed(numBottom, false);
  for (std::size_t x = 0; x < exponential.size(); x++) {
    if (bottom[x] >= 0 && exponential.rowStart[x + 1] > exponential.rowStart[x]) {
      timed[static_cast<std::size_t>(bottom[x])] = true;
    }
  }
  return std::find(timed.begin(), timed.end(), false) != timed.end();
}

}  // namespace

std::string partsRefusal(const std::vector<ProcessPart>& parts,
                         const std::vector<MeasureRequest>& requests) {
  std::size_t periodic = 0;
  for (const ProcessPart& part : parts) {
    if (part.process.exponential.size() > kMaxPartStates) {
      return "a part has " + std::to_string(part.process.exponential.size()) +
             " states, more than the " + std::to_string(kMaxPartStates) + " solved apart";
    }
    periodic += movesOnlyByDelays(part.process) ? 1 : 0;
  }
  const bool longRun =
      std::any_of(requests.begin(), requests.end(),
                  [](const MeasureRequest& r) { return r.kind == VariableKind::kLongRun; });
  if (longRun && periodic > 1) {
    return "two of its parts move only by fixed delays in the long run and may keep in step";
  }
  return "";
}

std::vector<MeasureRequest> indicatorRequests(ProcessPart& part,
                                              const std::vector<MeasureRequest>& requests) {
  MarkovChain& exponential = part.process.exponential;
  const std::size_t n = exponential.size();
  exponential.numVariables = n;
  exponential.rewards.assign(n * n, 0.0);
  for (std::size_t x = 0; x < n; x++) {
    exponential.rewards[x * n + x] = 1.0;
  }
  std::vector<MeasureRequest> indicators;
  for (const MeasureRequest& request : requests) {
    for (std::size_t x = 0; x < n; x++) {
      indicators.push_back({x, request.kind, request.start, request.stop});
    }
  }
  return indicators;
}

std::vector<Estimate> productOfParts(const std::vector<ProcessPart>& parts,
                                     const std::vector<Evaluation>& shares,
                                     const std::vector<double>& rewards,
                                     std::size_t numVariables,
                                     const std::vector<MeasureRequest>& requests) {
  const std::size_t numStates = parts.front().stateOf.size();
  std::vector<Estimate> values;
  for (std::size_t r = 0; r < requests.size(); r++) {
    double error = 0.0;  // of the products, in all
    for (std::size_t g = 0; g < parts.size(); g++) {
      const std::size_t n = parts[g].process.exponential.size();
      double partError = 0.0;
      for (std::size_t x = 0; x < n; x++) {
        partError += shares[g].estimates[r * n + x].error;
      }
      error += partError + error * partError;
    }
    Estimate estimate;
    double magnitude = 0.0;
    double largest = 0.0;
    for (std::size_t s = 0; s < numStates; s++) {
      double probability = 1.0;
      for (std::size_t g = 0; g < parts.size(); g++) {
        const std::size_t n = parts[g].process.exponential.size();
        probability *= shares[g].estimates[r * n + parts[g].stateOf[s]].value;
      }
      const double reward = rewards[s * numVariables + requests[r].variable];
      estimate.value += probability * reward;
      magnitude += std::fabs(probability * reward);
      largest = std::max(largest, std::fabs(reward));
    }
    estimate.rounding = static_cast<double>(numStates + parts.size()) * DBL_EPSILON * magnitude;
    estimate.error = error * largest + estimate.rounding;
    values.push_back(estimate);
  }
  return values;
}

}  // namespace solver
