#include "bench/job_shop/job_shop_studyRangeStudy.h"

#include <cstring>
#include <iostream>

#include "Cpp/BaseClasses/Allocate.h"
#include "bench/job_shop/job_shop_rewardPVModel.h"

short queue_capacity;

BaseStudyClass* GenerateStudy() { return generateSingleStudy<job_shop_studyRangeStudy>(); }

void DestructStudy() { destructSingleStudy(); }

job_shop_studyRangeStudy::job_shop_studyRangeStudy() {
  NumExps = 7;
  declareGVs(1);
  declareGV(0, "queue_capacity", "short");
  queue_capacityValues = new short[NumExps];
  SetValues_queue_capacity();
  SetDefaultTavrelRoot("c:/Tavrel-2.4/");
}

job_shop_studyRangeStudy::~job_shop_studyRangeStudy() {
  delete[] queue_capacityValues;
  delete ThePVModel;
}

PVModel* job_shop_studyRangeStudy::GetPVModel(bool expandTimeArrays) {
  delete ThePVModel;
  ThePVModel = newObject<job_shop_rewardPVModel>(expandTimeArrays);
  return ThePVModel;
}

void job_shop_studyRangeStudy::SetValues_queue_capacity() {
  static const short kValues[7] = {1, 2, 4, 8, 16, 32, 48};
  std::memcpy(queue_capacityValues, kValues, sizeof kValues);
}

void job_shop_studyRangeStudy::SetGVs(int expNum) { queue_capacity = queue_capacityValues[expNum]; }

void job_shop_studyRangeStudy::PrintGlobalValues(int expNum) {
  if (!printValuesHeading(expNum)) {
    return;
  }
  std::cout << "queue_capacity\tshort\t" << queue_capacity << std::endl;
}

void* job_shop_studyRangeStudy::GetGVValue(const char* name) {
  if (std::strcmp("queue_capacity", name) == 0) {
    return &queue_capacity;
  }
  reportUnknownGV("job_shop_studyRangeStudy", "GetGVValue", name);
  return nullptr;
}

void job_shop_studyRangeStudy::OverrideGVValue(const char* name, const void* value) {
  if (std::strcmp("queue_capacity", name) != 0) {
    reportUnknownGV("job_shop_studyRangeStudy", "OverrideGVValue", name);
    return;
  }
  std::memcpy(&queue_capacity, value, sizeof(short));
}
