#ifndef CELL4SAN_H_
#define CELL4SAN_H_

#include "Cpp/BaseClasses/Activity.h"
#include "Cpp/BaseClasses/SANModel.h"
#include "Cpp/BaseClasses/SingleGroup.h"
#include "Cpp/BaseClasses/state/Place.h"

// Cell 4 of the Kanban system: parts arrive from cells 2 and 3 (s2, in
// cell 2), are worked on, reworked or passed, and leave the system through
// out. w4 and x4 are shared with cell 2.
// Each activity caches a pointer to the marking of every place it touches
// (<place>_Mark), registered with the place so that it follows the place's
// storage when the join shares the place.
class cell4SAN : public SANModel {
 public:
  class redo4Activity : public Activity {
   public:
    Place* x4 = nullptr;
    short* x4_Mark = nullptr;
    Place* y4 = nullptr;
    short* y4_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned

    redo4Activity();
    ~redo4Activity() override;
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

  class ok4Activity : public Activity {
   public:
    Place* x4 = nullptr;
    short* x4_Mark = nullptr;
    Place* z4 = nullptr;
    short* z4_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned

    ok4Activity();
    ~ok4Activity() override;
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

  class back4Activity : public Activity {
   public:
    Place* y4 = nullptr;
    short* y4_Mark = nullptr;
    Place* x4 = nullptr;
    short* x4_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned

    back4Activity();
    ~back4Activity() override;
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

  class outActivity : public Activity {
   public:
    Place* z4 = nullptr;
    short* z4_Mark = nullptr;
    Place* w4 = nullptr;
    short* w4_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned

    outActivity();
    ~outActivity() override;
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
  Place* w4;
  Place* x4;
  Place* y4;
  Place* z4;

  redo4Activity redo4;
  ok4Activity ok4;
  back4Activity back4;
  outActivity out;

  EmptyGroup ImmediateGroup;

  cell4SAN();
  ~cell4SAN() override;
  void CustomInitialization();
  // Gives the instantaneous activities their places (there are none).
  void assignPlacesToActivitiesInst();
  // Gives the timed activities their places from Places.
  void assignPlacesToActivitiesTimed();
};

#endif
