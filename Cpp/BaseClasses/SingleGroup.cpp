#include "Cpp/BaseClasses/SingleGroup.h"

#include "Cpp/BaseClasses/StandardErrors.h"

SingleGroup::SingleGroup() : Action(nullptr), NewEnabled(0), OldEnabled(0) {}

SingleGroup::SingleGroup(BaseGroupClass* group) : SingleGroup() {
  defineName(group->Name);
  SetAction(group);
}

bool SingleGroup::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = Action->Enabled();
  return NewEnabled != 0;
}

bool SingleGroup::EnablingChange() { return NewEnabled != OldEnabled; }

double SingleGroup::Probability(BaseActionClass* action) { return action == Action ? 1.0 : 0.0; }

double SingleGroup::Weight() { return Action->Weight(); }

double SingleGroup::Rate() { return Action->Rate(); }

int SingleGroup::Rank() { return Action->Rank(); }

BaseActionClass* SingleGroup::Fire() { return Action->Fire(); }

double SingleGroup::SampleDistribution() { return Action->SampleDistribution(); }

bool SingleGroup::ReactivationPredicate() { return Action->ReactivationPredicate(); }

bool SingleGroup::ReactivationFunction() { return Action->ReactivationFunction(); }

bool SingleGroup::SelectAction() {
  InconsistantState();
  if (!Action->Enabled()) {
    return false;
  }
  SelectedAction = Action;
  Action->Disabled = false;
  Disabled = false;
  ExecutionPolicy = Action->ExecutionPolicy;
  Reactivation = Action->Reactivation;
  return true;
}

void SingleGroup::SetAction(BaseActionClass* action) {
  if (Capacity < 1) {
    enlargeArrays(1);
  }
  Action = action;
  Members[0] = action;
  NumMembers = 1;
}

EmptyGroup::EmptyGroup() {
  defineName("ImmediateGroup");
  GroupID = 0;
}

bool EmptyGroup::Enabled() { return false; }

bool EmptyGroup::ReactivationPredicate() { return false; }

bool EmptyGroup::ReactivationFunction() { return false; }

bool EmptyGroup::EnablingChange() { return false; }

double EmptyGroup::Weight() { return 0.0; }

double EmptyGroup::Rate() { return 0.0; }

double EmptyGroup::SampleDistribution() { return 0.0; }

double EmptyGroup::Probability(BaseActionClass*) { return 0.0; }

int EmptyGroup::Rank() { return 0; }

BaseActionClass* EmptyGroup::Fire() { return nullptr; }

bool EmptyGroup::SelectAction() {
  InconsistantState();
  return false;
}

void EmptyGroup::SetAction(BaseActionClass*) {}
