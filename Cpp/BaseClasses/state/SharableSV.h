#ifndef SHARABLESV_H_
#define SHARABLESV_H_

#include <iostream>

#include "Cpp/BaseClasses/state/BaseStateVariableClass.h"

// A scalar state variable that several models can share. Its value lives in
// one storage cell; every pointer that must designate that cell (the
// variables' Value, a place's Mark, activities' cached marking pointers) is
// registered as a holder, so that sharing can move all of them to the cell of
// the group's owner. Instantiated for short.
template <class T>
class SharableSV : public BaseStateVariableClass {
 public:
  // One registered pointer to the storage.
  struct Holder {
    T** Address;
    SharableSV<T>* Owner;  // the variable whose Value this is; null for other pointers
    Holder* Next;
    SharableSV<T>* getOwner() const { return Owner; }
  };

  T* Value;              // the cell in use; owned while Stored
  Holder* Holders;       // owned chain; empty once absorbed by another owner
  SharableSV<T>* Owner;  // owner of the sharing group; this until shared

  SharableSV();  // named "default", value 0
  explicit SharableSV(const char* name);
  ~SharableSV() override;

  int StateSize() override;
  void SetState(void* buf) override;
  void CurrentState(void* buf) override;
  using BaseStateVariableClass::printState;
  // Writes "name = value" and a newline.
  void printState(std::ostream* os) override;
  void printStateVal(std::ostream* os) override;
  // Requires other to be a SharableSV of the same type; see ShareWith.
  void share(BaseStateVariableClass* other) override;
  // Lists the action on the whole sharing group.
  void appendAffectingAction(BaseActionClass* action) override;

  // Makes this variable and other one variable: one cell, one pair of action
  // lists, one stored owner. A composer calls it on its own new variable,
  // which then becomes the owner and takes over other's value.
  void ShareWith(SharableSV<T>* other);
  // Points *address at the storage and keeps it there when the storage moves
  // (an activity's cached marking pointer). Counts in SharingCount as uses
  // holders: a pointer through which several readers reach the storage (a
  // net's table of marking cells, read by its arcs) counts as if each
  // reader held its own.
  void addHolder(T** address, int uses = 1);
  SharableSV<T>* getOwner() const { return Owner; }

 private:
  void registerHolder(T** address, SharableSV<T>* owner, int uses = 1);
  // Makes other a non-stored member of this owner's group.
  void absorb(SharableSV<T>* other);
  void adoptLists(SharableSV<T>* other);
  // In the group's actions, replaces member by this owner.
  void renameInActions(SharableSV<T>* member);
};

extern template class SharableSV<short>;

#endif
