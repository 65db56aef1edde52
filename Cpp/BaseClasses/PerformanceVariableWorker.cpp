#include "Cpp/BaseClasses/PerformanceVariableWorker.h"

#include <cstring>
#include <iostream>
#include <new>

#include "Cpp/BaseClasses/StandardErrors.h"

PerformanceVariableWorker::PerformanceVariableWorker()
    : ModelRefs(nullptr), NumModelRefs(0), Name(nullptr), Index(-1), PVId(-1), Value(0.0) {}

PerformanceVariableWorker::~PerformanceVariableWorker() {
  delete[] Name;
  delete[] ModelRefs;
}

void PerformanceVariableWorker::CurrentReward() {
  std::cerr << "!! Calling PerformanceVariableWorker::CurrentReward()" << std::endl;
}

void PerformanceVariableWorker::Reset() { Value = 0.0; }

void PerformanceVariableWorker::DefineName(const char* name, int index) {
  char* copy = new (std::nothrow) char[std::strlen(name) + 1];
  if (copy == nullptr) {
    MemoryAllocationError();
  }
  delete[] Name;
  Name = std::strcpy(copy, name);
  Index = index;
}

void InstantOfTime::CurrentReward() { Value = Reward_Function(); }

void InstantOfTime::Accumulate(double, double) { Value = Reward_Function(); }
