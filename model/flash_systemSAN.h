#ifndef FLASH_SYSTEMSAN_H_
#define FLASH_SYSTEMSAN_H_

#include "Cpp/BaseClasses/Activity.h"
#include "Cpp/BaseClasses/PostselectGroup.h"
#include "Cpp/BaseClasses/SANModel.h"
#include "Cpp/BaseClasses/SingleGroup.h"
#include "Cpp/BaseClasses/state/Place.h"

// The flash memory of the reliability model: working until a single-event
// upset or a functional interrupt corrupts it, restored by a power cycle.
// Each activity caches a pointer to the marking of every place it touches
// (<place>_Mark), registered with the place so that it follows the place's
// storage when the join shares the place.
class flash_systemSAN : public SANModel {
 public:
  class seuActivity_case1 : public Activity {
   public:
    Place* flash_working = nullptr;
    short* flash_working_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned

    seuActivity_case1();
    ~seuActivity_case1() override;
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

  class seuActivity_case2 : public Activity {
   public:
    Place* flash_working = nullptr;
    short* flash_working_Mark = nullptr;
    Place* flash_corrupted = nullptr;
    short* flash_corrupted_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned

    seuActivity_case2();
    ~seuActivity_case2() override;
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

  class sefiActivity : public Activity {
   public:
    Place* flash_working = nullptr;
    short* flash_working_Mark = nullptr;
    Place* flash_corrupted = nullptr;
    short* flash_corrupted_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned

    sefiActivity();
    ~sefiActivity() override;
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

  class power_cycleActivity : public Activity {
   public:
    Place* flash_corrupted = nullptr;
    short* flash_corrupted_Mark = nullptr;
    Place* flash_working = nullptr;
    short* flash_working_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned

    power_cycleActivity();
    ~power_cycleActivity() override;
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
    double DeterministicParamValue();
  };

  // Owned; deleted by the destructor.
  Place* flash_corrupted;
  Place* flash_working;

  seuActivity_case1 seu_case1;
  seuActivity_case2 seu_case2;
  sefiActivity sefi;
  power_cycleActivity power_cycle;

  EmptyGroup ImmediateGroup;
  PostselectGroup seuGroup;

  flash_systemSAN();
  ~flash_systemSAN() override;
  void CustomInitialization();
  // Gives the instantaneous activities their places (there are none).
  void assignPlacesToActivitiesInst();
  // Gives the timed activities their places from Places.
  void assignPlacesToActivitiesTimed();
};

#endif
