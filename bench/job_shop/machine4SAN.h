#ifndef MACHINE4SAN_H_
#define MACHINE4SAN_H_

#include "Cpp/BaseClasses/Activity.h"
#include "Cpp/BaseClasses/PostselectGroup.h"
#include "Cpp/BaseClasses/SANModel.h"
#include "Cpp/BaseClasses/SingleGroup.h"
#include "Cpp/BaseClasses/state/Place.h"

// Machine 4 of the job shop: serves the parts of its queue q4 one at a time
// (exponential, rate 0.45) and hands each finished part to done for
// inspection. q4 and done are there to be shared with the dispatcher.
// The activity caches a pointer to the marking of every place it touches
// (<place>_Mark), registered with the place so that it follows the place's
// storage when the join shares the place.
class machine4SAN : public SANModel {
 public:
  class serveActivity : public Activity {
   public:
    Place* q4 = nullptr;
    short* q4_Mark = nullptr;
    Place* done = nullptr;
    short* done_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned

    serveActivity();
    ~serveActivity() override;
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
  Place* q4;
  Place* done;

  serveActivity serve;

  EmptyGroup ImmediateGroup;

  machine4SAN();
  ~machine4SAN() override;
  void CustomInitialization();
  // Gives the instantaneous activities their places (there are none).
  void assignPlacesToActivitiesInst();
  // Gives the timed activities their places from Places.
  void assignPlacesToActivitiesTimed();
};

#endif
