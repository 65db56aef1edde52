#include "Cpp/BaseClasses/BaseGroupClass.h"

#include <cstdio>
#include <new>
#include <string>

#include "Cpp/BaseClasses/StandardErrors.h"
#include "Cpp/BaseClasses/UserDistributions.h"
#include "Cpp/BaseClasses/WeightTotal.h"

namespace {

BaseGroupClass* asGroup(BaseActionClass* action) { return dynamic_cast<BaseGroupClass*>(action); }

}  // namespace

BaseGroupClass::BaseGroupClass()
    : Members(nullptr),
      SelectedAction(nullptr),
      WeightDistribution(nullptr),
      MaxRank(0),
      NumMembers(0),
      NumWeightEntries(0),
      Capacity(0) {}

BaseGroupClass::BaseGroupClass(const char* name, int groupId, Distribution distribution,
                               ExecutionPolicyType policy, int numAffectArcs, int numEnableArcs,
                               bool reactivation)
    : BaseGroupClass() {
  BaseGroupClassInitialize(name, groupId, distribution, policy, numAffectArcs, numEnableArcs,
                           reactivation);
}

BaseGroupClass::BaseGroupClass(const char* name, int groupId, Distribution distribution,
                               ExecutionPolicyType policy, int numAffectArcs, int numEnableArcs,
                               bool reactivation, int capacity)
    : BaseGroupClass(name, groupId, distribution, policy, numAffectArcs, numEnableArcs,
                     reactivation) {
  enlargeArrays(capacity);
}

BaseGroupClass::~BaseGroupClass() {
  delete[] Members;
  delete[] WeightDistribution;
}

bool BaseGroupClass::Enabled() {
  bool any = false;
  for (int i = 0; i < NumMembers; i++) {
    any = Members[i]->Enabled() || any;
  }
  return any;
}

double BaseGroupClass::Weight() {
  return SelectedAction != nullptr ? SelectedAction->Weight() : 0.0;
}

double BaseGroupClass::Rate() { return SelectedAction != nullptr ? SelectedAction->Rate() : 0.0; }

double BaseGroupClass::SampleDistribution() {
  return SelectedAction != nullptr ? SelectedAction->SampleDistribution() : 0.0;
}

BaseActionClass* BaseGroupClass::Fire() {
  if (SelectedAction == nullptr) {
    return nullptr;
  }
  BaseActionClass* fired = SelectedAction->Fire();
  SelectedAction = nullptr;
  return fired;
}

int BaseGroupClass::Rank() { return SelectedAction != nullptr ? SelectedAction->Rank() : 0; }

bool BaseGroupClass::EnablingChange() {
  bool any = false;
  for (int i = 0; i < NumMembers; i++) {
    any = Members[i]->EnablingChange() || any;
  }
  return any;
}

bool BaseGroupClass::IsAMember(BaseActionClass* action) {
  for (int i = 0; i < NumMembers; i++) {
    if (Members[i] == action) {
      return true;
    }
  }
  return false;
}

double BaseGroupClass::Probability(BaseActionClass* action) {
  WeightTotal totalWeight;
  int highestRank = 0;
  BaseActionClass* holder = nullptr;
  const auto sumWeights = [&] {
    for (int i = 0; i < NumMembers; i++) {
      BaseActionClass* member = Members[i];
      if (member->Enabled()) {
        int rank = member->Rank();
        if (rank > highestRank) {
          highestRank = rank;
          totalWeight.clear();
        }
        if (rank == highestRank) {
          totalWeight.add(member->Weight());
        }
      }
      if (member == action || member->IsAMember(action)) {
        holder = member;
      }
    }
  };
  sumWeights();
  if (totalWeight.overflowed()) {
    totalWeight.rescale();
    sumWeights();
  }
  if (holder == nullptr || highestRank > holder->Rank()) {
    return 0.0;
  }
  if (totalWeight.empty()) {
    std::printf("BaseGroupClass::Probability() TotalWeight is zero.\n");
  }
  return totalWeight.share(holder->Weight()) * holder->Probability(action);
}

void BaseGroupClass::printEnablingState(std::ostream* os) {
  if (NumMembers > 0) {
    Members[0]->printEnablingState(os);
  } else {
    BaseActionClass::printEnablingState(os);
  }
}

BaseActionClass* BaseGroupClass::getPrintedAction() { return NumMembers > 0 ? Members[0] : this; }

bool BaseGroupClass::SelectAction() {
  double u = TheDistribution->rnd();
  double totalWeight = CalculateWeightDistribution();
  if (totalWeight < 0.0) {
    return false;
  }
  double x = u * totalWeight;
  // The first entry whose cumulative weight exceeds x; the last if none does.
  int low = 0;
  int high = NumWeightEntries - 1;
  while (low < high) {
    int mid = (low + high) / 2;
    if (WeightDistribution[mid].CumulativeWeight > x) {
      high = mid;
    } else {
      low = mid + 1;
    }
  }
  BaseActionClass* chosen = WeightDistribution[low].Action;
  BaseGroupClass* chosenGroup = asGroup(chosen);
  if (chosenGroup != nullptr) {
    chosenGroup->SelectAction();
    SelectedAction = chosenGroup->SelectedAction;
  } else {
    SelectedAction = chosen;
  }
  return true;
}

void BaseGroupClass::setGroupId(int id) {
  for (int i = 0; i < NumMembers; i++) {
    BaseGroupClass* group = asGroup(Members[i]);
    if (group != nullptr) {
      group->setGroupId(id);
    } else {
      Members[i]->GroupID = id;
    }
  }
}

void BaseGroupClass::initialize(int n, const char* name) {
  enlargeArrays(n);
  defineName(name);
  SelectedAction = nullptr;
  MaxRank = 0;
  NumWeightEntries = 0;
}

void BaseGroupClass::appendGroup(BaseGroupClass* member) {
  if (NumMembers >= Capacity) {
    enlargeArrays(Capacity + 1);
  }
  Members[NumMembers++] = member;
}

void BaseGroupClass::appendMembers(BaseGroupClass* other) {
  int count = NumMembers + other->NumMembers;
  if (count > Capacity) {
    enlargeArrays(count);
  }
  for (int i = 0; i < other->NumMembers; i++) {
    Members[NumMembers++] = other->Members[i];
  }
}

void BaseGroupClass::enlargeArrays(int n) {
  BaseActionClass** members = new (std::nothrow) BaseActionClass*[n > 0 ? n : 1]();
  WeightEntry* weights = new (std::nothrow) WeightEntry[n > 0 ? n : 1]();
  if (members == nullptr || weights == nullptr) {
    MemoryAllocationError();
  }
  if (NumMembers > n) {
    NumMembers = n;
  }
  for (int i = 0; i < NumMembers; i++) {
    members[i] = Members[i];
  }
  delete[] Members;
  delete[] WeightDistribution;
  Members = members;
  WeightDistribution = weights;
  NumWeightEntries = 0;
  Capacity = n;
}

void BaseGroupClass::setMember(BaseGroupClass* member, int i) {
  if (i < 0 || i >= NumMembers) {
    ArrayOutOfBoundsError("Array out of bounds (BaseGroupClass::setMember()");
    return;
  }
  Members[i] = member;
}

void BaseGroupClass::replaceMember(BaseActionClass* oldAction, BaseActionClass* newAction) {
  if (SelectedAction == oldAction) {
    SelectedAction = newAction;
  }
  for (int i = 0; i < NumMembers; i++) {
    if (Members[i] == oldAction) {
      Members[i] = newAction;
    }
  }
}

double BaseGroupClass::CalculateWeightDistribution() {
  int i = 0;
  while (i < NumMembers && !Members[i]->Enabled()) {
    Members[i++]->Disabled = true;
  }
  if (i == NumMembers) {
    return -1.0;
  }
  int last = 0;
  BaseActionClass* member = Members[i];
  MaxRank = member->Rank();
  member->Disabled = false;
  WeightDistribution[0] = {member->Weight(), member};
  for (i++; i < NumMembers; i++) {
    member = Members[i];
    if (!member->Enabled()) {
      member->Disabled = true;
      continue;
    }
    int rank = member->Rank();
    if (rank < MaxRank) {
      member->Disabled = true;
    } else if (rank == MaxRank) {
      member->Disabled = false;
      last++;
      WeightDistribution[last] = {WeightDistribution[last - 1].CumulativeWeight + member->Weight(),
                                  member};
    } else {
      // A higher rank outranks every member kept so far.
      MaxRank = rank;
      member->Disabled = false;
      last = 0;
      WeightDistribution[0] = {member->Weight(), member};
    }
  }
  NumWeightEntries = last + 1;
  return WeightDistribution[last].CumulativeWeight;
}

void BaseGroupClass::BaseGroupClassInitialize(const char* name, int groupId,
                                              Distribution distribution, ExecutionPolicyType policy,
                                              int numAffectArcs, int numEnableArcs,
                                              bool reactivation) {
  BaseActionClassInitialize(name, groupId, distribution, policy, numAffectArcs, numEnableArcs,
                            reactivation);
}

void BaseGroupClass::PrintInfo() {
  std::cout << "************ Group: " << Name << " ****************" << std::endl;
  std::cout << "Contains the following actions:" << std::endl;
  for (int i = 0; i < NumMembers; i++) {
    std::cout << "  " << Members[i]->Name << std::endl;
  }
  std::cout << "Selected Action = " << (SelectedAction != nullptr ? SelectedAction->Name : "none")
            << std::endl;
}

void BaseGroupClass::printGroup() {
  std::cout << "** Members of Group " << Name << std::endl;
  printGroup("", 0);
}

void BaseGroupClass::printGroup(const char* prefix, int indent) {
  for (int i = 0; i < NumMembers; i++) {
    std::cout << std::string(indent, ' ') << "[" << prefix << i << "] " << Members[i]->Name
              << std::endl;
    BaseGroupClass* group = asGroup(Members[i]);
    if (group != nullptr && group->NumMembers > 1) {
      std::string nested = prefix + std::to_string(i) + ".";
      group->printGroup(nested.c_str(), indent + 2);
    }
  }
}
