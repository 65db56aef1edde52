#include "Cpp/BaseClasses/PreselectGroup.h"

PreselectGroup::PreselectGroup() : SelectionPending(true) {}

PreselectGroup::PreselectGroup(int n) : SelectionPending(true) { enlargeArrays(n); }

bool PreselectGroup::SelectAction() {
  SelectionPending = !BaseGroupClass::SelectAction();
  return !SelectionPending;
}

bool PreselectGroup::Enabled() {
  current();
  return BaseGroupClass::Enabled();
}

bool PreselectGroup::ReactivationPredicate() {
  BaseActionClass* selected = current();
  return selected != nullptr && selected->ReactivationPredicate();
}

bool PreselectGroup::ReactivationFunction() {
  BaseActionClass* selected = current();
  return selected != nullptr && selected->ReactivationFunction();
}

double PreselectGroup::SampleDistribution() {
  BaseActionClass* selected = current();
  return selected != nullptr ? selected->SampleDistribution() : 0.0;
}

int PreselectGroup::Rank() {
  BaseActionClass* selected = current();
  return selected != nullptr ? selected->Rank() : 0;
}

BaseActionClass* PreselectGroup::Fire() {
  SelectionPending = true;
  return SelectedAction != nullptr ? SelectedAction->Fire() : nullptr;
}

BaseActionClass* PreselectGroup::current() {
  if (SelectionPending) {
    SelectAction();
  }
  return SelectedAction;
}
