#ifndef MACHINESAN_H_
#define MACHINESAN_H_

#include "Cpp/BaseClasses/Activity.h"
#include "Cpp/BaseClasses/PostselectGroup.h"
#include "Cpp/BaseClasses/SANModel.h"
#include "Cpp/BaseClasses/SingleGroup.h"
#include "Cpp/BaseClasses/state/Place.h"

// A machine of the job shop, instantiated once per machine: serves the parts
// of its queue one at a time (exponential, at its service rate) and hands
// each finished part to done for inspection. The queue and done are there to
// be shared with the dispatcher.
// The activity caches a pointer to the marking of every place it touches
// (<place>_Mark), registered with the place so that it follows the place's
// storage when the join shares the place.
class machineSAN : public SANModel {
 public:
  class serveActivity : public Activity {
   public:
    Place* queue = nullptr;
    short* queue_Mark = nullptr;
    Place* done = nullptr;
    short* done_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned
    double ServiceRate;

    explicit serveActivity(double serviceRate);
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
  Place* queue;
  Place* done;

  serveActivity serve;

  EmptyGroup ImmediateGroup;

  // The model called name, whose queue is the place called queueName.
  machineSAN(const char* name, const char* queueName, double serviceRate);
  ~machineSAN() override;
  void CustomInitialization();
  // Gives the instantaneous activities their places (there are none).
  void assignPlacesToActivitiesInst();
  // Gives the timed activities their places from Places.
  void assignPlacesToActivitiesTimed();
};

#endif
