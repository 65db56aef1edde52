#include "solver/Measures.h"

#include "solver/FirstPassage.h"
#include "solver/Progress.h"
#include "solver/SteadyStateSolver.h"

namespace solver {

namespace {

bool transient(VariableKind kind) {
  return kind != VariableKind::kLongRun && kind != VariableKind::kMeanTime;
}

MeasureSettings measureSettings(const EvaluationSettings& settings) {
  MeasureSettings measure;
  measure.epsilon = settings.epsilon;
  measure.relative = settings.relative;
  measure.linear.maxIterations = settings.maxSteps;
  measure.linear.threads = settings.threads;
  measure.linear.progress = settings.progress;
  return measure;
}

void evaluateTransient(const MarkovChain& chain, const std::vector<MeasureRequest>& requests,
                       const EvaluationSettings& settings, Evaluation& result) {
  std::vector<TransientMeasure> measures;
  std::vector<std::size_t> which;
  std::vector<std::uint8_t> held;
  for (std::size_t r = 0; r < requests.size(); r++) {
    const MeasureRequest& request = requests[r];
    if (!transient(request.kind)) {
      continue;
    }
    if (request.kind == VariableKind::kAccumulated && request.start == request.stop) {
      // Nothing is earned over no time (asked with -t 0); as a measure of no
      // length it would read as the rate at that instant.
      result.estimates[r] = Estimate{};
      continue;
    }
    const bool instant =
        request.kind == VariableKind::kInstant || request.kind == VariableKind::kProbabilityBy;
    measures.push_back({request.variable, instant ? request.stop : request.start, request.stop,
                        request.kind == VariableKind::kAverage});
    which.push_back(r);
    if (request.kind == VariableKind::kProbabilityBy) {
      held.resize(chain.rewards.size(), 0);
      for (std::size_t s = 0; s < chain.size(); s++) {
        const std::size_t at = s * chain.numVariables + request.variable;
        held[at] = chain.rewards[at] == 1.0;
      }
    }
  }
  if (measures.empty()) {
    return;
  }
  TransientSettings transientSettings;
  transientSettings.epsilon = settings.epsilon;
  transientSettings.relative = settings.relative;
  transientSettings.maxSteps = settings.maxSteps;
  transientSettings.threads = settings.threads;
  transientSettings.progress = settings.progress;
  transientSettings.held = held.empty() ? nullptr : &held;
  const TransientResult found = transientMeasures(chain, measures, transientSettings);
  for (std::size_t m = 0; m < which.size(); m++) {
    result.estimates[which[m]] = found.estimates[m];
  }
  result.steps = found.steps;
  result.stopped = result.stopped || found.stopped;
}

void evaluateLongRun(const MarkovChain& chain, const std::vector<MeasureRequest>& requests,
                     const EvaluationSettings& settings, Evaluation& result) {
  bool any = false;
  for (const MeasureRequest& request : requests) {
    any = any || request.kind == VariableKind::kLongRun;
  }
  if (!any) {
    return;
  }
  const LongRunResult found = longRunRewards(chain, measureSettings(settings));
  for (std::size_t r = 0; r < requests.size(); r++) {
    if (requests[r].kind == VariableKind::kLongRun) {
      result.estimates[r] = found.estimates[requests[r].variable];
    }
  }
  result.longRunMethod = found.method;
}

void evaluateMeanTimes(const MarkovChain& chain, const std::vector<MeasureRequest>& requests,
                       const EvaluationSettings& settings, Evaluation& result) {
  for (std::size_t r = 0; r < requests.size(); r++) {
    if (requests[r].kind != VariableKind::kMeanTime) {
      continue;
    }
    const FirstPassage found =
        meanTimeToCondition(chain, requests[r].variable, measureSettings(settings));
    result.estimates[r] = found.estimate;
    result.infinite[r] = found.infinite;
    if (!found.infinite && found.method != "none needed") {
      result.meanTimeMethod = found.method;
    }
  }
}

}  // namespace

Evaluation evaluateMeasures(const MarkovChain& chain, const std::vector<MeasureRequest>& requests,
                            const EvaluationSettings& settings) {
  Evaluation result;
  result.estimates.resize(requests.size());
  result.infinite.assign(requests.size(), false);
  evaluateTransient(chain, requests, settings, result);
  evaluateLongRun(chain, requests, settings, result);
  evaluateMeanTimes(chain, requests, settings, result);
  result.stopped =
      result.stopped || (settings.progress != nullptr && settings.progress->stopRequested());
  return result;
}

}  // namespace solver
