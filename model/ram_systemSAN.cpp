#include "model/ram_systemSAN.h"

#include "Cpp/BaseClasses/Allocate.h"
#include "Cpp/BaseClasses/UserDistributions.h"
#include "model/basic_model_studyRangeStudy.h"

/*****************************************************************
                         ram_systemSAN
*****************************************************************/

ram_systemSAN::ram_systemSAN() {
  bit_errorGroup.initialize(2, "bit_errorGroup");
  bit_errorGroup.appendGroup(&bit_error_case1);
  bit_errorGroup.appendGroup(&bit_error_case2);
  page_errorGroup.initialize(2, "page_errorGroup");
  page_errorGroup.appendGroup(&page_error_case1);
  page_errorGroup.appendGroup(&page_error_case2);

  Activity* InitialActionList[6] = {&watchdog_reboot, &random_failure,   &bit_error_case1,
                                    &bit_error_case2, &page_error_case1, &page_error_case2};
  BaseGroupClass* InitialGroupList[4] = {&watchdog_reboot, &random_failure, &bit_errorGroup,
                                         &page_errorGroup};

  flash_corrupted = newObject<Place>("flash_corrupted", 0);
  ram_working = newObject<Place>("ram_working", 1);
  ram_corrupted = newObject<Place>("ram_corrupted", 0);
  BaseStateVariableClass* InitialPlaces[3] = {flash_corrupted, ram_working, ram_corrupted};

  initializeSANModelNow("ram_system", 3, InitialPlaces, 0, nullptr, 6, InitialActionList, 4,
                        InitialGroupList);

  assignPlacesToActivitiesTimed();

  // (place, activity) pairs into InitialPlaces and InitialActionList.
  const int AffectArcs[9][2] = {{2, 0}, {1, 0}, {2, 1}, {1, 2}, {1, 3},
                                {2, 3}, {1, 4}, {1, 5}, {2, 5}};
  for (const auto& arc : AffectArcs) {
    AddAffectArc(InitialPlaces[arc[0]], InitialActionList[arc[1]]);
  }
  const int EnableArcs[6][2] = {{2, 0}, {2, 1}, {1, 2}, {1, 3}, {1, 4}, {1, 5}};
  for (const auto& arc : EnableArcs) {
    AddEnableArc(InitialPlaces[arc[0]], InitialActionList[arc[1]]);
  }

  for (Activity* activity : InitialActionList) {
    activity->LinkVariables();
  }
}

ram_systemSAN::~ram_systemSAN() {
  for (int i = 0; i < NumLocalPlaces(); i++) {
    delete Places[i];
  }
}

void ram_systemSAN::CustomInitialization() {}

void ram_systemSAN::assignPlacesToActivitiesInst() {}

void ram_systemSAN::assignPlacesToActivitiesTimed() {
  watchdog_reboot.ram_corrupted = static_cast<Place*>(Places[2]);
  watchdog_reboot.ram_working = static_cast<Place*>(Places[1]);
  random_failure.ram_corrupted = static_cast<Place*>(Places[2]);
  bit_error_case1.ram_working = static_cast<Place*>(Places[1]);
  bit_error_case2.ram_working = static_cast<Place*>(Places[1]);
  bit_error_case2.ram_corrupted = static_cast<Place*>(Places[2]);
  page_error_case1.ram_working = static_cast<Place*>(Places[1]);
  page_error_case2.ram_working = static_cast<Place*>(Places[1]);
  page_error_case2.ram_corrupted = static_cast<Place*>(Places[2]);
}

/*****************************************************************
                   watchdog_rebootActivity
*****************************************************************/

ram_systemSAN::watchdog_rebootActivity::watchdog_rebootActivity() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("watchdog_reboot", 0, Deterministic, RaceEnabled, 2, 1, false);
}

ram_systemSAN::watchdog_rebootActivity::~watchdog_rebootActivity() {
  delete[] TheDistributionParameters;
}

void ram_systemSAN::watchdog_rebootActivity::LinkVariables() {
  ram_corrupted->addHolder(&ram_corrupted_Mark);
  ram_working->addHolder(&ram_working_Mark);
}

bool ram_systemSAN::watchdog_rebootActivity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*ram_corrupted_Mark) > 0;
  return NewEnabled;
}

double ram_systemSAN::watchdog_rebootActivity::DeterministicParamValue() { return 0.00347; }

double ram_systemSAN::watchdog_rebootActivity::Rate() { return 0.0; }

double ram_systemSAN::watchdog_rebootActivity::Weight() { return 1.0; }

bool ram_systemSAN::watchdog_rebootActivity::ReactivationPredicate() { return false; }

bool ram_systemSAN::watchdog_rebootActivity::ReactivationFunction() { return false; }

double ram_systemSAN::watchdog_rebootActivity::SampleDistribution() {
  return DeterministicParamValue();
}

double* ram_systemSAN::watchdog_rebootActivity::ReturnDistributionParameters() {
  TheDistributionParameters[0] = DeterministicParamValue();
  return TheDistributionParameters;
}

int ram_systemSAN::watchdog_rebootActivity::Rank() { return 1; }

BaseActionClass* ram_systemSAN::watchdog_rebootActivity::Fire() {
  (*ram_corrupted_Mark) = 0;
  (*ram_working_Mark) = 1;
  return this;
}

/*****************************************************************
                    random_failureActivity
*****************************************************************/

ram_systemSAN::random_failureActivity::random_failureActivity() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("random_failure", 1, Exponential, RaceEnabled, 1, 1, false);
}

ram_systemSAN::random_failureActivity::~random_failureActivity() {
  delete[] TheDistributionParameters;
}

void ram_systemSAN::random_failureActivity::LinkVariables() {
  ram_corrupted->addHolder(&ram_corrupted_Mark);
}

bool ram_systemSAN::random_failureActivity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*ram_corrupted_Mark) == 0;
  return NewEnabled;
}

double ram_systemSAN::random_failureActivity::Rate() { return 0.00548; }

double ram_systemSAN::random_failureActivity::Weight() { return 1.0; }

bool ram_systemSAN::random_failureActivity::ReactivationPredicate() { return false; }

bool ram_systemSAN::random_failureActivity::ReactivationFunction() { return false; }

double ram_systemSAN::random_failureActivity::SampleDistribution() {
  return TheDistribution->Exponential(0.00548);
}

double* ram_systemSAN::random_failureActivity::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

int ram_systemSAN::random_failureActivity::Rank() { return 1; }

BaseActionClass* ram_systemSAN::random_failureActivity::Fire() {
  (*ram_corrupted_Mark)++;
  return this;
}

/*****************************************************************
                    bit_errorActivity_case1
*****************************************************************/

ram_systemSAN::bit_errorActivity_case1::bit_errorActivity_case1() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("bit_error_case1", 2, Exponential, RaceEnabled, 1, 1, false);
}

ram_systemSAN::bit_errorActivity_case1::~bit_errorActivity_case1() {
  delete[] TheDistributionParameters;
}

void ram_systemSAN::bit_errorActivity_case1::LinkVariables() {
  ram_working->addHolder(&ram_working_Mark);
}

bool ram_systemSAN::bit_errorActivity_case1::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*ram_working_Mark) > 0;
  return NewEnabled;
}

double ram_systemSAN::bit_errorActivity_case1::Rate() { return 6.012; }

double ram_systemSAN::bit_errorActivity_case1::Weight() {
  return double{1.0f} - double{0.001953125f} * double{ram_size};
}

bool ram_systemSAN::bit_errorActivity_case1::ReactivationPredicate() { return false; }

bool ram_systemSAN::bit_errorActivity_case1::ReactivationFunction() { return false; }

double ram_systemSAN::bit_errorActivity_case1::SampleDistribution() {
  return TheDistribution->Exponential(6.012);
}

double* ram_systemSAN::bit_errorActivity_case1::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

int ram_systemSAN::bit_errorActivity_case1::Rank() { return 1; }

BaseActionClass* ram_systemSAN::bit_errorActivity_case1::Fire() { return this; }

/*****************************************************************
                    bit_errorActivity_case2
*****************************************************************/

ram_systemSAN::bit_errorActivity_case2::bit_errorActivity_case2() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("bit_error_case2", 2, Exponential, RaceEnabled, 2, 1, false);
}

ram_systemSAN::bit_errorActivity_case2::~bit_errorActivity_case2() {
  delete[] TheDistributionParameters;
}

void ram_systemSAN::bit_errorActivity_case2::LinkVariables() {
  ram_working->addHolder(&ram_working_Mark);
  ram_corrupted->addHolder(&ram_corrupted_Mark);
}

bool ram_systemSAN::bit_errorActivity_case2::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*ram_working_Mark) > 0;
  return NewEnabled;
}

double ram_systemSAN::bit_errorActivity_case2::Rate() { return 6.012; }

double ram_systemSAN::bit_errorActivity_case2::Weight() {
  return double{0.001953125f} * double{ram_size};
}

bool ram_systemSAN::bit_errorActivity_case2::ReactivationPredicate() { return false; }

bool ram_systemSAN::bit_errorActivity_case2::ReactivationFunction() { return false; }

double ram_systemSAN::bit_errorActivity_case2::SampleDistribution() {
  return TheDistribution->Exponential(6.012);
}

double* ram_systemSAN::bit_errorActivity_case2::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

int ram_systemSAN::bit_errorActivity_case2::Rank() { return 1; }

BaseActionClass* ram_systemSAN::bit_errorActivity_case2::Fire() {
  (*ram_working_Mark)--;
  (*ram_corrupted_Mark)++;
  return this;
}

/*****************************************************************
                    page_errorActivity_case1
*****************************************************************/

ram_systemSAN::page_errorActivity_case1::page_errorActivity_case1() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("page_error_case1", 3, Exponential, RaceEnabled, 1, 1, false);
}

ram_systemSAN::page_errorActivity_case1::~page_errorActivity_case1() {
  delete[] TheDistributionParameters;
}

void ram_systemSAN::page_errorActivity_case1::LinkVariables() {
  ram_working->addHolder(&ram_working_Mark);
}

bool ram_systemSAN::page_errorActivity_case1::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*ram_working_Mark) > 0;
  return NewEnabled;
}

double ram_systemSAN::page_errorActivity_case1::Rate() { return 2.95e-06; }

double ram_systemSAN::page_errorActivity_case1::Weight() { return 0.75f; }

bool ram_systemSAN::page_errorActivity_case1::ReactivationPredicate() { return false; }

bool ram_systemSAN::page_errorActivity_case1::ReactivationFunction() { return false; }

double ram_systemSAN::page_errorActivity_case1::SampleDistribution() {
  return TheDistribution->Exponential(2.95e-06);
}

double* ram_systemSAN::page_errorActivity_case1::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

int ram_systemSAN::page_errorActivity_case1::Rank() { return 1; }

BaseActionClass* ram_systemSAN::page_errorActivity_case1::Fire() { return this; }

/*****************************************************************
                    page_errorActivity_case2
*****************************************************************/

ram_systemSAN::page_errorActivity_case2::page_errorActivity_case2() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("page_error_case2", 3, Exponential, RaceEnabled, 2, 1, false);
}

ram_systemSAN::page_errorActivity_case2::~page_errorActivity_case2() {
  delete[] TheDistributionParameters;
}

void ram_systemSAN::page_errorActivity_case2::LinkVariables() {
  ram_working->addHolder(&ram_working_Mark);
  ram_corrupted->addHolder(&ram_corrupted_Mark);
}

bool ram_systemSAN::page_errorActivity_case2::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*ram_working_Mark) > 0;
  return NewEnabled;
}

double ram_systemSAN::page_errorActivity_case2::Rate() { return 2.95e-06; }

double ram_systemSAN::page_errorActivity_case2::Weight() { return 0.25f; }

bool ram_systemSAN::page_errorActivity_case2::ReactivationPredicate() { return false; }

bool ram_systemSAN::page_errorActivity_case2::ReactivationFunction() { return false; }

double ram_systemSAN::page_errorActivity_case2::SampleDistribution() {
  return TheDistribution->Exponential(2.95e-06);
}

double* ram_systemSAN::page_errorActivity_case2::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

int ram_systemSAN::page_errorActivity_case2::Rank() { return 1; }

BaseActionClass* ram_systemSAN::page_errorActivity_case2::Fire() {
  (*ram_working_Mark)--;
  (*ram_corrupted_Mark)++;
  return this;
}
