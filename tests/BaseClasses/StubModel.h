#ifndef TESTS_BASECLASSES_STUBMODEL_H_
#define TESTS_BASECLASSES_STUBMODEL_H_

#include "Cpp/BaseClasses/BaseModelClass.h"

// The smallest concrete model: every abstract slot stubbed out, an empty
// state vector equal to every other. Tests derive from it and override the
// slots they exercise.
class StubModel : public BaseModelClass {
 public:
  void listModels(const char*, List<BaseModelClass>*) override {}
  void CurrentState(void*) override {}
  void listActions(List<BaseActionClass>*) override {}
  void listGroups(List<BaseGroupClass>*) override {}
  void SetState(void*) override {}
  int StateSize() override { return 0; }
  bool CompareState(void*, void*) override { return true; }
  void listActions(const char*, List<BaseActionClass>*) override {}
  void listSVs(const char*, const char*, List<BaseStateVariableClass>*,
               List<BaseModelClass>*) override {}
};

#endif
