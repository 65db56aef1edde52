#ifndef BASEGROUPCLASS_H_
#define BASEGROUPCLASS_H_

#include <iostream>

#include "Cpp/BaseClasses/BaseActionClass.h"

// A set of actions that fire as one, such as the cases of an activity. The
// group computes the case probability of each member from the members'
// weights and ranks, and selects a member at random in the same proportions.
// Before a member is selected the group has no weight, rate or rank (0) and
// firing it does nothing (null).
class BaseGroupClass : public BaseActionClass {
 public:
  // One entry of the cumulative weight table built by
  // CalculateWeightDistribution.
  struct WeightEntry {
    double CumulativeWeight;
    BaseActionClass* Action;
  };

  BaseActionClass** Members;  // owned array; the members themselves are not owned
  BaseActionClass* SelectedAction;
  WeightEntry* WeightDistribution;  // owned, Capacity entries
  int MaxRank;
  int NumMembers;
  int NumWeightEntries;
  int Capacity;  // allocated length of Members and WeightDistribution

  BaseGroupClass();
  BaseGroupClass(const char* name, int groupId, Distribution distribution,
                 ExecutionPolicyType policy, int numAffectArcs, int numEnableArcs,
                 bool reactivation);
  // The same, with room for capacity members.
  BaseGroupClass(const char* name, int groupId, Distribution distribution,
                 ExecutionPolicyType policy, int numAffectArcs, int numEnableArcs,
                 bool reactivation, int capacity);
  ~BaseGroupClass() override;

  // Evaluates every member (their enabling flags shift); true if any is
  // enabled.
  bool Enabled() override;
  double Weight() override;
  double Rate() override;
  double SampleDistribution() override;
  // Fires the selected member and clears the selection.
  BaseActionClass* Fire() override;
  int Rank() override;
  // Evaluates every member; true if any changed.
  bool EnablingChange() override;
  // True when action is one of the members (not searched recursively).
  bool IsAMember(BaseActionClass* action) override;
  // Case probability of action, a member or a member of a member: its share
  // of the total weight of the enabled members of the highest rank; 0.0 when
  // it is outranked or not held by this group.
  double Probability(BaseActionClass* action) override;
  void printEnablingState(std::ostream* os) override;
  // The first member, or the group itself when it has none.
  BaseActionClass* getPrintedAction() override;
  // Selects an enabled member of the highest rank at random, in proportion
  // to the weights; false (selection unchanged) when none is enabled.
  virtual bool SelectAction();
  // Gives every member the group's index in the model's group table.
  virtual void setGroupId(int id);

  // Makes room for n members (keeping those present), names the group and
  // clears the selection.
  void initialize(int n, const char* name);
  // Adds a member, growing the arrays by one when they are full.
  void appendGroup(BaseGroupClass* member);
  // Adds every member of other, in order.
  void appendMembers(BaseGroupClass* other);
  // Reallocates both arrays to n entries, keeping the members; the weight
  // table is emptied.
  void enlargeArrays(int n);
  // Replaces member i; reports an out-of-range i.
  void setMember(BaseGroupClass* member, int i);
  void replaceMember(BaseActionClass* oldAction, BaseActionClass* newAction);
  // Rebuilds the cumulative weights of the enabled members of the highest
  // rank and marks the others Disabled; returns the total weight, or -1.0
  // (table unchanged) when no member is enabled.
  double CalculateWeightDistribution();
  void Check() {}
  void BaseGroupClassInitialize(const char* name, int groupId, Distribution distribution,
                                ExecutionPolicyType policy, int numAffectArcs, int numEnableArcs,
                                bool reactivation);
  // The group, its members and the selected member ("none" when there is
  // none), on standard output.
  void PrintInfo();
  // The members, nested groups expanded with labels such as [1.0].
  void printGroup();
  void printGroup(const char* prefix, int indent);
};

#endif
