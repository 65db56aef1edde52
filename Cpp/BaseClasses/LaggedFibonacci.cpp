#include "Cpp/BaseClasses/LaggedFibonacci.h"

#include "Cpp/BaseClasses/Rnd-KnuthLaggedFibonacci.h"

static_assert(LaggedFibonacci::BufferSize >= KK, "ranf_array fills at least KK values");

namespace {

// Shared by every instance: together with Knuth's process-wide state it makes
// all LaggedFibonacci objects one stream.
int SharedIndex = 0;

}  // namespace

double LaggedFibonacci::rnd() {
  if (SharedIndex == BufferSize) {
    SharedIndex = 0;
    ranf_array(Buffer, BufferSize);
  }
  return Buffer[SharedIndex++];
}

void LaggedFibonacci::srnd(unsigned long seed) {
  ranf_start(static_cast<long>(seed));
  ranf_array(Buffer, BufferSize);
  ranf_array(Buffer, BufferSize);
}
