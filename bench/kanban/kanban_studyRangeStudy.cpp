#include "bench/kanban/kanban_studyRangeStudy.h"

#include <cstdlib>
#include <cstring>
#include <iostream>

#include "Cpp/BaseClasses/Allocate.h"
#include "Cpp/BaseClasses/StandardErrors.h"
#include "bench/kanban/kanban_rewardPVModel.h"

short t;

BaseStudyClass* GlobalStudyPtr = nullptr;

BaseStudyClass* GenerateStudy() {
  if (GlobalStudyPtr == nullptr) {
    GlobalStudyPtr = new kanban_studyRangeStudy();
  }
  return GlobalStudyPtr;
}

void DestructStudy() {
  delete GlobalStudyPtr;
  GlobalStudyPtr = nullptr;
}

namespace {

char* copyName(const char* name) {
  char* copy = strdup(name);
  if (copy == nullptr) {
    MemoryAllocationError();
  }
  return copy;
}

}  // namespace

kanban_studyRangeStudy::kanban_studyRangeStudy() {
  NumGVs = 1;
  NumExps = 7;
  GVNames = new char*[NumGVs];
  GVTypes = new char*[NumGVs];
  GVNames[0] = copyName("t");
  GVTypes[0] = copyName("short");
  tValues = new short[NumExps];
  SetValues_t();
  SetDefaultTavrelRoot("c:/Tavrel-2.4/");
}

kanban_studyRangeStudy::~kanban_studyRangeStudy() {
  delete[] tValues;
  delete ThePVModel;
}

PVModel* kanban_studyRangeStudy::GetPVModel(bool expandTimeArrays) {
  delete ThePVModel;
  ThePVModel = newObject<kanban_rewardPVModel>(expandTimeArrays);
  return ThePVModel;
}

void kanban_studyRangeStudy::SetValues_t() {
  static const short kValues[7] = {1, 2, 3, 4, 5, 6, 7};
  std::memcpy(tValues, kValues, sizeof kValues);
}

void kanban_studyRangeStudy::SetGVs(int expNum) { t = tValues[expNum]; }

void kanban_studyRangeStudy::PrintGlobalValues(int expNum) {
  if (NumGVs == 0) {
    std::cout << "There are no global variables." << std::endl;
    return;
  }
  SetGVs(expNum);
  std::cout << "The Global Variable values for experiment " << GetExpName(expNum)
            << " are:" << std::endl;
  std::cout << "t\tshort\t" << t << std::endl;
}

void* kanban_studyRangeStudy::GetGVValue(const char* name) {
  if (std::strcmp("t", name) == 0) {
    return &t;
  }
  std::cerr << "!! kanban_studyRangeStudy::GetGVValue: Global Variable " << name
            << " does not exist." << std::endl;
  return nullptr;
}

void kanban_studyRangeStudy::OverrideGVValue(const char* name, const void* value) {
  if (std::strcmp("t", name) != 0) {
    std::cerr << "!! kanban_studyRangeStudy::OverrideGVValue: Global Variable " << name
              << " does not exist." << std::endl;
    return;
  }
  std::memcpy(&t, value, sizeof(short));
}
