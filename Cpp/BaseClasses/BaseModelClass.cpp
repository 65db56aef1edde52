#include "Cpp/BaseClasses/BaseModelClass.h"

#include <cstring>
#include <new>

#include "Cpp/BaseClasses/BaseActionClass.h"
#include "Cpp/BaseClasses/FrameworkAssert.h"
#include "Cpp/BaseClasses/StandardErrors.h"
#include "Cpp/BaseClasses/state/BaseStateVariableClass.h"

int BaseModelClass::globalModelId = 0;
double BaseModelClass::LastActionTime = 0.0;

namespace {

// The slots that every concrete model overrides end here when it does not.
[[noreturn]] void mustBeOverridden() { SAN_ASSERT(false, "false", "BaseModelClass.cpp"); }

}  // namespace

BaseModelClass::BaseModelClass()
    : NumStateVariables(0),
      NumSharedStateVariables(0),
      NumActions(0),
      NumGroups(0),
      Groups(nullptr),
      Name(nullptr),
      ModelId(++globalModelId),
      ParentId(ModelId),
      Actions(nullptr) {}

BaseModelClass::~BaseModelClass() { delete[] Name; }

int BaseModelClass::getNumStateVariables() { return NumStateVariables; }

void BaseModelClass::printState(std::ostream*) {}

void BaseModelClass::printState() { printState(&std::cout); }

BaseStateVariableClass** BaseModelClass::GetLocalStateVariables(std::ostream*) { return nullptr; }

BaseStateVariableClass** BaseModelClass::GetSharedStateVariables() { return nullptr; }

BaseStateVariableClass* BaseModelClass::getMainSharedVariable(BaseStateVariableClass*) {
  return nullptr;
}

SharedStateVarLink* BaseModelClass::getListOfSharedVariables(BaseStateVariableClass*) {
  return nullptr;
}

void BaseModelClass::AddAffectArc(BaseStateVariableClass* sv, BaseActionClass* action) {
  sv->appendAffectingAction(action);
  action->addAffectedSV(sv);
}

void BaseModelClass::AddEnableArc(BaseStateVariableClass* sv, BaseActionClass* action) {
  sv->appendEnabledAction(action);
  action->addEnablingSV(sv);
}

int BaseModelClass::GetModelType() { mustBeOverridden(); }

int BaseModelClass::GetNumberOfChildren() { mustBeOverridden(); }

BaseModelClass* BaseModelClass::GetChild(int) { mustBeOverridden(); }

void BaseModelClass::GetLocalActions(std::forward_list<BaseActionClass*>&) { mustBeOverridden(); }

void BaseModelClass::GetGlobalActions(std::forward_list<BaseActionClass*>&) { mustBeOverridden(); }

bool BaseModelClass::HasLocalState() { mustBeOverridden(); }

void BaseModelClass::GetLocalState(State*) { mustBeOverridden(); }

void BaseModelClass::SetLocalState(const State*) { mustBeOverridden(); }

void BaseModelClass::ConstructLocalState(State*&) { mustBeOverridden(); }

void BaseModelClass::DestructLocalState(State*) { mustBeOverridden(); }

void BaseModelClass::DefineName(const char* name) {
  char* copy = new (std::nothrow) char[std::strlen(name) + 1];
  if (copy == nullptr) {
    MemoryAllocationError();
  }
  delete[] Name;
  Name = std::strcpy(copy, name);
}

void BaseModelClass::SetParentId(int id) { ParentId = id; }

bool BaseModelClass::AppendMarkingCells(std::vector<short*>&) { return false; }
