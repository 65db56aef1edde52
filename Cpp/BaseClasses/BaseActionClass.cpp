#include "Cpp/BaseClasses/BaseActionClass.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "Cpp/BaseClasses/StandardErrors.h"
#include "Cpp/BaseClasses/state/BaseStateVariableClass.h"

int BaseActionClass::MaxID = 0;

namespace {

char* copyName(const char* name) {
  char* copy = new (std::nothrow) char[std::strlen(name) + 1];
  if (copy == nullptr) {
    MemoryAllocationError();
  }
  return std::strcpy(copy, name);
}

[[noreturn]] void allocationFailed(const char* where) {
  std::cerr << "!! Memory allocation error in BaseActionClass::" << where << std::endl;
  std::exit(1);
}

void printNames(List<BaseStateVariableClass>& svs) {
  for (int i = 0; i < svs.getNumItems(); i++) {
    std::cout << "           " << svs[i]->Name << std::endl;
  }
}

void printStates(List<BaseStateVariableClass>& svs, std::ostream* os) {
  for (int i = 0; i < svs.getNumItems(); i++) {
    svs[i]->printState(os);
  }
}

}  // namespace

BaseActionClass::BaseActionClass()
    : GroupID(0),
      ExecutionPolicy(RaceEnabled),
      Disabled(true),
      Reactivation(false),
      Name(copyName("default")),
      Fired(false),
      DistributionType(Exponential),
      OwnerModel(nullptr),
      PVImpulseIndices(nullptr),
      PVImpulseWorkers(nullptr),
      PVImpulseWorkerCounts(nullptr),
      PVRateWorkers(nullptr),
      Phase(1),
      ActionID(MaxID++) {}

BaseActionClass::BaseActionClass(const char* name, int groupId, Distribution distribution,
                                 ExecutionPolicyType policy, int numAffectArcs, int numEnableArcs,
                                 bool reactivation)
    : BaseActionClass() {
  BaseActionClassInitialize(name, groupId, distribution, policy, numAffectArcs, numEnableArcs,
                            reactivation);
}

BaseActionClass::~BaseActionClass() { delete[] Name; }

bool BaseActionClass::isSync() { return false; }

bool BaseActionClass::Enabled() { return false; }

double BaseActionClass::Weight() { return 0.0; }

double BaseActionClass::Rate() { return 0.0; }

bool BaseActionClass::ReactivationPredicate() { return false; }

bool BaseActionClass::ReactivationFunction() { return false; }

double BaseActionClass::SampleDistribution() { return 0.0; }

double* BaseActionClass::ReturnDistributionParameters() { return nullptr; }

void BaseActionClass::SetFired(int fired) { Fired = fired != 0; }

BaseActionClass* BaseActionClass::Fire() { return nullptr; }

int BaseActionClass::Rank() { return 0; }

bool BaseActionClass::EnablingChange() { return false; }

bool BaseActionClass::IsAMember(BaseActionClass* action) { return action == this; }

void BaseActionClass::EnablingNeeds(std::vector<TokenNeed>&) {}

double BaseActionClass::Probability(BaseActionClass*) { return 1.0; }

void BaseActionClass::printAffectedState(std::ostream* os) { printStates(AffectedSVs, os); }

void BaseActionClass::printEnablingState(std::ostream* os) { printStates(EnablingSVs, os); }

BaseActionClass* BaseActionClass::getPrintedAction() { return this; }

double BaseActionClass::ErlangParamM() { return 1.0; }

void BaseActionClass::BaseActionClassInitialize(const char* name, int groupId,
                                                Distribution distribution,
                                                ExecutionPolicyType policy, int, int,
                                                bool reactivation) {
  defineName(name);
  GroupID = groupId;
  DistributionType = distribution;
  ExecutionPolicy = policy;
  Reactivation = reactivation;
}

char* BaseActionClass::defineName(const char* name) {
  char* copy = copyName(name);
  delete[] Name;
  Name = copy;
  return Name;
}

void BaseActionClass::PrintInfo() {
  std::cout << "********* " << Name << "**********" << std::endl;
  std::cout << std::endl;
  std::cout << "Enabled by:" << std::endl;
  printNames(EnablingSVs);
  std::cout << "Affects:" << std::endl;
  printNames(AffectedSVs);
  std::cout << "Group ID = " << GroupID << std::endl;
  std::cout << "Execution Policy = " << ExecutionPolicy << std::endl;
  std::cout << "Disabled = " << Disabled << std::endl;
  std::cout << "Reactivation = " << Reactivation << std::endl;
  std::cout << "DistributionType = " << DistributionType << std::endl;
}

void BaseActionClass::addEnablingSV(BaseStateVariableClass* sv) {
  if (sv->isLeafNode()) {
    EnablingSVs.append(sv);
  } else {
    sv->addSelfAsEnablingSVToAction(this);
  }
}

void BaseActionClass::removeEnablingSV(BaseStateVariableClass* sv) {
  if (sv->isLeafNode()) {
    EnablingSVs.remove(sv);
  } else {
    sv->removeSelfFromEnablingSVOfAction(this);
  }
}

void BaseActionClass::addAffectedSV(BaseStateVariableClass* sv) {
  if (sv->isLeafNode()) {
    AffectedSVs.append(sv);
  } else {
    sv->addSelfAsAffectedSVToAction(this);
  }
}

void BaseActionClass::removeAffectedSV(BaseStateVariableClass* sv) {
  if (sv->isLeafNode()) {
    AffectedSVs.remove(sv);
  } else {
    sv->removeSelfFromAffectedSVOfAction(this);
  }
}

void BaseActionClass::AllocatePVRateDS(int numPVs) {
  PVRateWorkers = new (std::nothrow) FastSet[numPVs];
  if (PVRateWorkers == nullptr) {
    allocationFailed("AllocatePVRateDS()");
  }
}

void BaseActionClass::AllocatePVImpulseDS(int numPVs) {
  PVImpulseIndices = new (std::nothrow) FastSet[numPVs];
  PVImpulseWorkers = new (std::nothrow) int**[numPVs]();
  PVImpulseWorkerCounts = new (std::nothrow) int*[numPVs]();
  if (PVImpulseIndices == nullptr || PVImpulseWorkers == nullptr ||
      PVImpulseWorkerCounts == nullptr) {
    DeallocatePVImpulseDS();
    allocationFailed("AllocatePVImpulseDS()");
  }
}

void BaseActionClass::DeallocatePVRateDS() {
  delete[] PVRateWorkers;
  PVRateWorkers = nullptr;
}

void BaseActionClass::DeallocatePVImpulseDS() {
  delete[] PVImpulseIndices;
  delete[] PVImpulseWorkers;
  delete[] PVImpulseWorkerCounts;
  PVImpulseIndices = nullptr;
  PVImpulseWorkers = nullptr;
  PVImpulseWorkerCounts = nullptr;
}
