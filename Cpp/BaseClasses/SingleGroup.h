#ifndef SINGLEGROUP_H_
#define SINGLEGROUP_H_

#include "Cpp/BaseClasses/BaseGroupClass.h"

// A group that wraps exactly one action and answers with that action's
// values. Its one member is Action, also held in Members.
class SingleGroup : public BaseGroupClass {
 public:
  BaseActionClass* Action;  // not owned
  int NewEnabled;
  int OldEnabled;

  SingleGroup();  // no action until SetAction
  // Wraps group and takes its name.
  explicit SingleGroup(BaseGroupClass* group);

  // Evaluates the action, keeping the previous result for EnablingChange.
  bool Enabled() override;
  // Whether the last two evaluations differ; evaluates nothing.
  bool EnablingChange() override;
  double Probability(BaseActionClass* action) override;
  double Weight() override;
  double Rate() override;
  int Rank() override;
  BaseActionClass* Fire() override;
  double SampleDistribution() override;
  bool ReactivationPredicate() override;
  bool ReactivationFunction() override;
  // Reports an inconsistent state (a single group is not meant to select),
  // then selects the action when it is enabled.
  bool SelectAction() override;
  virtual void SetAction(BaseActionClass* action);
};

// The group of no action that every atomic model holds, named
// "ImmediateGroup": never enabled, weight, rate and rank 0, fires nothing.
class EmptyGroup : public SingleGroup {
 public:
  EmptyGroup();

  bool Enabled() override;
  bool ReactivationPredicate() override;
  bool ReactivationFunction() override;
  bool EnablingChange() override;
  double Weight() override;
  double Rate() override;
  double SampleDistribution() override;
  double Probability(BaseActionClass* action) override;
  int Rank() override;
  BaseActionClass* Fire() override;
  bool SelectAction() override;
  void SetAction(BaseActionClass* action) override;
};

#endif
