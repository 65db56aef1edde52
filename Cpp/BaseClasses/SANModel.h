#ifndef SANMODEL_H_
#define SANMODEL_H_

#include <forward_list>
#include <iostream>

#include "Cpp/BaseClasses/BaseModelClass.h"
#include "Cpp/BaseClasses/MarkingLayout.h"
#include "Cpp/BaseClasses/State.h"

class Activity;
class Place;

// An atomic stochastic activity network: the leaf of the model tree. A
// generated subclass creates the places, activities and groups and hands them
// over with initializeSANModelNow. The model writes its unshared local places,
// in place order, into the state vector; a place shared by a composer is
// written by the composer instead.
class SANModel : public BaseModelClass {
 public:
  // The saved state of one atomic model: its StateSize() bytes.
  class LocalState : public ByteState {
   public:
    explicit LocalState(SANModel* model);
    void SetState(BaseModelClass* model) const override;
    void GetState(BaseModelClass* model) override;
  };

  // The four arrays are owned; the places, activities and groups in them
  // belong to the generated subclass.
  BaseStateVariableClass** Places;  // local places, in state-vector order
  BaseStateVariableClass** ReadOnlyPlaces;
  int NumReadOnlyPlaces;

  SANModel();
  SANModel(const char* name, int numPlaces, BaseStateVariableClass** places, int numReadOnly,
           BaseStateVariableClass** readOnlyPlaces, int numActions, Activity** actions,
           int numGroups, BaseGroupClass** groups);
  ~SANModel() override;

  // Names the model, copies the four arrays and makes this model the owner of
  // every activity and group.
  void initializeSANModelNow(const char* name, int numPlaces, BaseStateVariableClass** places,
                             int numReadOnly, BaseStateVariableClass** readOnlyPlaces,
                             int numActions, Activity** actions, int numGroups,
                             BaseGroupClass** groups);
  // Copy new pointers into the existing arrays; the counts stay.
  void SetPlaces(BaseStateVariableClass** places);
  void SetReadOnlyPlaces(BaseStateVariableClass** readOnlyPlaces);
  void SetActions(Activity** actions);
  void SetGroups(BaseGroupClass** groups);
  int NumLocalPlaces() const { return NumStateVariables - NumReadOnlyPlaces; }

  // Sum of the sizes of the stored local places.
  int StateSize() override;
  // Writes each unshared local place in order.
  void CurrentState(void* buf) override;
  void SetState(void* buf) override;
  // True when the first StateSize() bytes are equal.
  bool CompareState(void* a, void* b) override;
  int GetModelType() override;
  int GetNumberOfChildren() override;
  // An atomic model has no children: fails an assertion.
  BaseModelClass* GetChild(int i) override;
  void listModels(const char* name, List<BaseModelClass>* out) override;
  void listActions(List<BaseActionClass>* out) override;
  // Appends the first activity called name, if any.
  void listActions(const char* name, List<BaseActionClass>* out) override;
  void listGroups(List<BaseGroupClass>* out) override;
  void listSVs(const char* modelName, const char* svName, List<BaseStateVariableClass>* svs,
               List<BaseModelClass>* models) override;
  BaseStateVariableClass** GetLocalStateVariables(std::ostream* os) override;
  // Pushes to the front of out each activity attached to a place that a
  // composer shares, once.
  void GetGlobalActions(std::forward_list<BaseActionClass*>& out) override;
  // Pushes to the front of out every other activity, in Actions order (out
  // ends in reverse order).
  void GetLocalActions(std::forward_list<BaseActionClass*>& out) override;
  using BaseModelClass::printState;
  // The model header, then every local and read-only place.
  void printState(std::ostream* os) override;
  bool HasLocalState() override;
  void GetLocalState(State* s) override;
  void SetLocalState(const State* s) override;
  // out becomes a new LocalState that the caller releases with
  // DestructLocalState.
  void ConstructLocalState(State*& out) override;
  void DestructLocalState(State* s) override;

  // The cells of the unshared local places, when all of them are places.
  bool AppendMarkingCells(std::vector<short*>& cells) override;

  // Counts, activities, groups and places on standard output.
  void PrintSANModelInfo();

 private:
  // True when action is attached to a local place that is not stored.
  bool isGlobal(BaseActionClass* action);
  void releaseArrays();

  MarkingLayout Layout;
};

// True when the arrays hold exactly the model's pointers at the same
// positions (also when the model has none).
bool checkLocalSVs(SANModel* model, Place** places);
bool checkReadOnlyPlaces(SANModel* model, BaseStateVariableClass** places);
bool checkLocalActions(SANModel* model, Activity** actions);

#endif
