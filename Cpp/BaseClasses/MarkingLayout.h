#ifndef MARKINGLAYOUT_H_
#define MARKINGLAYOUT_H_

#include <cstring>
#include <vector>

class BaseModelClass;

// The state vector of a model whose stored variables are all places, kept
// as the list of their marking cells in vector order. Saving and loading a
// marking is then one pass over the cells instead of a virtual call per
// variable. Sharing moves cells, so a layout is valid only until the next
// sharing anywhere (BaseStateVariableClass::SharingChanges).
class MarkingLayout {
 public:
  // The layout of owner's current sharing: when sharing changed since the
  // cells were taken, takes them anew from owner's AppendMarkingCells. It
  // is not usable when owner holds a variable that is not a place, which
  // owner then saves and loads by walking.
  const MarkingLayout& upToDate(BaseModelClass& owner);
  bool usable() const { return Usable; }
  const std::vector<short*>& cells() const { return Cells; }

  void write(void* buf) const {
    char* at = static_cast<char*>(buf);
    for (short* cell : Cells) {
      std::memcpy(at, cell, sizeof(short));
      at += sizeof(short);
    }
  }
  void read(const void* buf) const {
    const char* at = static_cast<const char*>(buf);
    for (short* cell : Cells) {
      std::memcpy(cell, at, sizeof(short));
      at += sizeof(short);
    }
  }

 private:
  // True when the cells describe the current sharing.
  bool current() const;

  std::vector<short*> Cells;
  unsigned long Version = 0;
  bool Built = false;
  bool Usable = false;
};

#endif
