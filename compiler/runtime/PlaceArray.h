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

}  // namespace sanc_runtime

#endif
