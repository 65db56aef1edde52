#ifndef BASESTATEVARIABLECLASS_H_
#define BASESTATEVARIABLECLASS_H_

#include <iostream>

#include "Cpp/BaseClasses/List.h"

class BaseActionClass;

// Common base of the state variables that hold a model's marking. A variable
// knows the actions it enables and the actions that change it, and writes its
// value into the state vector. Variables of one sharing group use the action
// lists of the group's owner, the one variable that is Stored.
class BaseStateVariableClass {
 public:
  char* Name;    // owned
  char* Prefix;  // owned
  bool Shared;
  bool Stored;  // owns its storage and lists, and is written into the state vector
  bool FunctionallyShared;
  int SharingCount;  // pointer holders registered with the storage
  // Both lists are owned by the Stored variable of the sharing group.
  List<BaseActionClass>* AffectingActions;
  List<BaseActionClass>* EnabledActions;

  // Counts every change of a variable's sharing or storage flags, so that
  // layouts cached from them (MarkingLayout) know when they are stale.
  static unsigned long SharingChanges;

  BaseStateVariableClass();  // named "default", empty prefix
  // A null prefix counts as empty.
  BaseStateVariableClass(const char* name, const char* prefix);
  virtual ~BaseStateVariableClass();
  BaseStateVariableClass(const BaseStateVariableClass&) = delete;
  BaseStateVariableClass& operator=(const BaseStateVariableClass&) = delete;

  // Number of bytes the variable takes in the state vector.
  virtual int StateSize() = 0;
  // Loads the value from buf.
  virtual void SetState(void* buf) = 0;
  // Writes StateSize() bytes of value at buf.
  virtual void CurrentState(void* buf) = 0;
  virtual void printState(std::ostream* os);
  virtual void printState();
  // Writes the value alone.
  virtual void printStateVal(std::ostream* os);
  // Shares this variable with another of the same kind.
  virtual void share(BaseStateVariableClass* other) = 0;
  virtual void appendAffectingAction(BaseActionClass* action);
  virtual void removeAffectingAction(BaseActionClass* action);
  virtual void replaceAffectingAction(BaseActionClass* oldAction, BaseActionClass* newAction);
  // Registers this variable (a structured one: its leaves) in the action's
  // enabling or affected list, or removes it from there.
  virtual void addSelfAsEnablingSVToAction(BaseActionClass* action);
  virtual void addSelfAsAffectedSVToAction(BaseActionClass* action);
  virtual void removeSelfFromEnablingSVOfAction(BaseActionClass* action);
  virtual void removeSelfFromAffectedSVOfAction(BaseActionClass* action);
  // A new list of the leaf variables; the caller deletes it.
  virtual List<BaseStateVariableClass>* getLeafNodes();
  virtual int getNumLeafNodes();
  virtual bool isLeafNode();
  virtual void appendEnabledAction(BaseActionClass* action);
  virtual void removeEnabledAction(BaseActionClass* action);
  virtual void replaceEnabledAction(BaseActionClass* oldAction, BaseActionClass* newAction);

  void SetName(const char* name);
  void SetPrefix(const char* prefix);
  bool getShared() const { return Shared; }
  void setShared(bool shared) {
    Shared = shared;
    SharingChanges++;
  }
  bool getStored() const { return Stored; }
  void setStored(bool stored) {
    Stored = stored;
    SharingChanges++;
  }
  bool getFunctionallyShared() const { return FunctionallyShared; }
  void setFunctionallyShared(bool shared) { FunctionallyShared = shared; }
  int getSharingCount() const { return SharingCount; }
  List<BaseActionClass>* getAffectingActions() { return AffectingActions; }
  List<BaseActionClass>* getEnabledActions() { return EnabledActions; }
  // Replace the list pointers; the caller settles who owns the lists.
  void setAffectingActions(List<BaseActionClass>* actions) { AffectingActions = actions; }
  void setEnabledActions(List<BaseActionClass>* actions) { EnabledActions = actions; }
  // Append every action of the given list.
  void copyAffectingActions(List<BaseActionClass>* actions);
  void copyEnabledActions(List<BaseActionClass>* actions);
  int getNumAffectingActions() const { return AffectingActions->getNumItems(); }
  int getNumEnabledActions() const { return EnabledActions->getNumItems(); }
  // Action i of the list; out of range: a message on standard error and null.
  BaseActionClass* getAffectingAction(int i);
  BaseActionClass* getEnabledAction(int i);
  void printAffectingActions();
  void printEnabledActions();
};

#endif
