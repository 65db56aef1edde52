#include "Cpp/Composer/BaseComposerClass.h"

#include <cstring>

#include "Cpp/BaseClasses/Allocate.h"
#include "Cpp/BaseClasses/BaseGroupClass.h"
#include "Cpp/BaseClasses/FrameworkAssert.h"
#include "Cpp/BaseClasses/state/BaseStateVariableClass.h"
#include "Cpp/Composer/SharedStateVarLink.h"

namespace {

char* copyOf(const char* text) {
  return std::strcpy(newArray<char>(static_cast<int>(std::strlen(text)) + 1), text);
}

// A copy of every link of chain: each composer deletes the links of its own
// chains, so a chain taken over from a child composer must not be linked in
// itself.
SharedStateVarLink* copyOfChain(const SharedStateVarLink* chain) {
  SharedStateVarLink* head = nullptr;
  SharedStateVarLink** tail = &head;
  for (; chain != nullptr; chain = chain->Next) {
    *tail = newObject<SharedStateVarLink>(chain->StateVariable, chain->Model);
    tail = &(*tail)->Next;
  }
  return head;
}

}  // namespace

BaseComposerClass::BaseComposerClass(const char* name, int numChildren, int numShared,
                                     const char* const* sharedNames)
    : Children(nullptr),
      NumChildren(numChildren),
      SharedPtrs(nullptr),
      SharedLinks(nullptr),
      SharedLists(nullptr),
      SharedStateNames(nullptr),
      AddedSharedPtrs(0),
      CompositeStateSize(0),
      NumSharedNames(numChildren > 0 ? numShared : 0) {
  DefineName(name);
  NumSharedStateVariables = NumSharedNames;
  Children = newArray<BaseModelClass*>(NumChildren);
  SharedPtrs = newArray<BaseStateVariableClass*>(NumSharedNames);
  SharedLinks = newArray<SharedStateVarLink*>(NumSharedNames);
  SharedLists = newArray<List<BaseStateVariableClass>>(NumSharedNames);
  SharedStateNames = newArray<char*>(NumSharedNames);
  for (int i = 0; i < NumSharedNames; i++) {
    SharedStateNames[i] = copyOf(sharedNames[i]);
  }
}

BaseComposerClass::~BaseComposerClass() {
  for (int i = 0; i < NumSharedNames; i++) {
    SharedStateVarLink::clearStateVarList(SharedLinks[i]);
    delete[] SharedStateNames[i];
  }
  delete[] SharedStateNames;
  delete[] SharedLists;
  delete[] SharedLinks;
  delete[] SharedPtrs;
  delete[] Children;
  delete[] Actions;
  delete[] Groups;
}

void BaseComposerClass::SetupActions() {
  NumActions = 0;
  NumGroups = 0;
  for (int i = 0; i < NumChildren; i++) {
    NumActions += Children[i]->NumActions;
    NumGroups += Children[i]->NumGroups;
  }
  delete[] Actions;
  delete[] Groups;
  Actions = newArray<BaseActionClass*>(NumActions);
  Groups = newArray<BaseGroupClass*>(NumGroups);
  int action = 0;
  int group = 0;
  for (int i = 0; i < NumChildren; i++) {
    BaseModelClass* child = Children[i];
    for (int k = 0; k < child->NumActions; k++) {
      Actions[action++] = child->Actions[k];
    }
    for (int k = 0; k < child->NumGroups; k++) {
      Groups[group] = child->Groups[k];
      Groups[group]->setGroupId(group);
      group++;
    }
  }
}

bool BaseComposerClass::AllChildrenEmpty() {
  for (int i = 0; i < NumChildren; i++) {
    if (Children[i]->NumStateVariables > 0) {
      return false;
    }
  }
  return true;
}

void BaseComposerClass::addSharedPtr(BaseStateVariableClass* variable, const char* VarName) {
  SAN_ASSERT(AddedSharedPtrs < NumSharedStateVariables, "AddedSharedPtrs < NumSharedStateVariables",
             "BaseComposerClass.cpp");
  SAN_ASSERT(0 == std::strcmp(VarName, SharedStateNames[AddedSharedPtrs]),
             "0 == strcmp(VarName, SharedStateNames[AddedSharedPtrs])", "BaseComposerClass.cpp");
  SharedPtrs[AddedSharedPtrs++] = variable;
}

int BaseComposerClass::sharedIndex(BaseStateVariableClass* variable) const {
  int index = -1;
  for (int i = 0; i < AddedSharedPtrs; i++) {
    if (SharedPtrs[i] == variable) {
      index = i;
    }
  }
  return index;
}

void BaseComposerClass::addSharingInfo(BaseStateVariableClass* child, BaseStateVariableClass* main,
                                       BaseModelClass* model) {
  int VarIndex = sharedIndex(main);
  SAN_ASSERT(VarIndex != -1, "VarIndex != -1", "BaseComposerClass.cpp");
  SharedLists[VarIndex].append(child);
  SharedStateVarLink* link = newObject<SharedStateVarLink>(child, model);
  // A child composer that shares child itself contributes the variables
  // child stands for.
  for (int i = 0; i < NumChildren; i++) {
    SharedStateVarLink* inner = Children[i]->getListOfSharedVariables(child);
    if (inner != nullptr) {
      link->addStateVarLink(copyOfChain(inner));
    }
  }
  if (SharedLinks[VarIndex] == nullptr) {
    SharedLinks[VarIndex] = link;
  } else {
    SharedLinks[VarIndex]->addStateVarLink(link);
  }
}

void BaseComposerClass::GeneralSetup() {
  NumStateVariables = NumSharedStateVariables;
  for (int i = 0; i < NumChildren; i++) {
    NumStateVariables += Children[i]->NumStateVariables;
  }
  for (int i = 0; i < NumSharedNames; i++) {
    NumStateVariables -= SharedLists[i].getNumItems();
  }
  CompositeStateSize = StateSize();
}

int BaseComposerClass::SharedStateSize() {
  int size = 0;
  for (int i = 0; i < AddedSharedPtrs; i++) {
    if (SharedPtrs[i]->getStored()) {
      size += SharedPtrs[i]->StateSize();
    }
  }
  return size;
}

void BaseComposerClass::CurrentSharedState(void* buf) {
  char* at = static_cast<char*>(buf);
  for (int i = 0; i < AddedSharedPtrs; i++) {
    if (SharedPtrs[i]->getStored()) {
      SharedPtrs[i]->CurrentState(at);
      at += SharedPtrs[i]->StateSize();
    }
  }
}

void BaseComposerClass::SetSharedState(void* buf) {
  char* at = static_cast<char*>(buf);
  for (int i = 0; i < AddedSharedPtrs; i++) {
    if (SharedPtrs[i]->getStored()) {
      SharedPtrs[i]->SetState(at);
      at += SharedPtrs[i]->StateSize();
    }
  }
}

bool BaseComposerClass::CompareState(void* a, void* b) {
  return std::memcmp(a, b, CompositeStateSize) == 0;
}

int BaseComposerClass::GetNumberOfChildren() { return NumChildren; }

BaseModelClass* BaseComposerClass::GetChild(int i) {
  SAN_ASSERT(i < GetNumberOfChildren(), "i < GetNumberOfChildren()", "BaseComposerClass.cpp");
  return Children[i];
}

BaseStateVariableClass** BaseComposerClass::GetSharedStateVariables() { return SharedPtrs; }

SharedStateVarLink* BaseComposerClass::getListOfSharedVariables(BaseStateVariableClass* sv) {
  int index = sharedIndex(sv);
  if (index != -1) {
    return SharedLinks[index];
  }
  for (int i = 0; i < NumChildren; i++) {
    SharedStateVarLink* chain = Children[i]->getListOfSharedVariables(sv);
    if (chain != nullptr) {
      return chain;
    }
  }
  return nullptr;
}

BaseStateVariableClass* BaseComposerClass::getMainSharedVariable(BaseStateVariableClass* sv) {
  for (int i = 0; i < AddedSharedPtrs; i++) {
    if (SharedLinks[i] != nullptr && SharedLinks[i]->hasStateVar(sv)) {
      return SharedPtrs[i];
    }
  }
  for (int i = 0; i < NumChildren; i++) {
    BaseStateVariableClass* main = Children[i]->getMainSharedVariable(sv);
    if (main != nullptr) {
      return main;
    }
  }
  return nullptr;
}

void BaseComposerClass::listModels(const char* name, List<BaseModelClass>* out) {
  for (int i = 0; i < NumChildren; i++) {
    Children[i]->listModels(name, out);
  }
}

void BaseComposerClass::listActions(List<BaseActionClass>* out) {
  out->append(Actions, NumActions);
}

void BaseComposerClass::listActions(const char* name, List<BaseActionClass>* out) {
  for (int i = 0; i < NumChildren; i++) {
    Children[i]->listActions(name, out);
  }
}

void BaseComposerClass::listGroups(List<BaseGroupClass>* out) { out->append(Groups, NumGroups); }

void BaseComposerClass::listSVs(const char* modelName, const char* svName,
                                List<BaseStateVariableClass>* svs, List<BaseModelClass>* models) {
  for (int i = 0; i < NumChildren; i++) {
    Children[i]->listSVs(modelName, svName, svs, models);
  }
}

void BaseComposerClass::printAllSharedVariables() {
  std::cout << "Shared Variables for composer node " << Name << std::endl;
  for (int j = 0; j < AddedSharedPtrs; j++) {
    std::cout << "  Shared Variable " << j << " has name " << SharedPtrs[j]->Name << " and address "
              << static_cast<const void*>(SharedPtrs[j]) << std::endl;
    std::cout << "    And here is its list of equivalent variables:" << std::endl;
    if (SharedLinks[j] != nullptr) {
      SharedLinks[j]->printAllStateVariables();
    }
  }
  std::cout << std::endl;
}
