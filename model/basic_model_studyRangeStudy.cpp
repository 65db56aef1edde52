#include "model/basic_model_studyRangeStudy.h"

#include <cstdlib>
#include <cstring>
#include <iostream>

#include "Cpp/BaseClasses/Allocate.h"
#include "Cpp/BaseClasses/StandardErrors.h"
#include "model/basic_rewardPVModel.h"

BaseStudyClass* GlobalStudyPtr = nullptr;

BaseStudyClass* GenerateStudy() {
  if (GlobalStudyPtr == nullptr) {
    GlobalStudyPtr = new basic_model_studyRangeStudy();
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

basic_model_studyRangeStudy::basic_model_studyRangeStudy() {
  NumGVs = 2;
  NumExps = 25;
  GVNames = new char*[NumGVs];
  GVTypes = new char*[NumGVs];
  GVNames[0] = copyName("flash_size");
  GVTypes[0] = copyName("float");
  GVNames[1] = copyName("ram_size");
  GVTypes[1] = copyName("float");
  flash_sizeValues = new float[NumExps];
  ram_sizeValues = new float[NumExps];
  SetValues_flash_size();
  SetValues_ram_size();
  SetDefaultTavrelRoot("c:/Tavrel-2.4/");
}

basic_model_studyRangeStudy::~basic_model_studyRangeStudy() {
  delete[] flash_sizeValues;
  delete[] ram_sizeValues;
  delete ThePVModel;
}

PVModel* basic_model_studyRangeStudy::GetPVModel(bool expandTimeArrays) {
  delete ThePVModel;
  ThePVModel = newObject<basic_rewardPVModel>(expandTimeArrays);
  return ThePVModel;
}

// One row per ram_size level; flash_size varies fastest.
// clang-format off
void basic_model_studyRangeStudy::SetValues_flash_size() {
  static const float kValues[25] = {32, 64, 128, 256, 512,
                                    32, 64, 128, 256, 512,
                                    32, 64, 128, 256, 512,
                                    32, 64, 128, 256, 512,
                                    32, 64, 128, 256, 512};
  std::memcpy(flash_sizeValues, kValues, sizeof kValues);
}

void basic_model_studyRangeStudy::SetValues_ram_size() {
  static const float kValues[25] = { 32,  32,  32,  32,  32,
                                     64,  64,  64,  64,  64,
                                    128, 128, 128, 128, 128,
                                    256, 256, 256, 256, 256,
                                    512, 512, 512, 512, 512};
  std::memcpy(ram_sizeValues, kValues, sizeof kValues);
}
// clang-format on

void basic_model_studyRangeStudy::SetGVs(int expNum) {
  flash_size = flash_sizeValues[expNum];
  ram_size = ram_sizeValues[expNum];
}

void basic_model_studyRangeStudy::PrintGlobalValues(int expNum) {
  if (NumGVs == 0) {
    std::cout << "There are no global variables." << std::endl;
    return;
  }
  SetGVs(expNum);
  std::cout << "The Global Variable values for experiment " << GetExpName(expNum)
            << " are:" << std::endl;
  std::cout << "flash_size\tfloat\t" << static_cast<double>(flash_size) << std::endl;
  std::cout << "ram_size\tfloat\t" << static_cast<double>(ram_size) << std::endl;
}

void* basic_model_studyRangeStudy::GetGVValue(const char* name) {
  if (std::strcmp("flash_size", name) == 0) {
    return &flash_size;
  }
  if (std::strcmp("ram_size", name) == 0) {
    return &ram_size;
  }
  std::cerr << "!! basic_model_studyRangeStudy::GetGVValue: Global Variable " << name
            << " does not exist." << std::endl;
  return nullptr;
}

void basic_model_studyRangeStudy::OverrideGVValue(const char* name, const void* value) {
  float* target = nullptr;
  if (std::strcmp("flash_size", name) == 0) {
    target = &flash_size;
  } else if (std::strcmp("ram_size", name) == 0) {
    target = &ram_size;
  } else {
    std::cerr << "!! basic_model_studyRangeStudy::OverrideGVValue: Global Variable " << name
              << " does not exist." << std::endl;
    return;
  }
  std::memcpy(target, value, sizeof(float));
}
