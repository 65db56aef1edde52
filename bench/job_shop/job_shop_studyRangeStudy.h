#ifndef JOB_SHOP_STUDYRANGESTUDY_H_
#define JOB_SHOP_STUDYRANGESTUDY_H_

#include "Cpp/BaseClasses/BaseStudyClass.h"

// The model's global variable, the capacity of every machine queue; the
// study writes it, the model reads it.
extern short queue_capacity;

// The scaling study of the job shop: 7 experiments with the queue capacity
// 1, 2, 4, 8, 16, 32 and 48, that is 16 to 5764801 states.
class job_shop_studyRangeStudy : public BaseStudyClass {
 public:
  short* queue_capacityValues;  // NumExps entries, owned

  job_shop_studyRangeStudy();
  // Also deletes the reward model, and with it the model tree.
  ~job_shop_studyRangeStudy() override;

  // Deletes the previous reward model, if any, and builds a fresh
  // job_shop_rewardPVModel over a freshly built model tree.
  PVModel* GetPVModel(bool expandTimeArrays) override;

  // expNum must lie in 0..NumExps-1; it is not checked here.
  void SetGVs(int expNum) override;
  void PrintGlobalValues(int expNum) override;
  void* GetGVValue(const char* name) override;
  // value points at a short.
  void OverrideGVValue(const char* name, const void* value) override;

 private:
  void SetValues_queue_capacity();
};

#endif
