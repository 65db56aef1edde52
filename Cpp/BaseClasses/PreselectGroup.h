#ifndef PRESELECTGROUP_H_
#define PRESELECTGROUP_H_

#include "Cpp/BaseClasses/BaseGroupClass.h"

// A group whose member is chosen before the group is examined: the first
// question after construction or after a firing selects a member, and the
// answers are those of that member (false or 0 when none could be selected).
class PreselectGroup : public BaseGroupClass {
 public:
  bool SelectionPending;  // a member must be selected before the next question

  PreselectGroup();
  // Room for n members; starts with none.
  explicit PreselectGroup(int n);

  bool SelectAction() override;
  bool Enabled() override;
  bool ReactivationPredicate() override;
  bool ReactivationFunction() override;
  double SampleDistribution() override;
  int Rank() override;
  // Fires the selected member, which stays selected until the next
  // selection.
  BaseActionClass* Fire() override;

 private:
  // The selected member, selecting one first when a selection is pending.
  BaseActionClass* current();
};

#endif
