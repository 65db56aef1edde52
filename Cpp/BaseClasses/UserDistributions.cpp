#include "Cpp/BaseClasses/UserDistributions.h"

#include <new>

#include "Cpp/BaseClasses/LaggedFibonacci.h"
#include "Cpp/BaseClasses/Tausworthe.h"

namespace {

// Null when the allocation fails.
RandomNumberGenerator* newGenerator(int kind) {
  if (kind == 1) {
    return new (std::nothrow) Tausworthe;
  }
  return new (std::nothrow) LaggedFibonacci;
}

}  // namespace

UserDistributions::UserDistributions() { replaceGenerator(new (std::nothrow) LaggedFibonacci); }

UserDistributions::UserDistributions(int kind, long seed) {
  replaceGenerator(newGenerator(kind));
  Generator->srnd(static_cast<unsigned long>(seed));
}

UserDistributions TheGenerator(0, 31415);
UserDistributions* TheDistribution = &TheGenerator;
