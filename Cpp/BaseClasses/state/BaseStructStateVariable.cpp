#include "Cpp/BaseClasses/state/BaseStructStateVariable.h"

#include <new>

#include "Cpp/BaseClasses/BaseActionClass.h"
#include "Cpp/BaseClasses/FrameworkAssert.h"
#include "Cpp/BaseClasses/StandardErrors.h"

namespace {

int fieldSize(const fieldType& f) {
  switch (f.second) {
    case ShortType:
      return 2;
    case IntType:
      return 4;
    case CharType:
      return 1;
    case DoubleType:
      return 8;
    case FloatType:
      return 4;
    default:
      return f.first->StateSize();
  }
}

void replaceInAffectedLists(List<BaseActionClass>* actions, BaseStateVariableClass* oldSV,
                            BaseStateVariableClass* newSV) {
  for (int i = 0; i < actions->getNumItems(); i++) {
    actions->getItem(i)->AffectedSVs.replaceItem(oldSV, newSV);
  }
}

void replaceInEnablingLists(List<BaseActionClass>* actions, BaseStateVariableClass* oldSV,
                            BaseStateVariableClass* newSV) {
  for (int i = 0; i < actions->getNumItems(); i++) {
    actions->getItem(i)->EnablingSVs.replaceItem(oldSV, newSV);
  }
}

}  // namespace

BaseStructStateVariable::BaseStructStateVariable() : StateSizeCache(-1) {}

BaseStructStateVariable::BaseStructStateVariable(const char* name, const char* prefix)
    : BaseStateVariableClass(name, prefix), StateSizeCache(-1) {}

BaseStructStateVariable::BaseStructStateVariable(const char* name, const char* prefix,
                                                 const ArrayType* codes, int count)
    : BaseStructStateVariable(name, prefix) {
  for (int i = 0; i < count; i++) {
    fields.push_back(field(codes[i], nullptr));
  }
}

int BaseStructStateVariable::StateSize() {
  if (StateSizeCache < 0) {
    StateSizeCache = calculateStateSize();
  }
  return StateSizeCache;
}

int BaseStructStateVariable::calculateStateSize() {
  int size = 0;
  for (const fieldType& f : fields) {
    size += fieldSize(f);
  }
  return size;
}

void BaseStructStateVariable::SetState(void* buf) {
  char* at = static_cast<char*>(buf);
  for (const fieldType& f : fields) {
    f.first->SetState(at);
    at += fieldSize(f);
  }
}

void BaseStructStateVariable::CurrentState(void* buf) {
  char* at = static_cast<char*>(buf);
  for (const fieldType& f : fields) {
    f.first->CurrentState(at);
    at += fieldSize(f);
  }
}

void BaseStructStateVariable::printState(std::ostream* os) {
  *os << Name << " = {" << std::endl;
  for (const fieldType& f : fields) {
    *os << ".";
    f.first->printState(os);
  }
  *os << "}" << std::endl;
}

void BaseStructStateVariable::share(BaseStateVariableClass* other) {
  BaseStructStateVariable* otherStruct = dynamic_cast<BaseStructStateVariable*>(other);
  SAN_ASSERT(otherStruct, "otherStruct", "BaseStructStateVariable");
  ShareWith(otherStruct);
}

void BaseStructStateVariable::appendAffectingAction(BaseActionClass* action) {
  for (const fieldType& f : fields) {
    f.first->appendAffectingAction(action);
  }
}

void BaseStructStateVariable::addSelfAsEnablingSVToAction(BaseActionClass* action) {
  for (const fieldType& f : fields) {
    f.first->addSelfAsEnablingSVToAction(action);
  }
}

void BaseStructStateVariable::addSelfAsAffectedSVToAction(BaseActionClass* action) {
  for (const fieldType& f : fields) {
    f.first->addSelfAsAffectedSVToAction(action);
  }
}

void BaseStructStateVariable::removeSelfFromEnablingSVOfAction(BaseActionClass* action) {
  for (const fieldType& f : fields) {
    f.first->removeSelfFromEnablingSVOfAction(action);
  }
}

void BaseStructStateVariable::removeSelfFromAffectedSVOfAction(BaseActionClass* action) {
  for (const fieldType& f : fields) {
    f.first->removeSelfFromAffectedSVOfAction(action);
  }
}

List<BaseStateVariableClass>* BaseStructStateVariable::getLeafNodes() {
  if (fields.empty()) {
    return BaseStateVariableClass::getLeafNodes();
  }
  List<BaseStateVariableClass>* leaves = new (std::nothrow) List<BaseStateVariableClass>();
  if (leaves == nullptr) {
    MemoryAllocationError();
  }
  for (const fieldType& f : fields) {
    List<BaseStateVariableClass>* memberLeaves = f.first->getLeafNodes();
    leaves->append(memberLeaves);
    delete memberLeaves;
  }
  return leaves;
}

int BaseStructStateVariable::getNumLeafNodes() {
  int count = 0;
  for (const fieldType& f : fields) {
    count += f.first->getNumLeafNodes();
  }
  return count > 0 ? count : 1;
}

bool BaseStructStateVariable::isLeafNode() { return fields.empty(); }

void BaseStructStateVariable::appendEnabledAction(BaseActionClass* action) {
  for (const fieldType& f : fields) {
    f.first->appendEnabledAction(action);
  }
}

void BaseStructStateVariable::ShareWith(BaseStructStateVariable* otherStruct) {
  if (otherStruct == this) {
    return;
  }
  SharingChanges++;
  auto otheri = otherStruct->fields.begin();
  for (const fieldType& f : fields) {
    SAN_ASSERT(otheri != otherStruct->fields.end(), "otheri!=otherStruct->fields.end()",
               "BaseStructStateVariable");
    f.first->share(otheri->first);
    ++otheri;
  }
  if (otherStruct->AffectingActions != AffectingActions) {
    AffectingActions->append(otherStruct->AffectingActions);
    EnabledActions->append(otherStruct->EnabledActions);
    if (otherStruct->Stored) {
      delete otherStruct->AffectingActions;
      delete otherStruct->EnabledActions;
    }
    otherStruct->AffectingActions = AffectingActions;
    otherStruct->EnabledActions = EnabledActions;
  }
  otherStruct->Shared = true;
  otherStruct->Stored = false;
  replaceInAffectedLists(AffectingActions, otherStruct, this);
  replaceInEnablingLists(EnabledActions, otherStruct, this);
}

fieldType BaseStructStateVariable::field(ArrayType code, BaseStateVariableClass* member) const {
  return fieldType(member, code);
}

ArrayType BaseStructStateVariable::getType(int i) const {
  SAN_ASSERT(!fields.empty(), "!fields.empty()", "BaseStructStateVariable");
  return i >= 0 && i < getSize() ? fields[i].second : fields.back().second;
}
