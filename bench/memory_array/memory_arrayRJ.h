#ifndef MEMORY_ARRAYRJ_H_
#define MEMORY_ARRAYRJ_H_

#include "Cpp/BaseClasses/state/Place.h"
#include "Cpp/Composer/Join.h"
#include "model/flash_systemSAN.h"
#include "model/ram_systemSAN.h"

// The names of the join's shared variables, in order.
extern const char* memory_arrayRJ__SharedNames[1];

// The memory array: one flash memory (child 0) and num_rams RAMs (children
// 1 to num_rams), all built from the flash and RAM models of the reliability
// model and joined on their place flash_corrupted. The RAMs see the flash's
// corruption but no RAM activity reads it, so the RAMs evolve independently:
// the flash has 2 reachable markings and each RAM 4, giving 2 x 4^num_rams
// states. Every RAM carries the deterministic watchdog_reboot and the flash
// the deterministic power_cycle, so the generator runs in deterministic mode.
class memory_arrayRJ : public Join {
 public:
  flash_systemSAN* flash_system;  // owned
  int NumRams;                    // num_rams when the join was built
  ram_systemSAN** ram_system;     // NumRams entries; the array and the models are owned
  Place* flash_corrupted;         // owned; the shared place, null when the children are empty

  // Builds num_rams RAMs; num_rams must not be negative.
  memory_arrayRJ();
  ~memory_arrayRJ() override;
};

#endif
