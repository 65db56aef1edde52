#ifndef RAM_SYSTEMSAN_H_
#define RAM_SYSTEMSAN_H_

#include "Cpp/BaseClasses/Activity.h"
#include "Cpp/BaseClasses/PostselectGroup.h"
#include "Cpp/BaseClasses/SANModel.h"
#include "Cpp/BaseClasses/SingleGroup.h"
#include "Cpp/BaseClasses/state/Place.h"

// The RAM of the reliability model: working until random failures, bit
// errors or page errors corrupt it, restored by the watchdog. flash_corrupted
// is there to be shared with the flash model.
// Each activity caches a pointer to the marking of every place it touches
// (<place>_Mark), registered with the place so that it follows the place's
// storage when the join shares the place.
class ram_systemSAN : public SANModel {
 public:
  class watchdog_rebootActivity : public Activity {
   public:
    Place* ram_corrupted = nullptr;
    short* ram_corrupted_Mark = nullptr;
    Place* ram_working = nullptr;
    short* ram_working_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned

    watchdog_rebootActivity();
    ~watchdog_rebootActivity() override;
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

  class random_failureActivity : public Activity {
   public:
    Place* ram_corrupted = nullptr;
    short* ram_corrupted_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned

    random_failureActivity();
    ~random_failureActivity() override;
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

  class bit_errorActivity_case1 : public Activity {
   public:
    Place* ram_working = nullptr;
    short* ram_working_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned

    bit_errorActivity_case1();
    ~bit_errorActivity_case1() override;
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

  class bit_errorActivity_case2 : public Activity {
   public:
    Place* ram_working = nullptr;
    short* ram_working_Mark = nullptr;
    Place* ram_corrupted = nullptr;
    short* ram_corrupted_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned

    bit_errorActivity_case2();
    ~bit_errorActivity_case2() override;
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

  class page_errorActivity_case1 : public Activity {
   public:
    Place* ram_working = nullptr;
    short* ram_working_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned

    page_errorActivity_case1();
    ~page_errorActivity_case1() override;
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

  class page_errorActivity_case2 : public Activity {
   public:
    Place* ram_working = nullptr;
    short* ram_working_Mark = nullptr;
    Place* ram_corrupted = nullptr;
    short* ram_corrupted_Mark = nullptr;
    double* TheDistributionParameters;  // one entry, owned

    page_errorActivity_case2();
    ~page_errorActivity_case2() override;
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
  Place* flash_corrupted;
  Place* ram_working;
  Place* ram_corrupted;

  watchdog_rebootActivity watchdog_reboot;
  random_failureActivity random_failure;
  bit_errorActivity_case1 bit_error_case1;
  bit_errorActivity_case2 bit_error_case2;
  page_errorActivity_case1 page_error_case1;
  page_errorActivity_case2 page_error_case2;

  EmptyGroup ImmediateGroup;
  PostselectGroup bit_errorGroup;
  PostselectGroup page_errorGroup;

  ram_systemSAN();
  ~ram_systemSAN() override;
  void CustomInitialization();
  // Gives the instantaneous activities their places (there are none).
  void assignPlacesToActivitiesInst();
  // Gives the timed activities their places from Places.
  void assignPlacesToActivitiesTimed();
};

#endif
