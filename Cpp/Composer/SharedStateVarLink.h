#ifndef SHAREDSTATEVARLINK_H_
#define SHAREDSTATEVARLINK_H_

class BaseModelClass;
class BaseStateVariableClass;

// One link of the chain that records which child variables, in which models,
// a composer's shared variable stands for. The composer that built a chain
// deletes it with clearStateVarList.
class SharedStateVarLink {
 public:
  BaseStateVariableClass* StateVariable;  // not owned
  BaseModelClass* Model;                  // the model holding StateVariable; may be null
  SharedStateVarLink* Next;               // null at the end of the chain

  SharedStateVarLink();
  explicit SharedStateVarLink(BaseStateVariableClass* stateVariable);
  SharedStateVarLink(BaseStateVariableClass* stateVariable, BaseModelClass* model);
  SharedStateVarLink(const SharedStateVarLink&) = delete;
  SharedStateVarLink& operator=(const SharedStateVarLink&) = delete;

  // True when this link or a later one holds sv.
  bool hasStateVar(BaseStateVariableClass* sv) const;
  // Appends link (and whatever follows it) at the end of the chain.
  void addStateVarLink(SharedStateVarLink* link);
  // Deletes every link of the chain that starts at head (null is allowed).
  static void clearStateVarList(SharedStateVarLink* head);
  // One line per link on standard output.
  void printAllStateVariables() const;
};

#endif
