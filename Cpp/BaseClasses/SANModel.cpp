#include "Cpp/BaseClasses/SANModel.h"

#include <cstdio>
#include <cstring>

#include "Cpp/BaseClasses/Activity.h"
#include "Cpp/BaseClasses/Allocate.h"
#include "Cpp/BaseClasses/FrameworkAssert.h"
#include "Cpp/BaseClasses/state/Place.h"

namespace {

template <class T, class U>
bool samePointers(T* const* mine, U* const* given, int n) {
  for (int i = 0; i < n; i++) {
    if (mine[i] != given[i]) {
      return false;
    }
  }
  return true;
}

}  // namespace

SANModel::LocalState::LocalState(SANModel* model) : ByteState(model->StateSize(), "SANModel.cpp") {}

void SANModel::LocalState::SetState(BaseModelClass* model) const { model->SetState(StatePtr); }

void SANModel::LocalState::GetState(BaseModelClass* model) { model->CurrentState(StatePtr); }

SANModel::SANModel() : Places(nullptr), ReadOnlyPlaces(nullptr), NumReadOnlyPlaces(0) {}

SANModel::SANModel(const char* name, int numPlaces, BaseStateVariableClass** places,
                   int numReadOnly, BaseStateVariableClass** readOnlyPlaces, int numActions,
                   Activity** actions, int numGroups, BaseGroupClass** groups)
    : SANModel() {
  initializeSANModelNow(name, numPlaces, places, numReadOnly, readOnlyPlaces, numActions, actions,
                        numGroups, groups);
}

SANModel::~SANModel() { releaseArrays(); }

void SANModel::releaseArrays() {
  delete[] Places;
  delete[] ReadOnlyPlaces;
  delete[] Actions;
  delete[] Groups;
}

void SANModel::initializeSANModelNow(const char* name, int numPlaces,
                                     BaseStateVariableClass** places, int numReadOnly,
                                     BaseStateVariableClass** readOnlyPlaces, int numActions,
                                     Activity** actions, int numGroups, BaseGroupClass** groups) {
  DefineName(name);
  NumSharedStateVariables = 0;
  NumReadOnlyPlaces = numReadOnly;
  NumStateVariables = numPlaces + numReadOnly;
  NumActions = numActions;
  NumGroups = numGroups;
  releaseArrays();
  Places = newArray<BaseStateVariableClass*>(numPlaces);
  SetPlaces(places);
  ReadOnlyPlaces = newArray<BaseStateVariableClass*>(numReadOnly);
  SetReadOnlyPlaces(readOnlyPlaces);
  Actions = newArray<BaseActionClass*>(numActions);
  SetActions(actions);
  Groups = newArray<BaseGroupClass*>(numGroups);
  SetGroups(groups);
}

void SANModel::SetPlaces(BaseStateVariableClass** places) {
  // Other places mean another state layout.
  BaseStateVariableClass::SharingChanges++;
  for (int i = 0; i < NumLocalPlaces(); i++) {
    Places[i] = places[i];
  }
}

void SANModel::SetReadOnlyPlaces(BaseStateVariableClass** readOnlyPlaces) {
  for (int i = 0; i < NumReadOnlyPlaces; i++) {
    ReadOnlyPlaces[i] = readOnlyPlaces[i];
  }
}

void SANModel::SetActions(Activity** actions) {
  for (int i = 0; i < NumActions; i++) {
    Actions[i] = actions[i];
    Actions[i]->OwnerModel = this;
  }
}

void SANModel::SetGroups(BaseGroupClass** groups) {
  for (int i = 0; i < NumGroups; i++) {
    Groups[i] = groups[i];
    Groups[i]->OwnerModel = this;
  }
}

int SANModel::StateSize() {
  int size = 0;
  for (int i = 0; i < NumLocalPlaces(); i++) {
    if (Places[i]->getStored()) {
      size += Places[i]->StateSize();
    }
  }
  return size;
}

void SANModel::CurrentState(void* buf) {
  if (Layout.upToDate(*this).usable()) {
    Layout.write(buf);
    return;
  }
  char* at = static_cast<char*>(buf);
  for (int i = 0; i < NumLocalPlaces(); i++) {
    if (!Places[i]->getShared()) {
      Places[i]->CurrentState(at);
      at += Places[i]->StateSize();
    }
  }
}

void SANModel::SetState(void* buf) {
  if (Layout.upToDate(*this).usable()) {
    Layout.read(buf);
    return;
  }
  char* at = static_cast<char*>(buf);
  for (int i = 0; i < NumLocalPlaces(); i++) {
    if (!Places[i]->getShared()) {
      Places[i]->SetState(at);
      at += Places[i]->StateSize();
    }
  }
}

bool SANModel::AppendMarkingCells(std::vector<short*>& cells) {
  for (int i = 0; i < NumLocalPlaces(); i++) {
    if (Places[i]->getShared()) {
      continue;
    }
    SharableSV<short>* place = dynamic_cast<SharableSV<short>*>(Places[i]);
    if (place == nullptr) {
      return false;
    }
    cells.push_back(place->Value);
  }
  return true;
}

bool SANModel::CompareState(void* a, void* b) { return std::memcmp(a, b, StateSize()) == 0; }

int SANModel::GetModelType() { return 1; }

int SANModel::GetNumberOfChildren() { return 0; }

BaseModelClass* SANModel::GetChild(int) {
  SAN_ASSERT(false, "false", "SANModel.cpp");
  return nullptr;
}

void SANModel::listModels(const char* name, List<BaseModelClass>* out) {
  if (std::strcmp(Name, name) == 0) {
    out->append(this);
  }
}

void SANModel::listActions(List<BaseActionClass>* out) { out->append(Actions, NumActions); }

void SANModel::listActions(const char* name, List<BaseActionClass>* out) {
  for (int i = 0; i < NumActions; i++) {
    if (std::strcmp(Actions[i]->Name, name) == 0) {
      out->append(Actions[i]);
      return;
    }
  }
}

void SANModel::listGroups(List<BaseGroupClass>* out) { out->append(Groups, NumGroups); }

void SANModel::listSVs(const char* modelName, const char* svName, List<BaseStateVariableClass>* svs,
                       List<BaseModelClass>* models) {
  if (std::strcmp(Name, modelName) != 0) {
    return;
  }
  auto collect = [&](BaseStateVariableClass** places, int n) {
    for (int i = 0; i < n; i++) {
      if (std::strcmp(places[i]->Name, svName) == 0) {
        svs->append(places[i]);
        models->append(this);
      }
    }
  };
  collect(Places, NumLocalPlaces());
  collect(ReadOnlyPlaces, NumReadOnlyPlaces);
}

BaseStateVariableClass** SANModel::GetLocalStateVariables(std::ostream*) { return Places; }

bool SANModel::isGlobal(BaseActionClass* action) {
  for (int i = 0; i < NumLocalPlaces(); i++) {
    BaseStateVariableClass* place = Places[i];
    if (!place->getStored() && (place->getAffectingActions()->contains(action) ||
                                place->getEnabledActions()->contains(action))) {
      return true;
    }
  }
  return false;
}

void SANModel::GetGlobalActions(std::forward_list<BaseActionClass*>& out) {
  for (int i = 0; i < NumActions; i++) {
    if (isGlobal(Actions[i])) {
      out.push_front(Actions[i]);
    }
  }
}

void SANModel::GetLocalActions(std::forward_list<BaseActionClass*>& out) {
  for (int i = 0; i < NumActions; i++) {
    if (!isGlobal(Actions[i])) {
      out.push_front(Actions[i]);
    }
  }
}

void SANModel::printState(std::ostream* os) {
  *os << "Model: (" << ModelId << ")" << Name << std::endl;
  for (int i = 0; i < NumLocalPlaces(); i++) {
    *os << "  ";
    Places[i]->printState(os);
  }
  for (int i = 0; i < NumReadOnlyPlaces; i++) {
    *os << "  ";
    ReadOnlyPlaces[i]->printState(os);
  }
}

bool SANModel::HasLocalState() { return StateSize() > 0; }

void SANModel::GetLocalState(State* s) { s->GetState(this); }

void SANModel::SetLocalState(const State* s) { s->SetState(this); }

void SANModel::ConstructLocalState(State*& out) { out = newObject<LocalState>(this); }

void SANModel::DestructLocalState(State* s) { delete s; }

void SANModel::PrintSANModelInfo() {
  std::printf("SANModelInfo\n");
  std::printf("Number of Actions = %i, Number of Groups = %i, Number of State Variables = %i\n",
              NumActions, NumGroups, NumStateVariables);
  for (int i = 0; i < NumActions; i++) {
    BaseActionClass* action = Actions[i];
    std::printf("ActionName = %s\n", action->Name);
    std::printf("Group Id = %i\n", action->GroupID);
    std::printf("DistributionType = %i\n", static_cast<int>(action->DistributionType));
    std::printf("ExecutionPolicy = %i\n", static_cast<int>(action->ExecutionPolicy));
    std::printf("Number of affected state variables = %i\n", action->AffectedSVs.getNumItems());
    std::printf("Number of enabling state variables = %i\n", action->EnablingSVs.getNumItems());
  }
  std::printf("\n");
  for (int i = 0; i < NumGroups; i++) {
    std::printf("Group Name = %s \n", Groups[i]->Name);
  }
  for (int i = 0; i < NumLocalPlaces(); i++) {
    std::printf("Place Name = %s\n", Places[i]->Name);
  }
  for (int i = 0; i < NumReadOnlyPlaces; i++) {
    std::printf("Read Only Place Name = %s\n", ReadOnlyPlaces[i]->Name);
  }
  std::fflush(stdout);
}

bool checkLocalSVs(SANModel* model, Place** places) {
  return samePointers(model->Places, places, model->NumLocalPlaces());
}

bool checkReadOnlyPlaces(SANModel* model, BaseStateVariableClass** places) {
  return samePointers(model->ReadOnlyPlaces, places, model->NumReadOnlyPlaces);
}

bool checkLocalActions(SANModel* model, Activity** actions) {
  return samePointers(model->Actions, actions, model->NumActions);
}
