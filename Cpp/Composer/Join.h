#ifndef JOIN_H_
#define JOIN_H_

#include <forward_list>
#include <iostream>

#include "Cpp/BaseClasses/MarkingLayout.h"
#include "Cpp/BaseClasses/State.h"
#include "Cpp/Composer/BaseComposerClass.h"

// The join: composes its children by sharing state variables. Its state is
// the children's states in child order followed by its stored shared
// variables.
class Join : public BaseComposerClass {
 public:
  // The saved state of the join's own part: its stored shared variables.
  class LocalState : public ByteState {
   public:
    explicit LocalState(Join* join);
    void SetState(BaseModelClass* join) const override;
    void GetState(BaseModelClass* join) override;
  };

  // The action-name table: for each distinct action name, the number of
  // actions that carry it. Built by Setup; nothing else reads it.
  int ActionHashSize;        // 4 times the number of distinct names
  const char** ActionNames;  // owned array; the names are the actions' own
  int* ActionNameCounts;     // owned
  int* ChildStateSizes;      // owned; each child's StateSize() at Setup

  Join(const char* name, int numChildren, int numShared, const char* const* sharedNames);
  ~Join() override;

  // Finishes the join once children and sharing are in place: counts, sizes
  // and the action-name table.
  void Setup();

  // The children's sizes plus the shared state size.
  int StateSize() override;
  // Each child at the running offset, then the shared state.
  void CurrentState(void* buf) override;
  void SetState(void* buf) override;
  int GetModelType() override;
  // A join has no local or global actions of its own: fails an assertion.
  void GetLocalActions(std::forward_list<BaseActionClass*>& out) override;
  void GetGlobalActions(std::forward_list<BaseActionClass*>& out) override;
  using BaseModelClass::printState;
  // The join header, every child, then the stored shared variables.
  void printState(std::ostream* os) override;
  bool HasLocalState() override;
  void GetLocalState(State* s) override;
  void SetLocalState(const State* s) override;
  // out becomes a new LocalState that the caller releases with
  // DestructLocalState.
  void ConstructLocalState(State*& out) override;
  void DestructLocalState(State* s) override;

  // The children's cells (each as large as its size at Setup), then those
  // of the stored shared variables, when all of them are places.
  bool AppendMarkingCells(std::vector<short*>& cells) override;

  // Slot of s in a table of size slots (0 for size < 1): v = ch + (v << 5)
  // over the characters, in unsigned 32-bit arithmetic, modulo size.
  static unsigned int Hash(const char* s, int size);

 protected:
  // Binds a child's variable to the join's shared variable (the join's
  // variable absorbs it) when the child has state variables at all.
  void shareWithChild(BaseStateVariableClass* shared, BaseStateVariableClass* childVariable,
                      BaseModelClass* child);

 private:
  void HashActions();
  // The slot holding name, or the empty slot where it belongs.
  int findSlot(const char* name) const;

  MarkingLayout Layout;
};

#endif
