#ifndef BASIC_MODEL_STUDYRANGESTUDY_H_
#define BASIC_MODEL_STUDYRANGESTUDY_H_

#include "Cpp/BaseClasses/BaseStudyClass.h"

// The model's global variables (defined in basic_model_GlobalVariables.cpp);
// the study writes them, the model reads them.
extern float flash_size;
extern float ram_size;

// The study of the basic model: 25 experiments over every combination of
// flash_size and ram_size from the levels 32, 64, 128, 256 and 512.
class basic_model_studyRangeStudy : public BaseStudyClass {
 public:
  float* flash_sizeValues;  // NumExps entries, owned
  float* ram_sizeValues;    // NumExps entries, owned

  basic_model_studyRangeStudy();
  // Also deletes the reward model, and with it the model tree.
  ~basic_model_studyRangeStudy() override;

  // Deletes the previous reward model, if any, and builds a fresh
  // basic_rewardPVModel over a freshly built model tree.
  PVModel* GetPVModel(bool expandTimeArrays) override;

  // expNum must lie in 0..NumExps-1; it is not checked here.
  void SetGVs(int expNum) override;
  void PrintGlobalValues(int expNum) override;
  void* GetGVValue(const char* name) override;
  // value points at a float.
  void OverrideGVValue(const char* name, const void* value) override;

 private:
  void SetValues_flash_size();
  void SetValues_ram_size();
};

#endif
