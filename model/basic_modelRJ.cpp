#include "model/basic_modelRJ.h"

#include "Cpp/BaseClasses/Allocate.h"

const char* basic_modelRJ__SharedNames[1] = {"flash_corrupted"};

basic_modelRJ::basic_modelRJ()
    : Join("Join1", 2, 1, basic_modelRJ__SharedNames),
      flash_system(nullptr),
      ram_system(nullptr),
      flash_corrupted(nullptr) {
  flash_system = newObject<flash_systemSAN>();
  Children[0] = flash_system;
  flash_system->DefineName("flash_system");
  ram_system = newObject<ram_systemSAN>();
  Children[1] = ram_system;
  ram_system->DefineName("ram_system");

  SetupActions();

  if (AllChildrenEmpty()) {
    NumSharedStateVariables = 0;
  } else {
    flash_corrupted = newObject<Place>("flash_corrupted");
    addSharedPtr(flash_corrupted, "flash_corrupted");
    shareWithChild(flash_corrupted, flash_system->flash_corrupted, flash_system);
    shareWithChild(flash_corrupted, ram_system->flash_corrupted, ram_system);
  }

  Setup();
}

basic_modelRJ::~basic_modelRJ() {
  // The shared place (absent when the children are empty) owns the storage
  // the children's places use; their destructors no longer touch it.
  delete flash_corrupted;
  delete flash_system;
  delete ram_system;
}
