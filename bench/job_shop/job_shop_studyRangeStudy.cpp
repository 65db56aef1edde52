#include "bench/job_shop/job_shop_studyRangeStudy.h"

#include <cstring>
#include <iostream>

#include "Cpp/BaseClasses/Allocate.h"
#include "Cpp/BaseClasses/StandardErrors.h"
#include "bench/job_shop/job_shop_rewardPVModel.h"

short queue_capacity;

BaseStudyClass* GlobalStudyPtr = nullptr;

BaseStudyClass* GenerateStudy() {
  if (GlobalStudyPtr == nullptr) {
    GlobalStudyPtr = new job_shop_studyRangeStudy();
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

job_shop_studyRangeStudy::job_shop_studyRangeStudy() {
  NumGVs = 1;
  NumExps = 7;
  GVNames = new char*[NumGVs];
  GVTypes = new char*[NumGVs];
  GVNames[0] = copyName("queue_capacity");
  GVTypes[0] = copyName("short");
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
  if (NumGVs == 0) {
    std::cout << "There are no global variables." << std::endl;
    return;
  }
  SetGVs(expNum);
  std::cout << "The Global Variable values for experiment " << GetExpName(expNum)
            << " are:" << std::endl;
  std::cout << "queue_capacity\tshort\t" << queue_capacity << std::endl;
}

void* job_shop_studyRangeStudy::GetGVValue(const char* name) {
  if (std::strcmp("queue_capacity", name) == 0) {
    return &queue_capacity;
  }
  std::cerr << "!! job_shop_studyRangeStudy::GetGVValue: Global Variable " << name
            << " does not exist." << std::endl;
  return nullptr;
}

void job_shop_studyRangeStudy::OverrideGVValue(const char* name, const void* value) {
  if (std::strcmp("queue_capacity", name) != 0) {
    std::cerr << "!! job_shop_studyRangeStudy::OverrideGVValue: Global Variable " << name
              << " does not exist." << std::endl;
    return;
  }
  std::memcpy(&queue_capacity, value, sizeof(short));
}
