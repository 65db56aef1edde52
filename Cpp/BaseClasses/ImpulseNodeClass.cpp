#include "Cpp/BaseClasses/ImpulseNodeClass.h"

#include <cstdlib>
#include <cstring>

#include "Cpp/BaseClasses/StandardErrors.h"

ImpulseNodeClass::ImpulseNodeClass()
    : ModelRefs(nullptr),
      NumModelRefs(0),
      OwnModel(nullptr),
      Name(nullptr),
      Index(-1),
      ImpulseIndex(-1),
      NumModelDependencies(0),
      PVId(-1),
      Value(0.0) {}

ImpulseNodeClass::~ImpulseNodeClass() {
  std::free(Name);
  delete[] ModelRefs;
}

void ImpulseNodeClass::DefineName(const char* name, int impulse, int index) {
  char* copy = strdup(name);
  if (copy == nullptr) {
    MemoryAllocationError();
  }
  std::free(Name);
  Name = copy;
  ImpulseIndex = impulse;
  Index = index;
}
