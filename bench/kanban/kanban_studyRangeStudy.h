#ifndef KANBAN_STUDYRANGESTUDY_H_
#define KANBAN_STUDYRANGESTUDY_H_

#include "Cpp/BaseClasses/BaseStudyClass.h"

// The model's global variable, the kanban tokens per cell; the study writes
// it, the model reads it.
extern short t;

// The study of the Kanban benchmark: 7 experiments, experiment e (0-based)
// with t = e + 1.
class kanban_studyRangeStudy : public BaseStudyClass {
 public:
  short* tValues;  // NumExps entries, owned

  kanban_studyRangeStudy();
  // Also deletes the reward model, and with it the model tree.
  ~kanban_studyRangeStudy() override;

  // Deletes the previous reward model, if any, and builds a fresh
  // kanban_rewardPVModel over a freshly built model tree.
  PVModel* GetPVModel(bool expandTimeArrays) override;

  // expNum must lie in 0..NumExps-1; it is not checked here.
  void SetGVs(int expNum) override;
  void PrintGlobalValues(int expNum) override;
  void* GetGVValue(const char* name) override;
  // value points at a short.
  void OverrideGVValue(const char* name, const void* value) override;

 private:
  void SetValues_t();
};

#endif
