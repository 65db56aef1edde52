#ifndef CELL3SAN_H_
#define CELL3SAN_H_

#include "Cpp/BaseClasses/Activity.h"
#include "Cpp/BaseClasses/SANModel.h"
#include "Cpp/BaseClasses/SingleGroup.h"
#include "Cpp/BaseClasses/state/Place.h"

// Cell 3 of the Kanban system: parts arrive from cell 1 (s1) and leave
// with a part of cell 2 (s2, in cell 2); in between they are worked on,
// reworked or passed. w3, x3 and z3 are shared with cells 1 and 2.
// Each activity caches a pointer to the marking of every place it touches
// (<place>_Mark), registered with the place so that it follows the place's
// storage when the join shares the place.
class cell3SAN : public SANModel {
 public:
  class redo3Activity : public Activity {
   public:
    Place* x3 = nullptr;
    short* x3_Mark = nullptr;
    Place* y3 = nullptr;
    short* y3_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned

    redo3Activity();
    ~redo3Activity() override;
    bool Enabled() override;
    double Rate() override;
    double Weight() override;
    bool ReactivationPredicate() override;
    bool ReactivationFunction() override;
    double SampleDistribution() override;
    double* ReturnDistributionParameters() override;
    int Rank() override;
    BaseActionClass* Fire() override;
    void LinkVariables() override;
  };

  class ok3Activity : public Activity {
   public:
    Place* x3 = nullptr;
    short* x3_Mark = nullptr;
    Place* z3 = nullptr;
    short* z3_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned

    ok3Activity();
    ~ok3Activity() override;
    bool Enabled() override;
    double Rate() override;
    double Weight() override;
    bool ReactivationPredicate() override;
    bool ReactivationFunction() override;
    double SampleDistribution() override;
    double* ReturnDistributionParameters() override;
    int Rank() override;
    BaseActionClass* Fire() override;
    void LinkVariables() override;
  };

  class back3Activity : public Activity {
   public:
    Place* y3 = nullptr;
    short* y3_Mark = nullptr;
    Place* x3 = nullptr;
    short* x3_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned

    back3Activity();
    ~back3Activity() override;
    bool Enabled() override;
    double Rate() override;
    double Weight() override;
    bool ReactivationPredicate() override;
    bool ReactivationFunction() override;
    double SampleDistribution() override;
    double* ReturnDistributionParameters() override;
    int Rank() override;
    BaseActionClass* Fire() override;
    void LinkVariables() override;
  };

  // Owned; deleted by the destructor.
  Place* w3;
  Place* x3;
  Place* y3;
  Place* z3;

  redo3Activity redo3;
  ok3Activity ok3;
  back3Activity back3;

  EmptyGroup ImmediateGroup;

  cell3SAN();
  ~cell3SAN() override;
  void CustomInitialization();
  // Gives the instantaneous activities their places (there are none).
  void assignPlacesToActivitiesInst();
  // Gives the timed activities their places from Places.
  void assignPlacesToActivitiesTimed();
};

#endif
