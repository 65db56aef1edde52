#include "generator/ImpulseRewards.h"

#include <algorithm>
#include <cerrno>

#include "Cpp/BaseClasses/BaseActionClass.h"
#include "Cpp/BaseClasses/BaseGroupClass.h"
#include "Cpp/BaseClasses/FastSet.h"
#include "Cpp/BaseClasses/PVModel.h"
#include "Cpp/BaseClasses/PerformanceVariableNode.h"
#include "generator/DeterministicFirings.h"

bool ImpulseRewards::Defined(const PVModel& model) {
  for (int p = 0; p < model.NumPVs; p++) {
    if (model.PVList[p]->NumImpulses > 0) {
      return true;
    }
  }
  return false;
}

ImpulseRewards::ImpulseRewards(PVModel* model, BaseActionClass* const* actions,
                               unsigned int numActions, BaseGroupClass* const* groups)
    : Model(model), Groups(groups), Path(1), RateSums(model->NumPVs, 0.0) {
  const std::vector<const BaseGroupClass*> activities =
      DeterministicActivities(actions, numActions, groups);
  for (size_t i = 0; i < activities.size(); i++) {
    ActivityNumbers.emplace(activities[i], i + 1);
  }
  Path[0].assign(model->NumPVs, 0.0);
}

bool ImpulseRewards::Open(const char* name, std::optional<int> compression) {
  if (!File.open(name, compression)) {
    return false;
  }
  File.put("Version:1\nNumPV:");
  File.putSigned(Model->NumPVs);
  File.put('\n');
  for (int p = 0; p < Model->NumPVs; p++) {
    const PerformanceVariableNode* node = Model->PVList[p];
    if (node->Name == nullptr) {
      File.setFailed(EINVAL);
      break;
    }
    File.put(node->Name);
    File.put(node->NumImpulses > 0 ? "\n1\n" : "\n0\n");
  }
  return true;
}

void ImpulseRewards::Fired(BaseActionClass* action, int depth) {
  if (action->DistributionType == Instantaneous) {
    extendPath(depth, action);
    return;
  }
  extendPath(-1, action);
  Target = action->DistributionType == Deterministic ? activitySums(action) : -1;
}

void ImpulseRewards::extendPath(int from, BaseActionClass* action) {
  if (static_cast<size_t>(from + 1) >= Path.size()) {
    Path.resize(from + 2, std::vector<double>(Model->NumPVs, 0.0));
  }
  std::vector<double>& impulses = Path[from + 1];
  if (from >= 0) {
    impulses = Path[from];
  } else {
    std::fill(impulses.begin(), impulses.end(), 0.0);
  }
  // Most firings earn nothing: only the variables the action earns count.
  FastSet& earning = action->AffectedNodesByImpulseReward;
  for (int k = 0; k < earning.size(); k++) {
    impulses[earning[k]] += Model->PVList[earning[k]]->ImpulseOf(action);
  }
}

long ImpulseRewards::activitySums(BaseActionClass* action) {
  const unsigned int activity = ActivityNumbers.at(Groups[action->GroupID]);
  const auto sums =
      std::find_if(ActivitySums.begin(), ActivitySums.end(),
                   [&](const DeterministicSums& entry) { return entry.activity == activity; });
  if (sums != ActivitySums.end()) {
    return sums - ActivitySums.begin();
  }
  ActivitySums.push_back({activity, action->ReturnDistributionParameters()[0],
                          std::vector<double>(Model->NumPVs, 0.0)});
  return static_cast<long>(ActivitySums.size()) - 1;
}

void ImpulseRewards::PhaseStep() {
  std::fill(Path[0].begin(), Path[0].end(), 0.0);
  Target = -1;
}

void ImpulseRewards::Reached(int depth, double value) {
  // A deterministic firing's value is minus the probability of the path.
  std::vector<double>& sums = Target < 0 ? RateSums : ActivitySums[Target].impulses;
  const double weight = Target < 0 ? value : -value;
  for (size_t p = 0; p < sums.size(); p++) {
    sums[p] += weight * Path[depth][p];
  }
}

void ImpulseRewards::WriteState(unsigned long state) {
  File.putUnsigned(state);
  File.put('\n');
  putValues(RateSums);
  std::fill(RateSums.begin(), RateSums.end(), 0.0);
  std::sort(ActivitySums.begin(), ActivitySums.end(),
            [](const DeterministicSums& a, const DeterministicSums& b) {
              return a.activity < b.activity;
            });
  File.putUnsigned(ActivitySums.size());
  File.put('\n');
  for (const DeterministicSums& sums : ActivitySums) {
    File.putUnsigned(sums.activity);
    File.put('\n');
    File.putScientific(sums.delay);
    File.put('\n');
    putValues(sums.impulses);
  }
  ActivitySums.clear();
}

void ImpulseRewards::putValues(const std::vector<double>& values) {
  for (double value : values) {
    File.putScientific(value);
    File.put('\n');
  }
}
