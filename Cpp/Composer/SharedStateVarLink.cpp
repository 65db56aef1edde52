#include "Cpp/Composer/SharedStateVarLink.h"

#include <iostream>

#include "Cpp/BaseClasses/state/BaseStateVariableClass.h"

SharedStateVarLink::SharedStateVarLink() : SharedStateVarLink(nullptr, nullptr) {}

SharedStateVarLink::SharedStateVarLink(BaseStateVariableClass* stateVariable)
    : SharedStateVarLink(stateVariable, nullptr) {}

SharedStateVarLink::SharedStateVarLink(BaseStateVariableClass* stateVariable, BaseModelClass* model)
    : StateVariable(stateVariable), Model(model), Next(nullptr) {}

bool SharedStateVarLink::hasStateVar(BaseStateVariableClass* sv) const {
  for (const SharedStateVarLink* link = this; link != nullptr; link = link->Next) {
    if (link->StateVariable == sv) {
      return true;
    }
  }
  return false;
}

void SharedStateVarLink::addStateVarLink(SharedStateVarLink* link) {
  SharedStateVarLink* last = this;
  while (last->Next != nullptr) {
    last = last->Next;
  }
  last->Next = link;
}

void SharedStateVarLink::clearStateVarList(SharedStateVarLink* head) {
  while (head != nullptr) {
    SharedStateVarLink* next = head->Next;
    delete head;
    head = next;
  }
}

void SharedStateVarLink::printAllStateVariables() const {
  for (const SharedStateVarLink* link = this; link != nullptr; link = link->Next) {
    std::cout << "      This link holds state var " << link->StateVariable->Name << " at address "
              << static_cast<const void*>(link->StateVariable) << std::endl;
  }
}
