#include "bench/memory_array/memory_array_studyRangeStudy.h"

#include <cstring>
#include <iostream>

#include "Cpp/BaseClasses/Allocate.h"
#include "bench/memory_array/memory_array_rewardPVModel.h"

BaseStudyClass* GenerateStudy() { return generateSingleStudy<memory_array_studyRangeStudy>(); }

void DestructStudy() { destructSingleStudy(); }

memory_array_studyRangeStudy::memory_array_studyRangeStudy() {
  NumExps = 12;
  declareGVs(3);
  declareGV(0, "num_rams", "int");
  declareGV(1, "flash_size", "float");
  declareGV(2, "ram_size", "float");
  num_ramsValues = new int[NumExps];
  flash_sizeValues = new float[NumExps];
  ram_sizeValues = new float[NumExps];
  SetValues_num_rams();
  SetValues_flash_size();
  SetValues_ram_size();
  SetDefaultTavrelRoot("c:/Tavrel-2.4/");
}

memory_array_studyRangeStudy::~memory_array_studyRangeStudy() {
  delete[] num_ramsValues;
  delete[] flash_sizeValues;
  delete[] ram_sizeValues;
  delete ThePVModel;
}

PVModel* memory_array_studyRangeStudy::GetPVModel(bool expandTimeArrays) {
  delete ThePVModel;
  ThePVModel = newObject<memory_array_rewardPVModel>(expandTimeArrays);
  return ThePVModel;
}

// clang-format off
void memory_array_studyRangeStudy::SetValues_num_rams() {
  static const int kValues[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
  std::memcpy(num_ramsValues, kValues, sizeof kValues);
}

void memory_array_studyRangeStudy::SetValues_flash_size() {
  static const float kValues[12] = {256, 256, 256, 256, 256, 256,
                                    256, 256, 256, 256, 256, 256};
  std::memcpy(flash_sizeValues, kValues, sizeof kValues);
}

void memory_array_studyRangeStudy::SetValues_ram_size() {
  static const float kValues[12] = {256, 256, 256, 256, 256, 256,
                                    256, 256, 256, 256, 256, 256};
  std::memcpy(ram_sizeValues, kValues, sizeof kValues);
}
// clang-format on

void memory_array_studyRangeStudy::SetGVs(int expNum) {
  num_rams = num_ramsValues[expNum];
  flash_size = flash_sizeValues[expNum];
  ram_size = ram_sizeValues[expNum];
}

void memory_array_studyRangeStudy::PrintGlobalValues(int expNum) {
  if (!printValuesHeading(expNum)) {
    return;
  }
  std::cout << "num_rams\tint\t" << num_rams << std::endl;
  std::cout << "flash_size\tfloat\t" << static_cast<double>(flash_size) << std::endl;
  std::cout << "ram_size\tfloat\t" << static_cast<double>(ram_size) << std::endl;
}

void* memory_array_studyRangeStudy::GetGVValue(const char* name) {
  if (std::strcmp("num_rams", name) == 0) {
    return &num_rams;
  }
  if (std::strcmp("flash_size", name) == 0) {
    return &flash_size;
  }
  if (std::strcmp("ram_size", name) == 0) {
    return &ram_size;
  }
  reportUnknownGV("memory_array_studyRangeStudy", "GetGVValue", name);
  return nullptr;
}

void memory_array_studyRangeStudy::OverrideGVValue(const char* name, const void* value) {
  if (std::strcmp("num_rams", name) == 0) {
    std::memcpy(&num_rams, value, sizeof(int));
  } else if (std::strcmp("flash_size", name) == 0) {
    std::memcpy(&flash_size, value, sizeof(float));
  } else if (std::strcmp("ram_size", name) == 0) {
    std::memcpy(&ram_size, value, sizeof(float));
  } else {
    reportUnknownGV("memory_array_studyRangeStudy", "OverrideGVValue", name);
  }
}
