#ifndef PLACE_H_
#define PLACE_H_

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

#endif
