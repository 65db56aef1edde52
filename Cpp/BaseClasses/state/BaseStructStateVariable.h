#ifndef BASESTRUCTSTATEVARIABLE_H_
#define BASESTRUCTSTATEVARIABLE_H_

#include <iostream>
#include <utility>
#include <vector>

#include "Cpp/BaseClasses/state/BaseStateVariableClass.h"

// Kind of a member of a struct or array variable; it fixes the member's size
// in the state vector. Codes beyond FloatType stand for nested struct or
// array members, which take their own StateSize().
enum ArrayType {
  ShortType = 0,   // 2 bytes
  IntType = 1,     // 4 bytes
  CharType = 2,    // 1 byte
  DoubleType = 3,  // 8 bytes
  FloatType = 4,   // 4 bytes
  StructType = 5,
  ArrayOfType = 6
};

// One member: the member variable and its kind.
typedef std::pair<BaseStateVariableClass*, ArrayType> fieldType;

// A state variable made of member state variables, written into the state
// vector one after the other in field order. The members are created and
// deleted by the derived struct type that supplies them.
class BaseStructStateVariable : public BaseStateVariableClass {
 public:
  std::vector<fieldType> fields;
  int StateSizeCache;  // -1 until StateSize() has run

  BaseStructStateVariable();
  BaseStructStateVariable(const char* name, const char* prefix);
  // One field per code, made by the base field(): its member is null until
  // the derived type fills it in.
  BaseStructStateVariable(const char* name, const char* prefix, const ArrayType* codes, int count);

  // Sum of the member sizes, computed once.
  int StateSize() override;
  void SetState(void* buf) override;
  void CurrentState(void* buf) override;
  using BaseStateVariableClass::printState;
  void printState(std::ostream* os) override;
  // Requires other to be a struct variable; see ShareWith.
  void share(BaseStateVariableClass* other) override;
  void appendAffectingAction(BaseActionClass* action) override;
  void addSelfAsEnablingSVToAction(BaseActionClass* action) override;
  void addSelfAsAffectedSVToAction(BaseActionClass* action) override;
  void removeSelfFromEnablingSVOfAction(BaseActionClass* action) override;
  void removeSelfFromAffectedSVOfAction(BaseActionClass* action) override;
  // The leaves of all members; this variable itself when it has no fields.
  List<BaseStateVariableClass>* getLeafNodes() override;
  int getNumLeafNodes() override;
  bool isLeafNode() override;
  void appendEnabledAction(BaseActionClass* action) override;
  // Shares each member with the member of other at the same position, then
  // makes other a non-stored variable that uses this one's action lists.
  virtual void ShareWith(BaseStructStateVariable* other);
  // The field record for a member of the given kind; the base returns the
  // pair unchanged.
  virtual fieldType field(ArrayType code, BaseStateVariableClass* member) const;

  // Sum of the member sizes, without caching.
  int calculateStateSize();
  int getSize() const { return static_cast<int>(fields.size()); }
  // Code of field i; the last field's when i is beyond the end.
  ArrayType getType(int i) const;
};

#endif
