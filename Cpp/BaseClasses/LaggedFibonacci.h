#ifndef LAGGEDFIBONACCI_H_
#define LAGGEDFIBONACCI_H_

#include "Cpp/BaseClasses/RandomNumberGenerator.h"

// Serves uniforms from a buffer that Knuth's lagged-Fibonacci generator
// (Rnd-KnuthLaggedFibonacci.h) refills. Knuth's state and the read index are
// process-wide, so all instances draw from one shared stream, and seeding any
// of them restarts it.
class LaggedFibonacci : public RandomNumberGenerator {
 public:
  static constexpr int BufferSize = 100;

  // Returns the buffer entry at the shared read index and advances it. When
  // the index has reached BufferSize, it restarts at 0 after the buffer is
  // refilled from Knuth's stream.
  double rnd() override;
  // Restarts Knuth's stream from seed and fills the buffer from it (twice,
  // keeping the second batch). The shared read index is left where it is.
  void srnd(unsigned long seed) override;

 private:
  // Zero until seeded, so a generator that was never seeded reads zeros
  // rather than indeterminate memory.
  double Buffer[BufferSize] = {};
};

#endif
