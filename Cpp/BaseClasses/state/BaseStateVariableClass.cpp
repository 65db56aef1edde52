#include "Cpp/BaseClasses/state/BaseStateVariableClass.h"

#include <cstring>
#include <new>

#include "Cpp/BaseClasses/BaseActionClass.h"
#include "Cpp/BaseClasses/StandardErrors.h"

unsigned long BaseStateVariableClass::SharingChanges = 0;

namespace {

// A copy of text (null: the empty string). A variable without its name
// cannot be used, so a failed allocation ends the program after the message.
char* copyText(const char* text) {
  if (text == nullptr) {
    text = "";
  }
  char* copy = new (std::nothrow) char[std::strlen(text) + 1];
  if (copy == nullptr) {
    std::cerr << "Not Enough Memory" << std::endl;
    MemoryAllocationError();
  }
  return std::strcpy(copy, text);
}

List<BaseActionClass>* newActionList() {
  List<BaseActionClass>* list = new (std::nothrow) List<BaseActionClass>();
  if (list == nullptr) {
    MemoryAllocationError();
  }
  return list;
}

BaseActionClass* actionAt(List<BaseActionClass>* list, int i, const char* where, const char* what) {
  if (i < 0 || i >= list->getNumItems()) {
    std::cerr << where << what << std::endl;
    return nullptr;
  }
  return list->getItem(i);
}

}  // namespace

BaseStateVariableClass::BaseStateVariableClass() : BaseStateVariableClass("default", "") {}

BaseStateVariableClass::BaseStateVariableClass(const char* name, const char* prefix)
    : Name(copyText(name)),
      Prefix(copyText(prefix)),
      Shared(false),
      Stored(true),
      FunctionallyShared(false),
      SharingCount(0),
      AffectingActions(newActionList()),
      EnabledActions(newActionList()) {}

BaseStateVariableClass::~BaseStateVariableClass() {
  delete[] Name;
  delete[] Prefix;
  if (Stored) {
    delete AffectingActions;
    delete EnabledActions;
  }
}

void BaseStateVariableClass::printState(std::ostream*) {}

void BaseStateVariableClass::printState() { printState(&std::cout); }

void BaseStateVariableClass::printStateVal(std::ostream*) {}

void BaseStateVariableClass::appendAffectingAction(BaseActionClass* action) {
  AffectingActions->append(action);
}

void BaseStateVariableClass::removeAffectingAction(BaseActionClass* action) {
  AffectingActions->remove(action);
}

void BaseStateVariableClass::replaceAffectingAction(BaseActionClass* oldAction,
                                                    BaseActionClass* newAction) {
  AffectingActions->replaceItem(oldAction, newAction);
}

void BaseStateVariableClass::addSelfAsEnablingSVToAction(BaseActionClass* action) {
  action->EnablingSVs.append(this);
}

void BaseStateVariableClass::addSelfAsAffectedSVToAction(BaseActionClass* action) {
  action->AffectedSVs.append(this);
}

void BaseStateVariableClass::removeSelfFromEnablingSVOfAction(BaseActionClass* action) {
  action->EnablingSVs.remove(this);
}

void BaseStateVariableClass::removeSelfFromAffectedSVOfAction(BaseActionClass* action) {
  action->AffectedSVs.remove(this);
}

List<BaseStateVariableClass>* BaseStateVariableClass::getLeafNodes() {
  List<BaseStateVariableClass>* leaves = new (std::nothrow) List<BaseStateVariableClass>(1);
  if (leaves == nullptr) {
    MemoryAllocationError();
  }
  leaves->append(this);
  return leaves;
}

int BaseStateVariableClass::getNumLeafNodes() { return 1; }

bool BaseStateVariableClass::isLeafNode() { return true; }

void BaseStateVariableClass::appendEnabledAction(BaseActionClass* action) {
  EnabledActions->append(action);
}

void BaseStateVariableClass::removeEnabledAction(BaseActionClass* action) {
  EnabledActions->remove(action);
}

void BaseStateVariableClass::replaceEnabledAction(BaseActionClass* oldAction,
                                                  BaseActionClass* newAction) {
  EnabledActions->replaceItem(oldAction, newAction);
}

void BaseStateVariableClass::SetName(const char* name) {
  char* copy = copyText(name);
  delete[] Name;
  Name = copy;
}

void BaseStateVariableClass::SetPrefix(const char* prefix) {
  char* copy = copyText(prefix);
  delete[] Prefix;
  Prefix = copy;
}

void BaseStateVariableClass::copyAffectingActions(List<BaseActionClass>* actions) {
  AffectingActions->append(actions);
}

void BaseStateVariableClass::copyEnabledActions(List<BaseActionClass>* actions) {
  EnabledActions->append(actions);
}

BaseActionClass* BaseStateVariableClass::getAffectingAction(int i) {
  return actionAt(AffectingActions, i, "!! BaseStateVariableClass::getAffectingAction(int): ",
                  " AffectingAction index out of bounds");
}

BaseActionClass* BaseStateVariableClass::getEnabledAction(int i) {
  return actionAt(EnabledActions, i, "!! BaseStateVariableClass::getEnabledAction(int): ",
                  " EnabledAction index out of bounds");
}

void BaseStateVariableClass::printAffectingActions() {
  std::cout << "Affecting actions for " << Name << ":" << std::endl;
  AffectingActions->printList();
}

void BaseStateVariableClass::printEnabledActions() {
  std::cout << "Enabled actions for " << Name << ":" << std::endl;
  EnabledActions->printList();
}
