#ifndef MEMORY_ARRAY_STUDYRANGESTUDY_H_
#define MEMORY_ARRAY_STUDYRANGESTUDY_H_

#include "Cpp/BaseClasses/BaseStudyClass.h"
// flash_size and ram_size belong to the reused flash and RAM models and are
// declared with them.
#include "model/basic_model_studyRangeStudy.h"

// The number of RAMs in the array; the study writes it, the join reads it
// when it is built.
extern int num_rams;

// The study of the memory array: 12 experiments, experiment e with e + 1
// RAMs, flash_size and ram_size fixed at 256 (half the seus corrupt the
// flash, half the bit errors corrupt a RAM).
class memory_array_studyRangeStudy : public BaseStudyClass {
 public:
  int* num_ramsValues;      // NumExps entries, owned
  float* flash_sizeValues;  // NumExps entries, owned
  float* ram_sizeValues;    // NumExps entries, owned

  memory_array_studyRangeStudy();
  // Also deletes the reward model, and with it the model tree.
  ~memory_array_studyRangeStudy() override;

  // Deletes the previous reward model, if any, and builds a fresh
  // memory_array_rewardPVModel over a freshly built model tree.
  PVModel* GetPVModel(bool expandTimeArrays) override;

  // expNum must lie in 0..NumExps-1; it is not checked here.
  void SetGVs(int expNum) override;
  void PrintGlobalValues(int expNum) override;
  void* GetGVValue(const char* name) override;
  // value points at an int for num_rams, at a float for the others.
  void OverrideGVValue(const char* name, const void* value) override;

 private:
  void SetValues_num_rams();
  void SetValues_flash_size();
  void SetValues_ram_size();
};

#endif
