#ifndef DISPATCHERSAN_H_
#define DISPATCHERSAN_H_

#include "Cpp/BaseClasses/Activity.h"
#include "Cpp/BaseClasses/PostselectGroup.h"
#include "Cpp/BaseClasses/SANModel.h"
#include "Cpp/BaseClasses/SingleGroup.h"
#include "Cpp/BaseClasses/state/Place.h"

// The dispatcher of the job shop: parts arrive, are routed at once to a
// machine queue with room (idle machines first, then by free room) or
// rejected when every queue is full, and each finished part is inspected at
// once: it leaves, or goes back to be routed again. The queues q1..q4 and
// done are there to be shared with the machines.
// Each activity caches a pointer to the marking of every place it touches
// (<place>_Mark), registered with the place so that it follows the place's
// storage when the join shares the place.
class dispatcherSAN : public SANModel {
 public:
  class arriveActivity : public Activity {
   public:
    Place* arrived = nullptr;
    short* arrived_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned

    arriveActivity();
    ~arriveActivity() override;
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

  class routeActivity_case1 : public Activity {
   public:
    Place* arrived = nullptr;
    short* arrived_Mark = nullptr;
    Place* q1 = nullptr;
    short* q1_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned

    routeActivity_case1();
    ~routeActivity_case1() override;
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

  class routeActivity_case2 : public Activity {
   public:
    Place* arrived = nullptr;
    short* arrived_Mark = nullptr;
    Place* q2 = nullptr;
    short* q2_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned

    routeActivity_case2();
    ~routeActivity_case2() override;
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

  class routeActivity_case3 : public Activity {
   public:
    Place* arrived = nullptr;
    short* arrived_Mark = nullptr;
    Place* q3 = nullptr;
    short* q3_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned

    routeActivity_case3();
    ~routeActivity_case3() override;
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

  class routeActivity_case4 : public Activity {
   public:
    Place* arrived = nullptr;
    short* arrived_Mark = nullptr;
    Place* q4 = nullptr;
    short* q4_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned

    routeActivity_case4();
    ~routeActivity_case4() override;
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

  class rejectActivity : public Activity {
   public:
    Place* arrived = nullptr;
    short* arrived_Mark = nullptr;
    Place* q1 = nullptr;
    short* q1_Mark = nullptr;
    Place* q2 = nullptr;
    short* q2_Mark = nullptr;
    Place* q3 = nullptr;
    short* q3_Mark = nullptr;
    Place* q4 = nullptr;
    short* q4_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned

    rejectActivity();
    ~rejectActivity() override;
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

  class inspectActivity_case1 : public Activity {
   public:
    Place* done = nullptr;
    short* done_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned

    inspectActivity_case1();
    ~inspectActivity_case1() override;
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

  class inspectActivity_case2 : public Activity {
   public:
    Place* done = nullptr;
    short* done_Mark = nullptr;
    Place* arrived = nullptr;
    short* arrived_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned

    inspectActivity_case2();
    ~inspectActivity_case2() override;
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
  Place* arrived;
  Place* q1;
  Place* q2;
  Place* q3;
  Place* q4;
  Place* done;

  arriveActivity arrive;
  routeActivity_case1 route_case1;
  routeActivity_case2 route_case2;
  routeActivity_case3 route_case3;
  routeActivity_case4 route_case4;
  rejectActivity reject;
  inspectActivity_case1 inspect_case1;
  inspectActivity_case2 inspect_case2;

  EmptyGroup ImmediateGroup;
  PostselectGroup routeGroup;
  PostselectGroup inspectGroup;

  dispatcherSAN();
  ~dispatcherSAN() override;
  void CustomInitialization();
  // Gives the instantaneous activities their places from Places.
  void assignPlacesToActivitiesInst();
  // Gives the timed activities their places from Places.
  void assignPlacesToActivitiesTimed();
};

#endif
