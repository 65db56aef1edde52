#include "Cpp/BaseClasses/PVModel.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "Cpp/BaseClasses/Allocate.h"
#include "Cpp/BaseClasses/FrameworkAssert.h"
#include "Cpp/BaseClasses/ImpulseNodeClass.h"
#include "Cpp/BaseClasses/PerformanceVariableNode.h"
#include "Cpp/BaseClasses/state/BaseStateVariableClass.h"

namespace {

// Closes the action's rate sets to change: from here on they are read by
// index only.
void closeRateStructures(BaseActionClass* action, int numPVs) {
  for (int p = 0; p < numPVs; p++) {
    action->PVRateWorkers[p].NoMoreModifications();
  }
  action->AffectedNodesByRateReward.NoMoreModifications();
}

void closeImpulseStructures(BaseActionClass* action, int numPVs) {
  for (int p = 0; p < numPVs; p++) {
    action->PVImpulseIndices[p].NoMoreModifications();
  }
  action->AffectedNodesByImpulseReward.NoMoreModifications();
}

void insertAll(FastSet& into, FastSet& frozen) {
  for (int k = 0; k < frozen.size(); k++) {
    into.insert(frozen[k]);
  }
}

void writeTypeRecord(std::ostream& out, const PerformanceVariableNode& node) {
  out << "Name:";
  if (node.Name == nullptr) {
    out.setstate(std::ios::failbit);
    return;
  }
  out << node.Name << "\n";
  out << "Type:" << static_cast<int>(node.GetRewardType()) << "\n";
  out << "NumTimes:" << node.GetNumTimePoints() << "\n";
  for (int t = 0; t < node.GetNumTimePoints(); t++) {
    out << "Start:" << node.GetStartTime(t) << "\n";
    out << "Stop:" << node.GetStopTime(t) << "\n";
  }
}

}  // namespace

PVModel::PVModel()
    : PVList(nullptr),
      NumPVs(0),
      ChildModel(nullptr),
      LastActionFired(&NoAction),
      ChildActions(nullptr),
      AffectingActions(nullptr),
      AffectingActionSets(nullptr),
      NumRateAffectingActions(0),
      NumImpulseAffectingActions(0),
      NumAffectingActions(0),
      ModelStateSize(0) {
  NoAction.defineName("No Action Fired Yet");
  LastActionTime = 0.0;
}

PVModel::~PVModel() { Destruct(); }

void PVModel::listModels(const char* name, List<BaseModelClass>* out) {
  ChildModel->listModels(name, out);
}

void PVModel::CurrentState(void* buf) {
  ChildModel->CurrentState(buf);
  char* at = static_cast<char*>(buf) + ModelStateSize;
  for (BaseActionClass* action : PhasedActions) {
    std::memcpy(at, &action->Phase, sizeof action->Phase);
    at += sizeof action->Phase;
  }
}

void PVModel::listActions(List<BaseActionClass>* out) { out->append(ChildActions, NumActions); }

void PVModel::listGroups(List<BaseGroupClass>* out) { out->append(Groups, NumGroups); }

void PVModel::SetState(void* buf) {
  ChildModel->SetState(buf);
  const char* at = static_cast<const char*>(buf) + ModelStateSize;
  for (BaseActionClass* action : PhasedActions) {
    std::memcpy(&action->Phase, at, sizeof action->Phase);
    at += sizeof action->Phase;
  }
}

int PVModel::StateSize() { return ModelStateSize + PhaseBytes(); }

bool PVModel::CompareState(void* a, void* b) {
  if (!ChildModel->CompareState(a, b)) {
    return false;
  }
  return PhasedActions.empty() || std::memcmp(static_cast<char*>(a) + ModelStateSize,
                                              static_cast<char*>(b) + ModelStateSize,
                                              PhaseBytes()) == 0;
}

void PVModel::listActions(const char* name, List<BaseActionClass>* out) {
  ChildModel->listActions(name, out);
}

void PVModel::listSVs(const char* modelName, const char* svName, List<BaseStateVariableClass>* svs,
                      List<BaseModelClass>* models) {
  ChildModel->listSVs(modelName, svName, svs, models);
}

void PVModel::printState(std::ostream* os) { ChildModel->printState(os); }

void PVModel::CreatePVList(int numPVs, bool expandTimePoints) {
  // Every per-node table of an action is indexed by PVId, so the nodes of
  // this model are numbered from 0 even when an earlier reward model of the
  // same process used the counter.
  PerformanceVariableNode::the_id = 0;
  int capacity = 100;
  PVList = newArray<PerformanceVariableNode*>(capacity);
  int count = 0;
  for (int p = 0; p < numPVs; p++) {
    PerformanceVariableNode* node = NewNode(p, 0);
    int numTimes = node->GetNumTimePoints();
    if (count + numTimes >= capacity) {
      capacity = 2 * (capacity + numTimes);
      PerformanceVariableNode** grown = newArray<PerformanceVariableNode*>(capacity);
      for (int k = 0; k < count; k++) {
        grown[k] = PVList[k];
      }
      delete[] PVList;
      PVList = grown;
    }
    PVList[count++] = node;
    for (int t = 1; expandTimePoints && t < numTimes; t++) {
      PVList[count++] = NewNode(p, t);
    }
  }
  NumPVs = count;
}

PerformanceVariableNode* PVModel::NewNode(int pv, int timeIndex) {
  PerformanceVariableNode* node = createPVNode(pv, timeIndex);
  SAN_ASSERT(node != nullptr, "createPVNode(pv, timeIndex) != NULL", "PVModel.cpp");
  return node;
}

void PVModel::Initialize() {
  NoAction.AllocatePVRateDS(NumPVs);
  NoAction.AllocatePVImpulseDS(NumPVs);
  closeRateStructures(&NoAction, NumPVs);
  closeImpulseStructures(&NoAction, NumPVs);
  NumStateVariables = ChildModel->NumStateVariables;
  Groups = ChildModel->Groups;
  Actions = ChildModel->Actions;
  ChildActions = ChildModel->Actions;
  NumActions = ChildModel->NumActions;
  NumGroups = ChildModel->NumGroups;
  NumSharedStateVariables = 0;
  for (int p = 0; p < NumPVs; p++) {
    PVList[p]->FixReferences(ChildModel);
  }
  MakeAffectedLists();
  MakeImpulseAffectedLists();
  CreateAffectedLists();
  ModelStateSize = ChildModel->StateSize();
  for (int a = 0; a < NumActions; a++) {
    if (ChildActions[a]->DistributionType == Erlang) {
      PhasedActions.push_back(ChildActions[a]);
    }
  }
}

void PVModel::MakeAffectedLists() {
  for (int p = 0; p < NumPVs; p++) {
    LinkRateDependencies(p);
  }
  for (int a = 0; a < NumActions; a++) {
    if (!Actions[a]->IsPVRateDSAllocated()) {
      Actions[a]->AllocatePVRateDS(NumPVs);
    }
    closeRateStructures(Actions[a], NumPVs);
  }
}

void PVModel::LinkRateDependencies(int pv) {
  PerformanceVariableNode* node = PVList[pv];
  node->CreateModelGroupList();
  node->CreateWorkerList();
  node->FixWorkerList();
  for (int v = 0; v < node->NumVariableDependencies; v++) {
    const VarModelPairClass& pair = node->VariableDependencies[v];
    List<BaseStateVariableClass> variables;
    List<BaseModelClass> instances;
    listSVs(pair.ModelName, pair.VariableName, &variables, &instances);
    for (int i = 0; i < variables.getNumItems(); i++) {
      BaseStateVariableClass* variable = variables[i];
      for (int k = 0; k < variable->getNumAffectingActions(); k++) {
        BaseActionClass* Action = variable->getAffectingAction(k);
        if (!Action->IsPVRateDSAllocated()) {
          Action->AllocatePVRateDS(NumPVs);
          NumRateAffectingActions++;
        }
        if (Action->PVRateWorkers[pv].empty()) {
          if (!Action->AffectedNodesByRateReward.insert(pv)) {
            FrameworkAssertFailed("Action->AffectedNodesByRateReward.insert(PVCounter)",
                                  "PVModel.cpp", 173);
          }
          node->NumAffectingActions++;
        }
        node->AddPVWorkersToAction(Action, instances[i]);
      }
    }
  }
}

void PVModel::MakeImpulseAffectedLists() {
  for (int p = 0; p < NumPVs; p++) {
    PerformanceVariableNode* node = PVList[p];
    node->CreateImpulseModelGroupList();
    node->CreateImpulseWorkerLists();
    node->FixImpulseWorkerLists();
    for (int i = 0; i < node->NumImpulses; i++) {
      LinkImpulse(p, i);
    }
  }
  for (int a = 0; a < NumActions; a++) {
    if (!Actions[a]->IsPVImpulseDSAllocated()) {
      Actions[a]->AllocatePVImpulseDS(NumPVs);
    }
    closeImpulseStructures(Actions[a], NumPVs);
  }
}

void PVModel::LinkImpulse(int pv, int impulse) {
  const ActionModelPairClass& pair = PVList[pv]->ImpulseActions[impulse];
  List<BaseModelClass> instances;
  ChildModel->listModels(pair.ModelName, &instances);
  for (int m = 0; m < instances.getNumItems(); m++) {
    List<BaseActionClass> found;
    instances[m]->listActions(pair.ActionName, &found);
    if (found.getNumItems() > 0) {
      LinkImpulseAction(pv, impulse, found[0], instances[m]);
    }
  }
}

// Lists, on action, the workers of the impulse that belong to instance,
// the model whose copy of the impulse's action it is.
void PVModel::LinkImpulseAction(int pv, int impulse, BaseActionClass* action,
                                BaseModelClass* instance) {
  PerformanceVariableNode* node = PVList[pv];
  if (!action->IsPVImpulseDSAllocated()) {
    action->AllocatePVImpulseDS(NumPVs);
    NumImpulseAffectingActions++;
  }
  if (action->PVImpulseIndices[pv].empty()) {
    action->AffectedNodesByImpulseReward.insert(pv);
    node->NumAffectingActions++;
    action->PVImpulseWorkers[pv] = newArray<int*>(node->NumImpulses);
    action->PVImpulseWorkerCounts[pv] = newArray<int>(node->NumImpulses);
  }
  if (action->PVImpulseWorkers[pv][impulse] == nullptr) {
    action->PVImpulseIndices[pv].insert(impulse);
    action->PVImpulseWorkers[pv][impulse] = newArray<int>(node->NumImpulseWorkers[impulse]);
  }
  int* workers = action->PVImpulseWorkers[pv][impulse];
  int& count = action->PVImpulseWorkerCounts[pv][impulse];
  for (int j = 0; j < node->NumImpulseWorkers[impulse]; j++) {
    if (node->ImpulseWorkers[impulse][j]->OwnModel == instance) {
      workers[count++] = j;
    }
  }
}

void PVModel::CreateAffectedLists() {
  for (int p = 0; p < NumPVs; p++) {
    PerformanceVariableNode* node = PVList[p];
    if (node->NumAffectingActions > 0) {
      node->AffectingActions = newArray<BaseActionClass*>(node->NumAffectingActions);
      node->NumAffectingActions = 0;
    }
  }
  int capacity = NumRateAffectingActions + NumImpulseAffectingActions;
  if (capacity == 0) {
    return;
  }
  AffectingActions = newArray<BaseActionClass*>(capacity);
  AffectingActionSets = newArray<FastSet*>(capacity);
  for (int a = 0; a < NumActions; a++) {
    BaseActionClass* Action = Actions[a];
    if (Action->AffectedNodesByRateReward.size() == 0 &&
        Action->AffectedNodesByImpulseReward.size() == 0) {
      continue;
    }
    if (!Action->AffectedNodes.empty()) {
      FrameworkAssertFailed("Action->AffectedNodes.empty()", "PVModel.cpp", 32);
    }
    insertAll(Action->AffectedNodes, Action->AffectedNodesByRateReward);
    insertAll(Action->AffectedNodes, Action->AffectedNodesByImpulseReward);
    Action->AffectedNodes.NoMoreModifications();
    AffectingActions[NumAffectingActions] = Action;
    AffectingActionSets[NumAffectingActions] = &Action->AffectedNodes;
    NumAffectingActions++;
    for (int k = 0; k < Action->AffectedNodes.size(); k++) {
      PerformanceVariableNode* node = PVList[Action->AffectedNodes[k]];
      node->AffectingActions[node->NumAffectingActions++] = Action;
    }
  }
}

void PVModel::ConsiderOnly(const int* indices, int count) {
  if (indices == nullptr) {
    ConsideredPVs.insert(ConsideredPVs.end(), PVList, PVList + NumPVs);
    return;
  }
  ConsideredPVs.reserve(ConsideredPVs.size() + count);
  for (int k = 0; k < count; k++) {
    SAN_ASSERT(indices[k] >= 0 && indices[k] < NumPVs, "indices[k] >= 0 && indices[k] < NumPVs",
               "PVModel.cpp");
    ConsideredPVs.push_back(PVList[indices[k]]);
  }
}

void PVModel::FireAction(void* buf, BaseActionClass* action) {
  FireWithoutRewards(buf, action);
  UpdateRewards();
}

void PVModel::FireWithoutRewards(void* buf, BaseActionClass* action) {
  action->Fire();
  LastActionFired = action;
  CurrentState(buf);
}

void PVModel::UpdateRewards() {
  for (PerformanceVariableNode* node : ConsideredPVs) {
    node->CurrentReward(LastActionFired);
  }
}

void PVModel::AgeAction(char*, BaseActionClass*) {
  LastActionFired = &NoAction;
  UpdateRewards();
}

bool PVModel::WritePVTypeFile(const char* fileName) {
  errno = 0;  // so that a failure without a system error gives no stale reason
  std::ofstream out(fileName, std::ios::out | std::ios::trunc);
  if (!out) {
    return false;
  }
  out << "Version:1\n";
  out << "NumPV:" << NumPVs << "\n";
  for (int p = 0; p < NumPVs; p++) {
    writeTypeRecord(out, *PVList[p]);
  }
  out.close();
  return !out.fail();
}

void PVModel::Destruct() {
  NoAction.DeallocatePVRateDS();
  NoAction.DeallocatePVImpulseDS();
  for (int a = 0; a < NumActions; a++) {
    Actions[a]->DeallocatePVRateDS();
    if (Actions[a]->IsPVImpulseDSAllocated()) {
      ReleaseImpulseTables(Actions[a]);
      Actions[a]->DeallocatePVImpulseDS();
    }
  }
  delete[] AffectingActions;
  delete[] AffectingActionSets;
  AffectingActions = nullptr;
  AffectingActionSets = nullptr;
  NumAffectingActions = 0;
  // A node releases its own AffectingActions array.
  for (int p = 0; p < NumPVs; p++) {
    delete PVList[p];
  }
  delete[] PVList;
  PVList = nullptr;
  NumPVs = 0;
  ConsideredPVs.clear();
  PhasedActions.clear();
  // The action and group arrays are the child's.
  Actions = nullptr;
  ChildActions = nullptr;
  Groups = nullptr;
  NumActions = 0;
  NumGroups = 0;
  delete ChildModel;
  ChildModel = nullptr;
}

void PVModel::ReleaseImpulseTables(BaseActionClass* action) {
  for (int p = 0; p < NumPVs; p++) {
    int** workers = action->PVImpulseWorkers[p];
    for (int i = 0; workers != nullptr && i < PVList[p]->NumImpulses; i++) {
      delete[] workers[i];
    }
    delete[] workers;
    delete[] action->PVImpulseWorkerCounts[p];
    action->PVImpulseWorkers[p] = nullptr;
    action->PVImpulseWorkerCounts[p] = nullptr;
  }
}
