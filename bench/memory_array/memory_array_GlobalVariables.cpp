#include "bench/memory_array/memory_array_studyRangeStudy.h"

// The global variable of the memory array itself; flash_size and ram_size
// come with the flash and RAM models.
int num_rams;
