#ifndef TESTS_BASECLASSES_TESTACTIVITIES_H_
#define TESTS_BASECLASSES_TESTACTIVITIES_H_

#include <new>

#include "Cpp/BaseClasses/Activity.h"
#include "Cpp/BaseClasses/RandomNumberGenerator.h"
#include "Cpp/BaseClasses/UserDistributions.h"

namespace group_test {

// An activity whose predicate, weight, rank and phase count the test sets.
// Enabled() follows the contract of generated activities.
class TestActivity : public Activity {
 public:
  bool predicate = true;
  double weight = 1.0;
  int rank = 1;
  double phases = 1.0;
  int evaluations = 0;
  int firings = 0;

  explicit TestActivity(const char* name, Distribution distribution = Exponential) {
    ActivityInitialize(name, 0, distribution, RaceEnabled, 0, 0, false);
  }
  bool Enabled() override {
    evaluations++;
    OldEnabled = NewEnabled;
    NewEnabled = predicate;
    return NewEnabled;
  }
  double Weight() override { return weight; }
  double Rate() override { return 2.0; }
  int Rank() override { return rank; }
  double SampleDistribution() override { return 0.5; }
  BaseActionClass* Fire() override {
    firings++;
    return this;
  }
  double ErlangParamM() override { return phases; }
  void LinkVariables() override {}
};

// A generator that returns the draw the test sets.
class FixedDraw : public RandomNumberGenerator {
 public:
  double next = 0.0;
  int draws = 0;
  double rnd() override {
    draws++;
    return next;
  }
};

// Makes the global sampler draw from a FixedDraw while it lives.
class FixedSampler : public UserDistributions {
 public:
  FixedDraw* draw;
  FixedSampler() : draw(new (std::nothrow) FixedDraw) {
    replaceGenerator(draw);
    previous = TheDistribution;
    TheDistribution = this;
  }
  ~FixedSampler() { TheDistribution = previous; }

 private:
  UserDistributions* previous;
};

}  // namespace group_test

#endif
