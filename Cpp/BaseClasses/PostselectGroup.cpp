#include "Cpp/BaseClasses/PostselectGroup.h"

PostselectGroup::PostselectGroup() {}

PostselectGroup::PostselectGroup(int n) {
  enlargeArrays(n);
  NumMembers = n;
}

double PostselectGroup::Weight() { return 1.0; }

int PostselectGroup::Rank() { return 1; }

BaseActionClass* PostselectGroup::Fire() {
  if (!SelectAction()) {
    return nullptr;
  }
  return BaseGroupClass::Fire();
}

bool PostselectGroup::ReactivationPredicate() {
  return NumMembers > 0 && Members[0]->ReactivationPredicate();
}

bool PostselectGroup::ReactivationFunction() {
  return NumMembers > 0 && Members[0]->ReactivationFunction();
}

double PostselectGroup::SampleDistribution() {
  return NumMembers > 0 ? Members[0]->SampleDistribution() : 0.0;
}
