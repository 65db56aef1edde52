#include "bench/memory_array/memory_arrayRJ.h"

#include "Cpp/BaseClasses/Allocate.h"
#include "Cpp/BaseClasses/FrameworkAssert.h"
#include "bench/memory_array/memory_array_studyRangeStudy.h"

const char* memory_arrayRJ__SharedNames[1] = {"flash_corrupted"};

namespace {

// The flash and the RAMs; checked before the join sizes its arrays by it.
int numChildren() {
  SAN_ASSERT(num_rams >= 0, "num_rams >= 0", "memory_arrayRJ.cpp");
  return num_rams + 1;
}

}  // namespace

memory_arrayRJ::memory_arrayRJ()
    : Join("Join1", numChildren(), 1, memory_arrayRJ__SharedNames),
      flash_system(nullptr),
      NumRams(num_rams),
      ram_system(nullptr),
      flash_corrupted(nullptr) {
  flash_system = newObject<flash_systemSAN>();
  Children[0] = flash_system;
  flash_system->DefineName("flash_system");
  ram_system = newArray<ram_systemSAN*>(NumRams);
  for (int i = 0; i < NumRams; i++) {
    ram_system[i] = newObject<ram_systemSAN>();
    Children[i + 1] = ram_system[i];
    ram_system[i]->DefineName("ram_system");
  }

  SetupActions();

  if (AllChildrenEmpty()) {
    NumSharedStateVariables = 0;
  } else {
    flash_corrupted = newObject<Place>("flash_corrupted");
    addSharedPtr(flash_corrupted, "flash_corrupted");
    shareWithChild(flash_corrupted, flash_system->flash_corrupted, flash_system);
    for (int i = 0; i < NumRams; i++) {
      shareWithChild(flash_corrupted, ram_system[i]->flash_corrupted, ram_system[i]);
    }
  }

  Setup();
}

memory_arrayRJ::~memory_arrayRJ() {
  // The shared place (absent when the children are empty) owns the storage
  // the children's places use; their destructors no longer touch it.
  delete flash_corrupted;
  delete flash_system;
  for (int i = 0; i < NumRams; i++) {
    delete ram_system[i];
  }
  delete[] ram_system;
}
