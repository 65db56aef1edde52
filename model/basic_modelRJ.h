#ifndef BASIC_MODELRJ_H_
#define BASIC_MODELRJ_H_

#include "Cpp/BaseClasses/state/Place.h"
#include "Cpp/Composer/Join.h"
#include "model/flash_systemSAN.h"
#include "model/ram_systemSAN.h"

// The names of the join's shared variables, in order.
extern const char* basic_modelRJ__SharedNames[1];

// The composed reliability model: the flash memory (child 0) and the RAM
// (child 1) joined on their place flash_corrupted, so that a corruption of
// the flash is seen by the RAM model.
class basic_modelRJ : public Join {
 public:
  flash_systemSAN* flash_system;  // owned
  ram_systemSAN* ram_system;      // owned
  Place* flash_corrupted;         // owned; the shared place, null when the children are empty

  basic_modelRJ();
  ~basic_modelRJ() override;
};

#endif
