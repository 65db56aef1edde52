#include "solver/LongRunByParts.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

#include "solver/EmbeddedChain.h"
#include "solver/SteadyStateSolver.h"

namespace solver {

namespace {

// A part above this many states would need too many indicators.
const std::size_t kMaxPartStates = 4096;

// Whether the part moves only by its delays in some closed class: then
// its state may follow a fixed period, and two such parts keep in step.
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

// The part's long-run distribution, each share within the settings' bound.
std::vector<Estimate> distribution(DeterministicProcess& process,
                                   const EvaluationSettings& settings, double cycleTruncation,
                                   std::string& method) {
  MarkovChain& exponential = process.exponential;
  const std::size_t n = exponential.size();
  exponential.numVariables = n;
  exponential.rewards.assign(n * n, 0.0);
  std::vector<MeasureRequest> requests;
  for (std::size_t x = 0; x < n; x++) {
    exponential.rewards[x * n + x] = 1.0;
    requests.push_back({x, VariableKind::kLongRun, 0.0, INFINITY});
  }
  const Evaluation found =
      process.firings.empty()
          ? evaluateMeasures(exponential, requests, settings)
          : evaluateMeasures(embeddedChain(process, cycleTruncation, settings.maxSteps), requests,
                             settings);
  method = found.longRunMethod.empty() ? method : found.longRunMethod;
  return found.estimates;
}

}  // namespace

std::variant<Evaluation, std::string> longRunByParts(std::vector<ProcessPart>& parts,
                                                     const std::vector<double>& rewards,
                                                     std::size_t numVariables,
                                                     const std::vector<MeasureRequest>& requests,
                                                     const EvaluationSettings& settings,
                                                     double cycleTruncation) {
  std::size_t periodic = 0;
  std::size_t partStates = 0;
  for (const ProcessPart& part : parts) {
    if (part.process.exponential.size() > kMaxPartStates) {
      return "a part has " + std::to_string(part.process.exponential.size()) +
             " states, more than the " + std::to_string(kMaxPartStates) + " solved apart";
    }
    periodic += movesOnlyByDelays(part.process) ? 1 : 0;
    partStates += part.process.exponential.size();
  }
  if (periodic > 1) {
    return std::string(
        "two of its parts move only by fixed delays in the long run and may keep in step");
  }
  double largest = DBL_MIN;
  for (const MeasureRequest& request : requests) {
    for (std::size_t s = 0; s < parts.front().stateOf.size(); s++) {
      largest = std::max(largest, std::fabs(rewards[s * numVariables + request.variable]));
    }
  }
  EvaluationSettings inner = settings;
  inner.epsilon = settings.epsilon / (4 * largest * static_cast<double>(partStates));
  inner.relative = 0.0;
  Evaluation result;
  std::vector<std::vector<Estimate>> shares;
  double error = 0.0;  // of the products, in all
  for (ProcessPart& part : parts) {
    shares.push_back(distribution(part.process, inner, cycleTruncation, result.longRunMethod));
    double partError = 0.0;
    for (const Estimate& share : shares.back()) {
      partError += share.error;
    }
    error += partError + error * partError;
  }
  const std::size_t numStates = parts.front().stateOf.size();
  for (const MeasureRequest& request : requests) {
    Estimate estimate;
    double magnitude = 0.0;
    double most = 0.0;  // the largest reward
    for (std::size_t s = 0; s < numStates; s++) {
      double probability = 1.0;
      for (std::size_t g = 0; g < parts.size(); g++) {
        probability *= shares[g][parts[g].stateOf[s]].value;
      }
      const double reward = rewards[s * numVariables + request.variable];
      const double term = probability * reward;
      most = std::max(most, std::fabs(reward));
      estimate.value += term;
      magnitude += std::fabs(term);
    }
    estimate.rounding = static_cast<double>(numStates + parts.size()) * DBL_EPSILON * magnitude;
    estimate.error = error * most + estimate.rounding;
    result.estimates.push_back(estimate);
  }
  result.infinite.assign(requests.size(), false);
  return result;
}

}  // namespace solver
