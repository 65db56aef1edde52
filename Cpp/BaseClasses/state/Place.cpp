#include "Cpp/BaseClasses/state/Place.h"

Place::Place() : Place("default") {}

Place::Place(const char* name, short mark) : SharableSV<short>(name), Mark(nullptr) {
  addHolder(&Mark);
  *Mark = mark;
}
