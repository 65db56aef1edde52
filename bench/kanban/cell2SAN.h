#ifndef CELL2SAN_H_
#define CELL2SAN_H_

#include "Cpp/BaseClasses/Activity.h"
#include "Cpp/BaseClasses/SANModel.h"
#include "Cpp/BaseClasses/SingleGroup.h"
#include "Cpp/BaseClasses/state/Place.h"

// Cell 2 of the Kanban system: parts arrive from cell 1 (s1, in cell 1),
// are worked on, reworked or passed, and leave through s2 together with a
// finished part of cell 3, joined into one part for cell 4. z3, w3, w4 and
// x4 are this model's copies of those cells' places, shared by the join.
// Each activity caches a pointer to the marking of every place it touches
// (<place>_Mark), registered with the place so that it follows the place's
// storage when the join shares the place.
class cell2SAN : public SANModel {
 public:
  class redo2Activity : public Activity {
   public:
    Place* x2 = nullptr;
    short* x2_Mark = nullptr;
    Place* y2 = nullptr;
    short* y2_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned

    redo2Activity();
    ~redo2Activity() override;
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

  class ok2Activity : public Activity {
   public:
    Place* x2 = nullptr;
    short* x2_Mark = nullptr;
    Place* z2 = nullptr;
    short* z2_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned

    ok2Activity();
    ~ok2Activity() override;
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

  class back2Activity : public Activity {
   public:
    Place* y2 = nullptr;
    short* y2_Mark = nullptr;
    Place* x2 = nullptr;
    short* x2_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned

    back2Activity();
    ~back2Activity() override;
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

  class s2Activity : public Activity {
   public:
    Place* z2 = nullptr;
    short* z2_Mark = nullptr;
    Place* w2 = nullptr;
    short* w2_Mark = nullptr;
    Place* z3 = nullptr;
    short* z3_Mark = nullptr;
    Place* w3 = nullptr;
    short* w3_Mark = nullptr;
    Place* w4 = nullptr;
    short* w4_Mark = nullptr;
    Place* x4 = nullptr;
    short* x4_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned

    s2Activity();
    ~s2Activity() override;
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
  Place* w2;
  Place* x2;
  Place* y2;
  Place* z2;
  Place* z3;
  Place* w3;
  Place* w4;
  Place* x4;

  redo2Activity redo2;
  ok2Activity ok2;
  back2Activity back2;
  s2Activity s2;

  EmptyGroup ImmediateGroup;

  cell2SAN();
  ~cell2SAN() override;
  void CustomInitialization();
  // Gives the instantaneous activities their places (there are none).
  void assignPlacesToActivitiesInst();
  // Gives the timed activities their places from Places.
  void assignPlacesToActivitiesTimed();
};

#endif
