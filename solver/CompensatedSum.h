#ifndef SOLVER_COMPENSATEDSUM_H_
#define SOLVER_COMPENSATEDSUM_H_

#include <cmath>

namespace solver {

// A sum of many terms with Neumaier's compensation: what each addition
// rounds away is gathered apart, so that a sum of up to 1e8 small terms, or
// one less such a sum, does not drown in its rounding.
class CompensatedSum {
 public:
  void add(double term) {
    const double next = Sum + term;
    Lost += std::fabs(Sum) >= std::fabs(term) ? (Sum - next) + term : (term - next) + Sum;
    Sum = next;
  }
  double value() const { return Sum + Lost; }

 private:
  double Sum = 0.0;
  double Lost = 0.0;
};

}  // namespace solver

#endif
