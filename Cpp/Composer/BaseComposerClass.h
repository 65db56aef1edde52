#ifndef BASECOMPOSERCLASS_H_
#define BASECOMPOSERCLASS_H_

#include <iostream>

#include "Cpp/BaseClasses/BaseModelClass.h"
#include "Cpp/BaseClasses/PreselectGroup.h"

class SharedStateVarLink;

// Base of composed models: a composer holds its children in state-vector
// order, collects their actions and groups, and keeps one variable of its own
// for each shared name. Sharing makes the composer's variable the stored
// owner, so each shared value is written once, after all children.
//
// A generated subclass builds it in this order: the constructor; creating and
// naming the children; SetupActions(); for each shared name, the composer's
// variable with addSharedPtr, then ShareWith and addSharingInfo per child;
// last the concrete composer's Setup(). The subclass deletes the children and
// the shared variables.
class BaseComposerClass : public BaseModelClass {
 public:
  BaseModelClass** Children;  // owned array, NumChildren entries
  int NumChildren;
  // The arrays below have one entry per shared name and are owned, the
  // variables in SharedPtrs and SharedLists are not.
  BaseStateVariableClass** SharedPtrs;        // in the order of SharedStateNames
  SharedStateVarLink** SharedLinks;           // chains owned; null until the first binding
  List<BaseStateVariableClass>* SharedLists;  // child variables bound directly
  char** SharedStateNames;                    // owned copies
  int AddedSharedPtrs;
  int CompositeStateSize;        // computed by GeneralSetup
  PreselectGroup ComposerGroup;  // built and released with the composer; nothing selects through it

  // Shares the numShared names only when there is at least one child.
  BaseComposerClass(const char* name, int numChildren, int numShared,
                    const char* const* sharedNames);
  ~BaseComposerClass() override;

  // Collects the children's actions and groups in child order and gives each
  // group its index in this composer's group table.
  void SetupActions();
  // True when no child has a state variable (or there is no child).
  bool AllChildrenEmpty();
  // Adds the composer's variable for the next shared name; variables must
  // come in the order of the names.
  void addSharedPtr(BaseStateVariableClass* variable, const char* VarName);
  // Records that child, a variable of model, is bound to main (an added
  // shared variable), together with whatever child stands for in a child
  // composer.
  void addSharingInfo(BaseStateVariableClass* child, BaseStateVariableClass* main,
                      BaseModelClass* model);
  // Counts the state variables (shared ones once) and fixes
  // CompositeStateSize.
  void GeneralSetup();
  // Bytes of the stored shared variables.
  int SharedStateSize();
  // Write or read the stored shared variables in name order.
  void CurrentSharedState(void* buf);
  void SetSharedState(void* buf);

  // True when the first CompositeStateSize bytes are equal.
  bool CompareState(void* a, void* b) override;
  int GetNumberOfChildren() override;
  BaseModelClass* GetChild(int i) override;
  BaseStateVariableClass** GetSharedStateVariables() override;
  // The chain of sv when it is one of this composer's variables, else the
  // first a child knows of, else null.
  SharedStateVarLink* getListOfSharedVariables(BaseStateVariableClass* sv) override;
  // The composer variable whose chain holds sv, searched here first and then
  // in the children; null when none.
  BaseStateVariableClass* getMainSharedVariable(BaseStateVariableClass* sv) override;
  // The list operations ask every child; the composer's own name is not
  // compared.
  void listModels(const char* name, List<BaseModelClass>* out) override;
  void listActions(List<BaseActionClass>* out) override;
  void listActions(const char* name, List<BaseActionClass>* out) override;
  void listGroups(List<BaseGroupClass>* out) override;
  void listSVs(const char* modelName, const char* svName, List<BaseStateVariableClass>* svs,
               List<BaseModelClass>* models) override;

  // Each shared variable with its chain of bound variables, on standard
  // output.
  void printAllSharedVariables();

 private:
  int NumSharedNames;  // entries of the shared arrays, even after the count is reset to 0
  // Index of variable among the added shared variables (the last match), or
  // -1.
  int sharedIndex(BaseStateVariableClass* variable) const;
};

#endif
