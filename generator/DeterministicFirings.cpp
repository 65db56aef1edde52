#include "generator/DeterministicFirings.h"

#include <algorithm>
#include <tuple>

#include "Cpp/BaseClasses/BaseActionClass.h"
#include "Cpp/BaseClasses/BaseGroupClass.h"
#include "generator/ReachedStates.h"

std::vector<const BaseGroupClass*> DeterministicActivities(BaseActionClass* const* actions,
                                                           unsigned int numActions,
                                                           BaseGroupClass* const* groups) {
  std::vector<const BaseGroupClass*> activities;
  for (unsigned int i = 0; i < numActions; i++) {
    const BaseGroupClass* group = groups[actions[i]->GroupID];
    if (actions[i]->DistributionType == Deterministic &&
        std::find(activities.begin(), activities.end(), group) == activities.end()) {
      activities.push_back(group);
    }
  }
  return activities;
}

DeterministicFirings::DeterministicFirings(BaseActionClass* const* actions, unsigned int numActions,
                                           BaseGroupClass* const* groups)
    : Groups(groups), Activities(DeterministicActivities(actions, numActions, groups)) {
  for (size_t i = 0; i < Activities.size(); i++) {
    Numbers.emplace(Activities[i], i + 1);
  }
}

bool DeterministicFirings::Open(const char* name, std::optional<int> compression) {
  if (!File.open(name, compression)) {
    return false;
  }
  File.put("Activities:");
  File.putUnsigned(Activities.size());
  File.put('\n');
  for (size_t i = 0; i < Activities.size(); i++) {
    File.putUnsigned(i + 1);
    File.put(' ');
    File.put(Activities[i]->Name);
    File.put('\n');
  }
  return true;
}

void DeterministicFirings::Fired(const BaseActionClass* action, double delay, size_t first,
                                 const ReachedStates& reached) {
  const unsigned int activity = Numbers.at(Groups[action->GroupID]);
  for (size_t i = first; i < reached.size(); i++) {
    // The reached list holds the negated probability of each outcome.
    Pending.push_back(Outcome{activity, delay, i, -reached.value(i)});
  }
}

void DeterministicFirings::Numbered(size_t index, unsigned long number) {
  if (NumberOfReached.size() <= index) {
    NumberOfReached.resize(index + 1);
  }
  NumberOfReached[index] = number;
}

void DeterministicFirings::WriteState(unsigned long state) {
  for (Outcome& outcome : Pending) {
    outcome.target = NumberOfReached[outcome.target];
  }
  const auto key = [](const Outcome& o) { return std::tie(o.activity, o.delay, o.target); };
  std::sort(Pending.begin(), Pending.end(),
            [&key](const Outcome& a, const Outcome& b) { return key(a) < key(b); });
  for (size_t i = 0; i < Pending.size();) {
    // Paths of one firing that end in one state make one outcome.
    double probability = 0.0;
    size_t j = i;
    for (; j < Pending.size() && key(Pending[j]) == key(Pending[i]); j++) {
      probability += Pending[j].probability;
    }
    File.putUnsigned(state);
    File.put(' ');
    File.putUnsigned(Pending[i].activity);
    File.put(' ');
    File.putScientific(Pending[i].delay);
    File.put(' ');
    File.putUnsigned(Pending[i].target);
    File.put(' ');
    File.putScientific(probability);
    File.put('\n');
    i = j;
  }
  Pending.clear();
  NumberOfReached.clear();
}
