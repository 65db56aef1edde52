#ifndef PVMODEL_H_
#define PVMODEL_H_

#include <iostream>
#include <vector>

#include "Cpp/BaseClasses/BaseActionClass.h"
#include "Cpp/BaseClasses/BaseModelClass.h"
#include "Cpp/BaseClasses/FastSet.h"
#include "Cpp/BaseClasses/List.h"

class PerformanceVariableNode;

// The reward model: the root of the model tree as the generator sees it. It
// owns one child, the composed model, to which it forwards the state
// interface, and the performance-variable nodes, which it re-evaluates after
// every firing. Its state vector is the child's followed by the phase of
// each Erlang activity, in action order (2 bytes each, as a place), so that
// a state tells how far each Erlang delay has run; a model without Erlang
// activities has the child's state vector.
// A generated subclass sets ChildModel, then calls CreatePVList and
// Initialize in its constructor.
class PVModel : public BaseModelClass {
 public:
  PerformanceVariableNode** PVList;  // owned, with its nodes; node k has PVId k
  int NumPVs;
  BaseModelClass* ChildModel;        // owned; the composed model
  BaseActionClass* LastActionFired;  // whose firing the current rewards belong to
  BaseActionClass** ChildActions;    // the child's action array; not owned
  // Every action that affects at least one node, in the child's action order
  // (owned array, actions not owned); AffectingActionSets holds the address
  // of each one's AffectedNodes (owned array).
  BaseActionClass** AffectingActions;
  FastSet** AffectingActionSets;
  int NumRateAffectingActions;     // actions given rate structures while linking
  int NumImpulseAffectingActions;  // actions given impulse structures while linking
  int NumAffectingActions;
  int ModelStateSize;  // the child's StateSize(), taken by Initialize
  // The Erlang activities, in the child's action order; found by Initialize.
  std::vector<BaseActionClass*> PhasedActions;
  // Stands for "no action fired": the fired action of the initial state and
  // of a phase step.
  BaseActionClass NoAction;
  // The nodes evaluated on each firing, in order; the nodes are PVList's.
  std::vector<PerformanceVariableNode*> ConsideredPVs;

  PVModel();
  // Releases everything Destruct releases.
  ~PVModel() override;

  // State interface: ChildModel's, with the Erlang phases after its state.
  void listModels(const char* name, List<BaseModelClass>* out) override;
  void CurrentState(void* buf) override;
  void listActions(List<BaseActionClass>* out) override;
  void listGroups(List<BaseGroupClass>* out) override;
  void SetState(void* buf) override;
  int StateSize() override;
  bool CompareState(void* a, void* b) override;
  void listActions(const char* name, List<BaseActionClass>* out) override;
  void listSVs(const char* modelName, const char* svName, List<BaseStateVariableClass>* svs,
               List<BaseModelClass>* models) override;
  void printState(std::ostream* os) override;
  using BaseModelClass::printState;

  // A new node for variable pv at time point timeIndex, or null for a
  // variable the subclass does not know.
  virtual PerformanceVariableNode* createPVNode(int pv, int timeIndex) = 0;

  // Builds PVList from numPVs variables: one node per variable, or, when
  // expandTimePoints is true, one node per variable and time point.
  void CreatePVList(int numPVs, bool expandTimePoints);
  // Links the nodes to the child's actions and model instances. Needs
  // ChildModel and PVList; call once.
  void Initialize();
  // Restricts evaluation to the nodes PVList[indices[0..count-1]]; null
  // indices select every node (count is then ignored). Appends to
  // ConsideredPVs, which it does not empty first.
  void ConsiderOnly(const int* indices, int count);
  // Fires action, evaluates every considered node for the marking reached
  // and the fired action, and writes the new state vector at buf.
  void FireAction(void* buf, BaseActionClass* action);
  // FireAction without the evaluation: the rewards of the marking reached
  // can be evaluated later with UpdateRewards, as long as the marking and
  // LastActionFired are as the firing left them. The generator uses this to
  // evaluate rewards only for states it writes.
  void FireWithoutRewards(void* buf, BaseActionClass* action);
  // Evaluates every considered node for the current marking and
  // LastActionFired.
  void UpdateRewards();
  // Re-evaluates the considered nodes' rewards with NoAction fired, for an
  // action that only advanced its phase; the marking is unchanged and
  // nothing is written.
  void AgeAction(char* state, BaseActionClass* action);
  // Writes the performance-variable type file (name, type, time points of
  // every node). True when the file was opened and fully written; otherwise
  // errno tells why (0 for a node without a name).
  bool WritePVTypeFile(const char* fileName);
  // Releases the action structures, the nodes and the child.
  void Destruct();

 private:
  int PhaseBytes() const {
    return static_cast<int>(PhasedActions.size() * sizeof(BaseActionClass::Phase));
  }
  // createPVNode's node; a variable the subclass does not know is a fault
  // of the generated code.
  PerformanceVariableNode* NewNode(int pv, int timeIndex);
  // Gives every action that changes a variable a node reads the node's rate
  // structures and workers.
  void MakeAffectedLists();
  // Gives every action that earns a node's impulse its impulse structures and
  // impulse workers.
  void MakeImpulseAffectedLists();
  // Fills AffectingActions here and in every node from the actions' sets.
  void CreateAffectedLists();
  void LinkRateDependencies(int pv);
  void LinkImpulse(int pv, int impulse);
  void LinkImpulseAction(int pv, int impulse, BaseActionClass* action, BaseModelClass* instance);
  void ReleaseImpulseTables(BaseActionClass* action);
};

#endif
