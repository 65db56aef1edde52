#include "model/basic_model_studyRangeStudy.h"

#include <cstring>
#include <iostream>

#include "Cpp/BaseClasses/Allocate.h"
#include "model/basic_rewardPVModel.h"

BaseStudyClass* GenerateStudy() { return generateSingleStudy<basic_model_studyRangeStudy>(); }

void DestructStudy() { destructSingleStudy(); }

basic_model_studyRangeStudy::basic_model_studyRangeStudy() {
  NumExps = 25;
  declareGVs(2);
  declareGV(0, "flash_size", "float");
  declareGV(1, "ram_size", "float");
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
  if (!printValuesHeading(expNum)) {
    return;
  }
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
  reportUnknownGV("basic_model_studyRangeStudy", "GetGVValue", name);
  return nullptr;
}

void basic_model_studyRangeStudy::OverrideGVValue(const char* name, const void* value) {
  float* target = nullptr;
  if (std::strcmp("flash_size", name) == 0) {
    target = &flash_size;
  } else if (std::strcmp("ram_size", name) == 0) {
    target = &ram_size;
  } else {
    reportUnknownGV("basic_model_studyRangeStudy", "OverrideGVValue", name);
    return;
  }
  std::memcpy(target, value, sizeof(float));
}
