#ifndef ACTIVITY_H_
#define ACTIVITY_H_

#include "Cpp/BaseClasses/BaseGroupClass.h"

class BaseStateVariableClass;

// Base of every generated activity: a group without members whose selected
// action is the activity itself. A generated activity overrides Enabled,
// Weight, Rate, ReactivationPredicate, ReactivationFunction,
// SampleDistribution, ReturnDistributionParameters, Fire and Rank; its
// Enabled() shifts NewEnabled into OldEnabled before storing the new result.
class Activity : public BaseGroupClass {
 public:
  bool NewEnabled;  // result of the latest enabling evaluation
  bool OldEnabled;  // result of the evaluation before it

  Activity();
  Activity(const char* name, int groupId, Distribution distribution, ExecutionPolicyType policy,
           int numAffectArcs, int numEnableArcs, bool reactivation);

  BaseActionClass* Fire() override = 0;
  // A generated activity defines these. Reached here, they end the run
  // with a message naming the activity (a group would ask the activity
  // itself, its own selection, again and again).
  double Weight() override;
  double Rate() override;
  int Rank() override;
  double SampleDistribution() override;
  // Evaluates the enabling once more; true when it differs from the
  // evaluation before.
  bool EnablingChange() override;
  // 1.0 for the activity itself, 0.0 for any other action.
  double Probability(BaseActionClass* action) override;
  // True when the activity is enabled; it stays its own selection.
  bool SelectAction() override;
  void setGroupId(int id) override;
  // Binds the activity's cached marking pointers to its places (registered
  // as holders, so they follow the places when a composer shares them).
  virtual void LinkVariables() = 0;

  void ActivityInitialize(const char* name, int groupId, Distribution distribution,
                          ExecutionPolicyType policy, int numAffectArcs, int numEnableArcs,
                          bool reactivation);
  // True when sv is one of the variables the activity changes.
  bool IsAnAffectingStateVariable(BaseStateVariableClass* sv);
};

#endif
