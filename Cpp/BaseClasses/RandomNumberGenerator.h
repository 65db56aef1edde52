#ifndef RANDOMNUMBERGENERATOR_H_
#define RANDOMNUMBERGENERATOR_H_

// An exchangeable source of uniform variates on the unit interval. The
// sampler (Distributions) owns one and turns its output into variates of the
// standard distributions.
class RandomNumberGenerator {
 public:
  virtual ~RandomNumberGenerator();
  // The next uniform variate; the base returns 0.0.
  virtual double rnd();
  // Restarts the stream from seed; the base does nothing.
  virtual void srnd(unsigned long seed);
};

#endif
