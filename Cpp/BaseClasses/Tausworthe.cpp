#include "Cpp/BaseClasses/Tausworthe.h"

double Tausworthe::rnd() {
  std::uint32_t x = ((StateWord << 13) ^ StateWord) & 0x7fffffff;
  x = (x >> 18) ^ x;
  StateWord = x;
  return x * 4.656612875245797e-10;  // 1 / (2^31 - 1)
}

void Tausworthe::srnd(unsigned long seed) { StateWord = static_cast<std::uint32_t>(seed); }
