#include "bench/kanban/kanban_studyRangeStudy.h"

#include <cstring>
#include <iostream>

#include "Cpp/BaseClasses/Allocate.h"
#include "bench/kanban/kanban_rewardPVModel.h"

short t;

BaseStudyClass* GenerateStudy() { return generateSingleStudy<kanban_studyRangeStudy>(); }

void DestructStudy() { destructSingleStudy(); }

kanban_studyRangeStudy::kanban_studyRangeStudy() {
  NumExps = 7;
  declareGVs(1);
  declareGV(0, "t", "short");
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
  if (!printValuesHeading(expNum)) {
    return;
  }
  std::cout << "t\tshort\t" << t << std::endl;
}

void* kanban_studyRangeStudy::GetGVValue(const char* name) {
  if (std::strcmp("t", name) == 0) {
    return &t;
  }
  reportUnknownGV("kanban_studyRangeStudy", "GetGVValue", name);
  return nullptr;
}

void kanban_studyRangeStudy::OverrideGVValue(const char* name, const void* value) {
  if (std::strcmp("t", name) != 0) {
    reportUnknownGV("kanban_studyRangeStudy", "OverrideGVValue", name);
    return;
  }
  std::memcpy(&t, value, sizeof(short));
}
