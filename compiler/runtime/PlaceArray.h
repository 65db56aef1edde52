#ifndef COMPILER_RUNTIME_PLACEARRAY_H_
#define COMPILER_RUNTIME_PLACEARRAY_H_

#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "Cpp/BaseClasses/Allocate.h"
#include "Cpp/BaseClasses/state/BaseStructStateVariable.h"
#include "Cpp/BaseClasses/state/Place.h"

namespace sanc_runtime {

// An array of places (place buf[4] in a description): a struct state
// variable whose members are places named buf[0], buf[1], ... A join shares
// it member by member with an array of the same size. marks() follows the
// members' storage through sharing, as an activity's cached pointers do.
class PlaceArray : public BaseStructStateVariable {
 public:
  // size places called name[i], each with the initial marking.
  PlaceArray(const char* name, int size, short initial = 0)
      : BaseStructStateVariable(name, ""), Marks(size, nullptr) {
    for (int i = 0; i < size; i++) {
      const std::string element = std::string(name) + "[" + std::to_string(i) + "]";
      Elements.emplace_back(newObject<Place>(element.c_str(), initial));
      fields.push_back(field(ShortType, Elements.back().get()));
      Elements.back()->addHolder(&Marks[i]);
    }
  }

  int size() const { return static_cast<int>(Marks.size()); }
  // The marking cells of the members, in order.
  short* const* marks() const { return Marks.data(); }

 private:
  std::vector<std::unique_ptr<Place>> Elements;
  std::vector<short*> Marks;  // registered with the members as holders
};

// The markings of a place array as the C++ of a description reads them:
// array[i] is the marking of member i (T is const short where the code
// only reads). An index outside the array ends the run with a message.
template <class T>
class MarkingArray {
 public:
  explicit MarkingArray(const PlaceArray* places) : Places(places) {}

  T& operator[](long i) const {
    if (i < 0 || i >= Places->size()) {
      std::cerr << "Error: index " << i << " is outside the place array " << Places->Name << " of "
                << Places->size() << " places" << std::endl;
      std::exit(1);
    }
    return *Places->marks()[i];
  }
  int size() const { return Places->size(); }

 private:
  const PlaceArray* Places;
};

// The size of an array of places computed when the model is built (size,
// from the expression written); outside 1 to 1000 places, or not a whole
// number, ends the run with a message naming the expression (exit status 1).
inline int arraySize(double size, const char* model, const char* place, const char* written) {
  if (!(size >= 1 && size <= 1000 && size == static_cast<int>(size))) {
    std::cerr << "Error: the array of places " << place << " of model " << model << " would have "
              << size << " places (its size is " << written
              << "); an array holds a whole number of places from 1 to 1000" << std::endl;
    std::exit(1);
  }
  return static_cast<int>(size);
}

// The marking cell of member index of places, for an arc whose index is
// computed; an index outside the array ends the run with a message.
inline short* element(const PlaceArray* places, double index) {
  if (!(index >= 0 && index < places->size() && index == static_cast<long>(index))) {
    std::cerr << "Error: index " << index << " is outside the place array " << places->Name
              << " of " << places->size() << " places" << std::endl;
    std::exit(1);
  }
  return places->marks()[static_cast<long>(index)];
}

}  // namespace sanc_runtime

#endif
