#ifndef WEIGHTTOTAL_H_
#define WEIGHTTOTAL_H_

#include <algorithm>
#include <cmath>

// The total of the weights among which one is chosen, and each weight's
// share of it. Finite weights whose plain sum overflows are summed again,
// all scaled by one power of two: the shares then come out as they would
// without a limit on the range, instead of as 0 (a firing lost).
class WeightTotal {
 public:
  void add(double weight) {
    Sum += Exponent == 0 ? weight : std::ldexp(weight, -Exponent);
    Largest = std::max(Largest, weight);
  }
  // Forgets the weights added (the scale stays).
  void clear() {
    Sum = 0.0;
    Largest = 0.0;
  }
  // True when the plain sum overflowed though every weight was finite: then
  // rescale() and add every weight once more.
  bool overflowed() const { return Exponent == 0 && std::isinf(Sum) && std::isfinite(Largest); }
  void rescale() {
    Exponent = std::ilogb(Largest) + 1;
    clear();
  }
  // weight / total, exact to rounding whenever every weight is finite.
  double share(double weight) const {
    return Exponent == 0 ? weight / Sum : std::ldexp(weight, -Exponent) / Sum;
  }
  bool empty() const { return Sum == 0.0; }

 private:
  double Sum = 0.0;
  double Largest = 0.0;
  int Exponent = 0;  // the weights are scaled by 2^-Exponent; 0 while unscaled
};

#endif
