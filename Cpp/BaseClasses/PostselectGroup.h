#ifndef POSTSELECTGROUP_H_
#define POSTSELECTGROUP_H_

#include "Cpp/BaseClasses/BaseGroupClass.h"

// The group of the cases of an activity: the case is chosen when the group
// fires. The generated model builds one with the default constructor,
// initialize(2, name) and one appendGroup per case.
class PostselectGroup : public BaseGroupClass {
 public:
  PostselectGroup();
  // n members, each null until set with setMember.
  explicit PostselectGroup(int n);

  double Weight() override;  // 1.0
  int Rank() override;       // 1
  // Selects a case and fires it; null when no case is enabled.
  BaseActionClass* Fire() override;
  // Those of the first member (false or 0.0 without members).
  bool ReactivationPredicate() override;
  bool ReactivationFunction() override;
  double SampleDistribution() override;
};

#endif
