#ifndef PLACE_H_
#define PLACE_H_

#include "Cpp/BaseClasses/StandardErrors.h"
#include "Cpp/BaseClasses/state/SharableSV.h"

// A SAN place: a sharable variable whose marking is a short. Mark is a
// second holder of the storage, so it designates the shared cell after the
// place has been shared.
class Place : public SharableSV<short> {
 public:
  short* Mark;

  Place();  // named "default", marking 0
  explicit Place(const char* name, short mark = 0);

  short getMark() const { return *Mark; }
  void setMark(short mark) { *Mark = mark; }
  void test() {}
};

// Moves tokens (a negative count takes them away) through an arc of activity
// in model; a marking that would leave 0..32767 ends the run with
// MarkingOutOfRange instead of wrapping.
inline void addArcTokens(short& mark, int tokens, const char* model, const char* place,
                         const char* activity) {
  const long long result = static_cast<long long>(mark) + tokens;
  if (result < 0 || result > 32767) {
    MarkingOutOfRange(model, place, activity, result);
  }
  mark = static_cast<short>(result);
}

#endif
