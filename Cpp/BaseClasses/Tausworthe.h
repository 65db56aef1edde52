#ifndef TAUSWORTHE_H_
#define TAUSWORTHE_H_

#include <cstdint>

#include "Cpp/BaseClasses/RandomNumberGenerator.h"

// A shift-register generator with a private 32-bit state word. A zero state
// is a fixed point: seeded with 0 it returns 0 forever.
class Tausworthe : public RandomNumberGenerator {
 public:
  // Advances the state word and returns it divided by 2^31 - 1, so the
  // result lies in [0, 1].
  double rnd() override;
  // The state becomes the low 32 bits of seed.
  void srnd(unsigned long seed) override;

 private:
  std::uint32_t StateWord = 0;
};

#endif
