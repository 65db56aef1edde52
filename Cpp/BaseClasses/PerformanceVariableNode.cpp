#include "Cpp/BaseClasses/PerformanceVariableNode.h"

#include <cstdlib>
#include <cstring>
#include <iostream>

#include "Cpp/BaseClasses/Allocate.h"
#include "Cpp/BaseClasses/BaseActionClass.h"
#include "Cpp/BaseClasses/BaseModelClass.h"
#include "Cpp/BaseClasses/FrameworkAssert.h"
#include "Cpp/BaseClasses/ImpulseNodeClass.h"
#include "Cpp/BaseClasses/List.h"
#include "Cpp/BaseClasses/PerformanceVariableWorker.h"
#include "Cpp/BaseClasses/StandardErrors.h"
#include "common/PrintableText.h"

int PerformanceVariableNode::the_id = 0;

namespace {

const char* const kFile = "PerformanceVariableNode.cpp";

char* copyName(const char* name) {
  char* copy = newArray<char>(static_cast<int>(std::strlen(name)) + 1);
  return std::strcpy(copy, name);
}

char* dupName(const char* name) {
  char* copy = strdup(name);
  if (copy == nullptr) {
    MemoryAllocationError();
  }
  return copy;
}

double* copyTimes(const double* times, int n) {
  double* copy = newArray<double>(n);
  for (int t = 0; t < n; t++) {
    copy[t] = times[t];
  }
  return copy;
}

bool containsName(char* const* names, int n, const char* name) {
  for (int k = 0; k < n; k++) {
    if (std::strcmp(names[k], name) == 0) {
      return true;
    }
  }
  return false;
}

int countInstances(BaseModelClass* top, const char* name) {
  List<BaseModelClass> instances;
  top->listModels(name, &instances);
  return instances.getNumItems();
}

// The most combinations of instances one reward is evaluated over: each
// takes a worker, and the counts of repeated models multiply.
const long kMaxCombinations = 1L << 20;

// combinations times the instances of model; ends the run when the product
// passes kMaxCombinations.
int moreCombinations(int combinations, int instances, const char* variable, const char* model) {
  const long product = static_cast<long>(combinations) * instances;
  if (product > kMaxCombinations) {
    std::cerr << "Error: reward variable " << printable(variable != nullptr ? variable : "")
              << " would be evaluated over more than " << kMaxCombinations
              << " combinations of instances (with the " << instances << " instances of "
              << printable(model != nullptr ? model : "") << ")" << std::endl;
    std::exit(1);
  }
  return static_cast<int>(product);
}

// Membership in a frozen set, which keeps its elements ascending.
bool frozenContains(FastSet& set, int x) {
  int low = 0;
  int high = set.size() - 1;
  while (low <= high) {
    int mid = low + (high - low) / 2;
    if (set[mid] == x) {
      return true;
    }
    if (set[mid] < x) {
      low = mid + 1;
    } else {
      high = mid - 1;
    }
  }
  return false;
}

// The composed model lacks a submodel the reward function reads: the
// generated code does not fit the model it was built with.
[[noreturn]] void reportMissingModel(const char* modelName, int count, BaseModelClass* top) {
  std::cerr << "Number of " << modelName << "'s was " << count << ".  Model cannot be created.\n"
            << std::flush;
  if (top->Name != nullptr) {
    std::cerr << "Model Name was: " << top->Name << "\n.";
  } else {
    std::cerr << "Model Name was: NULL\n";
  }
  std::cerr.flush();
  std::exit(1);
}

}  // namespace

ModelGroupClass::ModelGroupClass() : Models(nullptr), NumModels(0) {}

ModelGroupClass::~ModelGroupClass() { delete[] Models; }

void ModelGroupClass::CreateModelList(int n) {
  delete[] Models;
  Models = newArray<BaseModelClass*>(n);
  NumModels = n;
}

bool ModelGroupClass::IsDependentOnModel(const BaseModelClass* model) const {
  for (int i = 0; i < NumModels; i++) {
    if (Models[i] == model) {
      return true;
    }
  }
  return false;
}

VarModelPairClass::VarModelPairClass() : ModelName(nullptr), VariableName(nullptr) {}

VarModelPairClass::~VarModelPairClass() {
  std::free(ModelName);
  std::free(VariableName);
}

void VarModelPairClass::SetPair(const char* variableName, const char* modelName) {
  std::free(ModelName);
  std::free(VariableName);
  ModelName = dupName(modelName);
  VariableName = dupName(variableName);
}

ActionModelPairClass::ActionModelPairClass() : ModelName(nullptr), ActionName(nullptr) {}

ActionModelPairClass::~ActionModelPairClass() {
  delete[] ModelName;
  delete[] ActionName;
}

void ActionModelPairClass::SetPair(const char* actionName, const char* modelName) {
  SetActionName(actionName);
  delete[] ModelName;
  ModelName = copyName(modelName);
}

void ActionModelPairClass::SetActionName(const char* actionName) {
  delete[] ActionName;
  ActionName = copyName(actionName);
}

PerformanceVariableNode::PerformanceVariableNode()
    : TopModelRef(nullptr),
      Name(nullptr),
      RateReward(0.0),
      StartTime(-1.0),
      StopTime(-1.0),
      NumTimePoints(0),
      StartTimes(nullptr),
      StopTimes(nullptr),
      ImpulseReward(0.0),
      Type(InstantOfTimeType),
      PVId(-1),
      AffectingActions(nullptr),
      NumAffectingActions(0),
      ModelGroups(nullptr),
      NumWorkers(0),
      Workers(nullptr),
      VariableDependencies(nullptr),
      NumVariableDependencies(0),
      NumImpulses(0),
      NumImpulseModelDependencies(nullptr),
      NumImpulseWorkers(nullptr),
      NumImpulseModelInstances(nullptr),
      Impulses(nullptr),
      ImpulseWorkers(nullptr),
      ImpulseActions(nullptr),
      ImpulseModelDependencies(nullptr),
      ImpulseModelGroups(nullptr),
      ModelDependencies(nullptr),
      NumModelDependencies(0),
      VariableDependencyCapacity(0),
      ModelDependencyCapacity(0),
      ImpulseCapacity(0) {}

PerformanceVariableNode::~PerformanceVariableNode() {
  delete[] VariableDependencies;
  delete[] ModelGroups;
  ReleaseImpulseArrays();
  for (int w = 0; Workers != nullptr && w < NumWorkers; w++) {
    delete Workers[w];
  }
  delete[] Workers;
  for (int d = 0; d < NumModelDependencies; d++) {
    delete[] ModelDependencies[d];
  }
  delete[] ModelDependencies;
  delete[] AffectingActions;
  delete[] Name;
  delete[] StartTimes;
  delete[] StopTimes;
}

void PerformanceVariableNode::Reset() {
  RateReward = 0.0;
  ImpulseReward = 0.0;
  for (int w = 0; w < NumWorkers; w++) {
    Workers[w]->Reset();
  }
  for (int i = 0; ImpulseWorkers != nullptr && i < NumImpulses; i++) {
    for (int w = 0; ImpulseWorkers[i] != nullptr && w < NumImpulseWorkers[i]; w++) {
      ImpulseWorkers[i][w]->Reset();
    }
  }
}

void PerformanceVariableNode::Initialize(const char* name, RewardType type, int numTimePoints,
                                         const double* startTimes, const double* stopTimes,
                                         int timeIndex, int impulseCapacity,
                                         int modelDependencyCapacity,
                                         int variableDependencyCapacity) {
  SAN_ASSERT(timeIndex >= 0 && (timeIndex < numTimePoints || timeIndex == 0),
             "timeIndex >= 0 && (timeIndex < numTimePoints || timeIndex == 0)", kFile);
  PVId = the_id++;
  Type = type;
  NumTimePoints = numTimePoints;
  StartTimes = copyTimes(startTimes, numTimePoints);
  StopTimes = copyTimes(stopTimes, numTimePoints);
  if (numTimePoints > 0) {
    StartTime = StartTimes[timeIndex];
    StopTime = StopTimes[timeIndex];
  }
  Name = copyName(name);
  VariableDependencyCapacity = variableDependencyCapacity;
  if (variableDependencyCapacity != 0) {
    VariableDependencies = newArray<VarModelPairClass>(variableDependencyCapacity);
  }
  ModelDependencyCapacity = modelDependencyCapacity;
  if (modelDependencyCapacity != 0) {
    ModelDependencies = newArray<char*>(modelDependencyCapacity);
  }
  if (impulseCapacity != 0) {
    AllocateImpulseArrays(impulseCapacity);
  }
}

void PerformanceVariableNode::AllocateImpulseArrays(int capacity) {
  ImpulseCapacity = capacity;
  NumImpulseModelDependencies = newArray<int>(capacity);
  NumImpulseWorkers = newArray<int>(capacity);
  NumImpulseModelInstances = newArray<int>(capacity);
  Impulses = newArray<ImpulseNodeClass*>(capacity);
  ImpulseWorkers = newArray<ImpulseNodeClass**>(capacity);
  ImpulseActions = newArray<ActionModelPairClass>(capacity);
  ImpulseModelDependencies = newArray<char**>(capacity);
  ImpulseModelGroups = newArray<ModelGroupClass*>(capacity);
}

void PerformanceVariableNode::ReleaseImpulseArrays() {
  for (int i = 0; i < NumImpulses; i++) {
    for (int d = 0; d < NumImpulseModelDependencies[i]; d++) {
      delete[] ImpulseModelDependencies[i][d];
    }
    delete[] ImpulseModelDependencies[i];
    for (int w = 0; ImpulseWorkers[i] != nullptr && w < NumImpulseWorkers[i]; w++) {
      delete ImpulseWorkers[i][w];
    }
    delete[] ImpulseWorkers[i];
    delete[] ImpulseModelGroups[i];
  }
  delete[] NumImpulseModelDependencies;
  delete[] NumImpulseWorkers;
  delete[] NumImpulseModelInstances;
  delete[] Impulses;
  delete[] ImpulseWorkers;
  delete[] ImpulseActions;
  delete[] ImpulseModelDependencies;
  delete[] ImpulseModelGroups;
}

void PerformanceVariableNode::AddVariableDependency(const char* variableName,
                                                    const char* modelName) {
  SAN_ASSERT(NumVariableDependencies < VariableDependencyCapacity,
             "NumVariableDependencies < VariableDependencyCapacity", kFile);
  VariableDependencies[NumVariableDependencies++].SetPair(variableName, modelName);
  AddModelDependency(modelName);
}

void PerformanceVariableNode::AddModelDependency(const char* modelName) {
  if (IsDependentOnModel(modelName)) {
    return;
  }
  SAN_ASSERT(NumModelDependencies < ModelDependencyCapacity,
             "NumModelDependencies < ModelDependencyCapacity", kFile);
  ModelDependencies[NumModelDependencies++] = copyName(modelName);
}

void PerformanceVariableNode::AddImpulse(const char* actionName, const char* modelName,
                                         ImpulseNodeClass* impulse) {
  int i = GetImpulseNumber(impulse);
  if (i < 0) {
    SAN_ASSERT(NumImpulses < ImpulseCapacity, "NumImpulses < ImpulseCapacity", kFile);
    i = NumImpulses++;
    Impulses[i] = impulse;
    if (impulse->NumModelDependencies != 0) {
      ImpulseModelDependencies[i] = newArray<char*>(impulse->NumModelDependencies);
    }
  }
  ImpulseActions[i].SetPair(actionName, modelName);
  AddImpulseModelDependency(modelName, impulse);
}

void PerformanceVariableNode::AddImpulseModelDependency(const char* modelName,
                                                        ImpulseNodeClass* impulse) {
  int i = GetImpulseNumber(impulse);
  if (i < 0) {
    std::cerr << "Model Dependency requested on undefined impulse." << std::endl;
    std::cerr << "  Check code generator.  Error code GP0001.\n" << std::flush;
    std::exit(1);
  }
  if (!IsDependentOnImpulseModel(modelName, i)) {
    AddImpulseModelDependency(modelName, i);
  }
}

void PerformanceVariableNode::AddImpulseModelDependency(const char* modelName, int impulse) {
  SAN_ASSERT(NumImpulseModelDependencies[impulse] < Impulses[impulse]->NumModelDependencies,
             "NumImpulseModelDependencies[impulse] < Impulses[impulse]->NumModelDependencies",
             kFile);
  ImpulseModelDependencies[impulse][NumImpulseModelDependencies[impulse]++] = copyName(modelName);
}

void PerformanceVariableNode::AddImpulseActionDependency(const char* actionName, const char*,
                                                         int impulse) {
  ImpulseActions[impulse].SetActionName(actionName);
}

int PerformanceVariableNode::GetImpulseNumber(const ImpulseNodeClass* impulse) const {
  for (int i = 0; i < NumImpulses; i++) {
    if (Impulses[i] == impulse) {
      return i;
    }
  }
  return -1;
}

bool PerformanceVariableNode::IsDependentOnModel(const char* modelName) const {
  return containsName(ModelDependencies, NumModelDependencies, modelName);
}

bool PerformanceVariableNode::IsDependentOnImpulseModel(const char* modelName, int impulse) const {
  return containsName(ImpulseModelDependencies[impulse], NumImpulseModelDependencies[impulse],
                      modelName);
}

void PerformanceVariableNode::FixReferences(BaseModelClass* top) {
  *TopModelRef = top;
  NumWorkers = NumModelDependencies == 0 ? 0 : 1;
  for (int d = 0; d < NumModelDependencies; d++) {
    NumWorkers = moreCombinations(NumWorkers, countInstances(top, ModelDependencies[d]), Name,
                                  ModelDependencies[d]);
  }
  for (int i = 0; i < NumImpulses; i++) {
    int workers = 1;
    for (int d = 0; d < NumImpulseModelDependencies[i]; d++) {
      workers = moreCombinations(workers, countInstances(top, ImpulseModelDependencies[i][d]), Name,
                                 ImpulseModelDependencies[i][d]);
    }
    const char* ownModel = ImpulseActions[i].ModelName;
    NumImpulseModelInstances[i] = countInstances(top, ownModel);
    if (!IsDependentOnImpulseModel(ownModel, i)) {
      workers = moreCombinations(workers, NumImpulseModelInstances[i], Name, ownModel);
    }
    NumImpulseWorkers[i] = workers;
  }
  Workers = newArray<PerformanceVariableWorker*>(NumWorkers);
}

void PerformanceVariableNode::CreateModelGroupList() {
  ModelGroups = newArray<ModelGroupClass>(NumWorkers);
  for (int w = 0; w < NumWorkers; w++) {
    ModelGroups[w].CreateModelList(NumModelDependencies);
  }
  int block = NumWorkers;
  for (int d = 0; d < NumModelDependencies; d++) {
    List<BaseModelClass> instances;
    TopModel()->listModels(ModelDependencies[d], &instances);
    int count = instances.getNumItems();
    if (count == 0) {
      reportMissingModel(ModelDependencies[d], count, TopModel());
    }
    block /= count;
    for (int w = 0; w < NumWorkers; w++) {
      ModelGroups[w].SetModel(d, instances[(w / block) % count]);
    }
  }
}

void PerformanceVariableNode::FixWorkerList() {
  for (int w = 0; w < NumWorkers; w++) {
    PerformanceVariableWorker* worker = Workers[w];
    worker->DefineName(Name, w);
    worker->PVId = PVId;
    SAN_ASSERT(worker->NumModelRefs >= NumModelDependencies,
               "Workers[w]->NumModelRefs >= NumModelDependencies", kFile);
    for (int d = 0; d < NumModelDependencies; d++) {
      *worker->ModelRefs[d] = ModelGroups[w].Models[d];
    }
  }
}

void PerformanceVariableNode::AddPVWorkersToAction(BaseActionClass* action, BaseModelClass* model) {
  for (int w = 0; w < NumWorkers; w++) {
    if (ModelGroups[w].IsDependentOnModel(model)) {
      action->PVRateWorkers[PVId].insert(w);
    }
  }
}

int PerformanceVariableNode::ImpulseWorkersPerInstance(int i) const {
  int instances = NumImpulseModelInstances[i];
  return instances == 0 ? 0 : NumImpulseWorkers[i] / instances;
}

void PerformanceVariableNode::CreateImpulseModelGroupList() {
  for (int i = 0; i < NumImpulses; i++) {
    ImpulseModelGroups[i] = newArray<ModelGroupClass>(NumImpulseWorkers[i]);
    for (int w = 0; w < NumImpulseWorkers[i]; w++) {
      ImpulseModelGroups[i][w].CreateModelList(NumImpulseModelDependencies[i]);
    }
    if (NumImpulseModelDependencies[i] == 0) {
      continue;
    }
    List<BaseModelClass> own;
    TopModel()->listModels(ImpulseActions[i].ModelName, &own);
    for (int r = 0; r < own.getNumItems(); r++) {
      FillImpulseBlock(i, r, own[r]);
    }
  }
}

// Within block r every combination of the other models' instances occurs
// once, the first model slowest, while the impulse's own model, when the
// impulse reads it, is instance r throughout: the block's workers are the
// ones earned by instance r's action.
void PerformanceVariableNode::FillImpulseBlock(int i, int r, BaseModelClass* own) {
  int size = ImpulseWorkersPerInstance(i);
  if (size == 0) {
    return;
  }
  int first = r * size;
  int block = size;
  for (int d = 0; d < NumImpulseModelDependencies[i]; d++) {
    const char* modelName = ImpulseModelDependencies[i][d];
    if (std::strcmp(modelName, ImpulseActions[i].ModelName) == 0) {
      for (int w = first; w < first + size; w++) {
        ImpulseModelGroups[i][w].SetModel(d, own);
      }
      continue;
    }
    List<BaseModelClass> instances;
    TopModel()->listModels(modelName, &instances);
    int count = instances.getNumItems();
    block /= count;
    for (int w = first; w < first + size; w++) {
      ImpulseModelGroups[i][w].SetModel(d, instances[((w - first) / block) % count]);
    }
  }
}

void PerformanceVariableNode::CreateImpulseWorkerLists() {
  for (int i = 0; i < NumImpulses; i++) {
    ImpulseWorkers[i] = Impulses[i]->CreateImpulseWorkers(NumImpulseWorkers[i]);
  }
}

void PerformanceVariableNode::FixImpulseWorkerLists() {
  for (int i = 0; i < NumImpulses; i++) {
    List<BaseModelClass> own;
    TopModel()->listModels(ImpulseActions[i].ModelName, &own);
    int size = ImpulseWorkersPerInstance(i);
    for (int w = 0; w < own.getNumItems() * size; w++) {
      ImpulseNodeClass* worker = ImpulseWorkers[i][w];
      worker->PVId = PVId;
      worker->DefineName(Name, i, w);
      worker->OwnModel = own[w / size];
      SAN_ASSERT(worker->NumModelRefs >= NumImpulseModelDependencies[i],
                 "ImpulseWorkers[i][w]->NumModelRefs >= NumImpulseModelDependencies[i]", kFile);
      for (int d = 0; d < NumImpulseModelDependencies[i]; d++) {
        *worker->ModelRefs[d] = ImpulseModelGroups[i][w].Models[d];
      }
    }
  }
}

void PerformanceVariableNode::CurrentReward(BaseActionClass* fired) {
  RateReward = 0.0;
  for (int w = 0; w < NumWorkers; w++) {
    Workers[w]->CurrentReward();
    RateReward += Workers[w]->Value;
  }
  if (Type == MeanTimeToConditionType || Type == ConditionByTimeType) {
    // Each worker tells whether the condition holds for its combination of
    // instances; it holds when it does for one of them.
    RateReward = RateReward > 0.0 ? 1.0 : 0.0;
  }
  ImpulseReward = ImpulseOf(fired);
}

double PerformanceVariableNode::ImpulseOf(BaseActionClass* fired) {
  double impulse = 0.0;
  if (!ImpulseAffectedBy(fired)) {
    return impulse;
  }
  FastSet& impulses = fired->PVImpulseIndices[PVId];
  for (int k = 0; k < impulses.size(); k++) {
    int i = impulses[k];
    const int* workers = fired->PVImpulseWorkers[PVId][i];
    for (int j = 0; j < fired->PVImpulseWorkerCounts[PVId][i]; j++) {
      ImpulseNodeClass* worker = ImpulseWorkers[i][workers[j]];
      worker->EvaluateImpulse();
      impulse += worker->Value;
    }
  }
  return impulse;
}

bool PerformanceVariableNode::ImpulseAffectedBy(BaseActionClass* action) const {
  return frozenContains(action->AffectedNodesByImpulseReward, PVId);
}
