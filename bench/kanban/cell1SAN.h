#ifndef CELL1SAN_H_
#define CELL1SAN_H_

#include "Cpp/BaseClasses/Activity.h"
#include "Cpp/BaseClasses/SANModel.h"
#include "Cpp/BaseClasses/SingleGroup.h"
#include "Cpp/BaseClasses/state/Place.h"

// Cell 1 of the Kanban system: parts enter through in (one kanban token
// each), are worked on, reworked or passed, and leave through s1, which
// hands one part each to cells 2 and 3. w2, x2, w3 and x3 are this
// model's copies of those cells' places, shared by the join.
// Each activity caches a pointer to the marking of every place it touches
// (<place>_Mark), registered with the place so that it follows the place's
// storage when the join shares the place.
class cell1SAN : public SANModel {
 public:
  class inActivity : public Activity {
   public:
    Place* w1 = nullptr;
    short* w1_Mark = nullptr;
    Place* x1 = nullptr;
    short* x1_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned

    inActivity();
    ~inActivity() override;
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

  class redo1Activity : public Activity {
   public:
    Place* x1 = nullptr;
    short* x1_Mark = nullptr;
    Place* y1 = nullptr;
    short* y1_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned

    redo1Activity();
    ~redo1Activity() override;
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

  class ok1Activity : public Activity {
   public:
    Place* x1 = nullptr;
    short* x1_Mark = nullptr;
    Place* z1 = nullptr;
    short* z1_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned

    ok1Activity();
    ~ok1Activity() override;
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

  class back1Activity : public Activity {
   public:
    Place* y1 = nullptr;
    short* y1_Mark = nullptr;
    Place* x1 = nullptr;
    short* x1_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned

    back1Activity();
    ~back1Activity() override;
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

  class s1Activity : public Activity {
   public:
    Place* z1 = nullptr;
    short* z1_Mark = nullptr;
    Place* w1 = nullptr;
    short* w1_Mark = nullptr;
    Place* w2 = nullptr;
    short* w2_Mark = nullptr;
    Place* x2 = nullptr;
    short* x2_Mark = nullptr;
    Place* w3 = nullptr;
    short* w3_Mark = nullptr;
    Place* x3 = nullptr;
    short* x3_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned

    s1Activity();
    ~s1Activity() override;
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
  Place* w1;
  Place* x1;
  Place* y1;
  Place* z1;
  Place* w2;
  Place* x2;
  Place* w3;
  Place* x3;

  inActivity in;
  redo1Activity redo1;
  ok1Activity ok1;
  back1Activity back1;
  s1Activity s1;

  EmptyGroup ImmediateGroup;

  cell1SAN();
  ~cell1SAN() override;
  void CustomInitialization();
  // Gives the instantaneous activities their places (there are none).
  void assignPlacesToActivitiesInst();
  // Gives the timed activities their places from Places.
  void assignPlacesToActivitiesTimed();
};

#endif
