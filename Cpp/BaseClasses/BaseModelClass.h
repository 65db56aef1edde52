#ifndef BASEMODELCLASS_H_
#define BASEMODELCLASS_H_

#include <forward_list>
#include <iostream>
#include <vector>

#include "Cpp/BaseClasses/List.h"

class BaseActionClass;
class BaseGroupClass;
class BaseStateVariableClass;
class SharedStateVarLink;
class State;

// Common base of every node of the model tree: atomic SAN models, composers
// and the reward model. Through this interface the generator treats the whole
// tree as one object whose marking travels as one contiguous state vector.
class BaseModelClass {
 public:
  int NumStateVariables;        // composers count shared variables once
  int NumSharedStateVariables;  // 0 for an atomic model
  int NumActions;
  int NumGroups;
  BaseGroupClass** Groups;  // owned by the subclass
  char* Name;               // owned
  int ModelId;
  int ParentId;
  BaseActionClass** Actions;  // owned by the subclass

  static int globalModelId;      // the first model constructed gets 1
  static double LastActionTime;  // time of the last fired action

  BaseModelClass();
  virtual ~BaseModelClass();
  BaseModelClass(const BaseModelClass&) = delete;
  BaseModelClass& operator=(const BaseModelClass&) = delete;

  virtual int getNumStateVariables();
  // Appends every model of the subtree whose Name equals name.
  virtual void listModels(const char* name, List<BaseModelClass>* out) = 0;
  // Writes StateSize() bytes of state at buf.
  virtual void CurrentState(void* buf) = 0;
  virtual void listActions(List<BaseActionClass>* out) = 0;
  virtual void listGroups(List<BaseGroupClass>* out) = 0;
  // Loads the state from buf; the exact inverse of CurrentState.
  virtual void SetState(void* buf) = 0;
  virtual int StateSize() = 0;
  // True when two saved states of this model are equal.
  virtual bool CompareState(void* a, void* b) = 0;
  virtual void listActions(const char* name, List<BaseActionClass>* out) = 0;
  // Appends each state variable named svName in models named modelName, and
  // its model at the same index of models.
  virtual void listSVs(const char* modelName, const char* svName, List<BaseStateVariableClass>* svs,
                       List<BaseModelClass>* models) = 0;
  virtual void printState(std::ostream* os);
  virtual void printState();
  virtual BaseStateVariableClass** GetLocalStateVariables(std::ostream* os);
  virtual BaseStateVariableClass** GetSharedStateVariables();
  virtual BaseStateVariableClass* getMainSharedVariable(BaseStateVariableClass* sv);
  virtual SharedStateVarLink* getListOfSharedVariables(BaseStateVariableClass* sv);
  virtual void AddAffectArc(BaseStateVariableClass* sv, BaseActionClass* action);
  virtual void AddEnableArc(BaseStateVariableClass* sv, BaseActionClass* action);
  // The base versions of the operations below must be overridden; each fails
  // an assertion when reached.
  virtual int GetModelType();
  virtual int GetNumberOfChildren();
  virtual BaseModelClass* GetChild(int i);
  virtual void GetLocalActions(std::forward_list<BaseActionClass*>& out);
  virtual void GetGlobalActions(std::forward_list<BaseActionClass*>& out);
  virtual bool HasLocalState();
  virtual void GetLocalState(State* s);
  virtual void SetLocalState(const State* s);
  virtual void ConstructLocalState(State*& out);
  virtual void DestructLocalState(State* s);

  // Appends the marking cells of the model's state vector, in vector order,
  // when every variable it writes is a place; false otherwise (the base).
  virtual bool AppendMarkingCells(std::vector<short*>& cells);

  // Replaces Name with a copy of name.
  void DefineName(const char* name);
  void SetParentId(int id);
};

#endif
