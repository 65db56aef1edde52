#include "Cpp/BaseClasses/Activity.h"

#include <cstdlib>
#include <iostream>

namespace {

[[noreturn]] void undefined(const char* activity, const char* operation) {
  std::cerr << "Error: activity " << activity << " does not define " << operation << std::endl;
  std::exit(1);
}

}  // namespace

// Disabled and Reactivation keep the action defaults (true, false).
Activity::Activity() : NewEnabled(false), OldEnabled(false) { SelectedAction = this; }

Activity::Activity(const char* name, int groupId, Distribution distribution,
                   ExecutionPolicyType policy, int numAffectArcs, int numEnableArcs,
                   bool reactivation)
    : Activity() {
  ActivityInitialize(name, groupId, distribution, policy, numAffectArcs, numEnableArcs,
                     reactivation);
}

double Activity::Weight() { undefined(Name, "Weight()"); }

double Activity::Rate() { undefined(Name, "Rate()"); }

int Activity::Rank() { undefined(Name, "Rank()"); }

double Activity::SampleDistribution() { undefined(Name, "SampleDistribution()"); }

bool Activity::EnablingChange() {
  Enabled();
  return NewEnabled != OldEnabled;
}

double Activity::Probability(BaseActionClass* action) { return action == this ? 1.0 : 0.0; }

bool Activity::SelectAction() { return Enabled(); }

void Activity::setGroupId(int id) { GroupID = id; }

void Activity::ActivityInitialize(const char* name, int groupId, Distribution distribution,
                                  ExecutionPolicyType policy, int numAffectArcs, int numEnableArcs,
                                  bool reactivation) {
  BaseGroupClassInitialize(name, groupId, distribution, policy, numAffectArcs, numEnableArcs,
                           reactivation);
}

bool Activity::IsAnAffectingStateVariable(BaseStateVariableClass* sv) {
  return AffectedSVs.contains(sv);
}
