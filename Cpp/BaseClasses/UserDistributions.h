#ifndef USERDISTRIBUTIONS_H_
#define USERDISTRIBUTIONS_H_

#include "Cpp/BaseClasses/Distributions.h"

// The sampler models use, with a choice of generator.
class UserDistributions : public Distributions {
 public:
  // Uses an unseeded LaggedFibonacci.
  UserDistributions();
  // Generator kind 1 is a Tausworthe, any other kind a LaggedFibonacci;
  // seeded with seed.
  UserDistributions(int kind, long seed);
};

// The process-wide sampler, built before main with kind 0 and seed 31415.
extern UserDistributions TheGenerator;
// Where activities draw their delays; points at TheGenerator.
extern UserDistributions* TheDistribution;

#endif
