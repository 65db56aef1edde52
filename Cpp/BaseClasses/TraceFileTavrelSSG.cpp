#include "Cpp/BaseClasses/TraceFileTavrelSSG.h"

#include "Cpp/BaseClasses/BaseActionClass.h"
#include "Cpp/BaseClasses/BaseModelClass.h"
#include "Cpp/BaseClasses/state/BaseStateVariableClass.h"

void TraceFileTavrelSSG::printHeader(PVModel*) {
  if (!writes()) {
    return;
  }
  *Stream << "**************************************" << std::endl;
  *Stream << "\t\tTRACE" << std::endl;
  *Stream << "**************************************" << std::endl;
}

void TraceFileTavrelSSG::printInitialState(BaseModelClass* m) {
  if (!writes()) {
    return;
  }
  *Stream << "Initial Model State:" << std::endl;
  printState(m);
}

void TraceFileTavrelSSG::printState(BaseModelClass* m) {
  if (!writes()) {
    return;
  }
  *Stream << "  Model: (" << m->ModelId << ")" << m->Name << std::endl;
  BaseStateVariableClass** variables = m->GetLocalStateVariables(Stream);
  if (variables != nullptr) {
    for (int i = 0; i < m->NumStateVariables; i++) {
      *Stream << "    " << variables[i]->Name << " = ";
      variables[i]->printStateVal(Stream);
      *Stream << std::endl;
    }
  }
  for (int i = 0; i < m->GetNumberOfChildren(); i++) {
    printState(m->GetChild(i));
  }
}

void TraceFileTavrelSSG::printFireAction(BaseActionClass* a, double) {
  if (shows(1)) {
    *Stream << "Firing Action: " << a->Name << std::endl;
  }
}

void TraceFileTavrelSSG::printPreFireAction(BaseActionClass* a) {
  if (!shows(2)) {
    return;
  }
  *Stream << "Enabling state before action firing:" << std::endl;
  List<BaseStateVariableClass>& enabling = a->getPrintedAction()->EnablingSVs;
  for (int i = 0; i < enabling.getNumItems(); i++) {
    *Stream << "  " << enabling[i]->Name << " = ";
    enabling[i]->printStateVal(Stream);
    *Stream << std::endl;
  }
}

void TraceFileTavrelSSG::printPostFireAction(BaseActionClass* a, BaseActionClass*) {
  if (writes()) {
    *Stream << "State after firing action: " << a->Name << std::endl;
  }
}

void TraceFileTavrelSSG::newBatch() {
  if (writes()) {
    *Stream << "##### NEW BATCH #####" << std::endl;
  }
}

void TraceFileTavrelSSG::printStr(int level, const char* text) {
  if (shows(level)) {
    *Stream << text << std::endl;
  }
}
