#include "model/flash_systemSAN.h"

#include "Cpp/BaseClasses/Allocate.h"
#include "Cpp/BaseClasses/UserDistributions.h"
#include "model/basic_model_studyRangeStudy.h"

/*****************************************************************
                        flash_systemSAN
*****************************************************************/

flash_systemSAN::flash_systemSAN() {
  seuGroup.initialize(2, "seuGroup");
  seuGroup.appendGroup(&seu_case1);
  seuGroup.appendGroup(&seu_case2);

  Activity* InitialActionList[4] = {&seu_case1, &seu_case2, &sefi, &power_cycle};
  BaseGroupClass* InitialGroupList[3] = {&seuGroup, &sefi, &power_cycle};

  flash_corrupted = newObject<Place>("flash_corrupted", 0);
  flash_working = newObject<Place>("flash_working", 1);
  BaseStateVariableClass* InitialPlaces[2] = {flash_corrupted, flash_working};

  initializeSANModelNow("flash_system", 2, InitialPlaces, 0, nullptr, 4, InitialActionList, 3,
                        InitialGroupList);

  assignPlacesToActivitiesTimed();

  // (place, activity) pairs into InitialPlaces and InitialActionList.
  const int AffectArcs[7][2] = {{1, 0}, {1, 1}, {0, 1}, {1, 2}, {0, 2}, {0, 3}, {1, 3}};
  for (const auto& arc : AffectArcs) {
    AddAffectArc(InitialPlaces[arc[0]], InitialActionList[arc[1]]);
  }
  const int EnableArcs[4][2] = {{1, 0}, {1, 1}, {1, 2}, {0, 3}};
  for (const auto& arc : EnableArcs) {
    AddEnableArc(InitialPlaces[arc[0]], InitialActionList[arc[1]]);
  }

  for (Activity* activity : InitialActionList) {
    activity->LinkVariables();
  }
}

flash_systemSAN::~flash_systemSAN() {
  for (int i = 0; i < NumLocalPlaces(); i++) {
    delete Places[i];
  }
}

void flash_systemSAN::CustomInitialization() {}

void flash_systemSAN::assignPlacesToActivitiesInst() {}

void flash_systemSAN::assignPlacesToActivitiesTimed() {
  seu_case1.flash_working = static_cast<Place*>(Places[1]);
  seu_case2.flash_working = static_cast<Place*>(Places[1]);
  seu_case2.flash_corrupted = static_cast<Place*>(Places[0]);
  sefi.flash_working = static_cast<Place*>(Places[1]);
  sefi.flash_corrupted = static_cast<Place*>(Places[0]);
  power_cycle.flash_corrupted = static_cast<Place*>(Places[0]);
  power_cycle.flash_working = static_cast<Place*>(Places[1]);
}

/*****************************************************************
                       seuActivity_case1
*****************************************************************/

flash_systemSAN::seuActivity_case1::seuActivity_case1() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("seu_case1", 0, Exponential, RaceEnabled, 1, 1, false);
}

flash_systemSAN::seuActivity_case1::~seuActivity_case1() { delete[] TheDistributionParameters; }

void flash_systemSAN::seuActivity_case1::LinkVariables() {
  flash_working->addHolder(&flash_working_Mark);
}

bool flash_systemSAN::seuActivity_case1::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*flash_working_Mark) > 0;
  return NewEnabled;
}

double flash_systemSAN::seuActivity_case1::Rate() { return 1.5e-16; }

double flash_systemSAN::seuActivity_case1::Weight() {
  return double{1.0f} - double{0.001953125f} * double{flash_size};
}

bool flash_systemSAN::seuActivity_case1::ReactivationPredicate() { return false; }

bool flash_systemSAN::seuActivity_case1::ReactivationFunction() { return false; }

double flash_systemSAN::seuActivity_case1::SampleDistribution() {
  return TheDistribution->Exponential(1.5e-16);
}

double* flash_systemSAN::seuActivity_case1::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

int flash_systemSAN::seuActivity_case1::Rank() { return 1; }

BaseActionClass* flash_systemSAN::seuActivity_case1::Fire() {
  (*flash_working_Mark) = 1;
  return this;
}

/*****************************************************************
                       seuActivity_case2
*****************************************************************/

flash_systemSAN::seuActivity_case2::seuActivity_case2() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("seu_case2", 0, Exponential, RaceEnabled, 2, 1, false);
}

flash_systemSAN::seuActivity_case2::~seuActivity_case2() { delete[] TheDistributionParameters; }

void flash_systemSAN::seuActivity_case2::LinkVariables() {
  flash_working->addHolder(&flash_working_Mark);
  flash_corrupted->addHolder(&flash_corrupted_Mark);
}

bool flash_systemSAN::seuActivity_case2::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*flash_working_Mark) > 0;
  return NewEnabled;
}

double flash_systemSAN::seuActivity_case2::Rate() { return 1.5e-16; }

double flash_systemSAN::seuActivity_case2::Weight() {
  return double{0.001953125f} * double{flash_size};
}

bool flash_systemSAN::seuActivity_case2::ReactivationPredicate() { return false; }

bool flash_systemSAN::seuActivity_case2::ReactivationFunction() { return false; }

double flash_systemSAN::seuActivity_case2::SampleDistribution() {
  return TheDistribution->Exponential(1.5e-16);
}

double* flash_systemSAN::seuActivity_case2::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

int flash_systemSAN::seuActivity_case2::Rank() { return 1; }

BaseActionClass* flash_systemSAN::seuActivity_case2::Fire() {
  (*flash_working_Mark) = 0;
  (*flash_corrupted_Mark) = 1;
  return this;
}

/*****************************************************************
                          sefiActivity
*****************************************************************/

flash_systemSAN::sefiActivity::sefiActivity() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("sefi", 1, Exponential, RaceEnabled, 2, 1, false);
}

flash_systemSAN::sefiActivity::~sefiActivity() { delete[] TheDistributionParameters; }

void flash_systemSAN::sefiActivity::LinkVariables() {
  flash_working->addHolder(&flash_working_Mark);
  flash_corrupted->addHolder(&flash_corrupted_Mark);
}

bool flash_systemSAN::sefiActivity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*flash_working_Mark) > 0;
  return NewEnabled;
}

double flash_systemSAN::sefiActivity::Rate() { return 0.00274; }

double flash_systemSAN::sefiActivity::Weight() { return 1.0; }

bool flash_systemSAN::sefiActivity::ReactivationPredicate() { return false; }

bool flash_systemSAN::sefiActivity::ReactivationFunction() { return false; }

double flash_systemSAN::sefiActivity::SampleDistribution() {
  return TheDistribution->Exponential(0.00274);
}

double* flash_systemSAN::sefiActivity::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

int flash_systemSAN::sefiActivity::Rank() { return 1; }

BaseActionClass* flash_systemSAN::sefiActivity::Fire() {
  (*flash_working_Mark) = 0;
  (*flash_corrupted_Mark) = 1;
  return this;
}

/*****************************************************************
                      power_cycleActivity
*****************************************************************/

flash_systemSAN::power_cycleActivity::power_cycleActivity() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("power_cycle", 2, Deterministic, RaceEnabled, 2, 1, false);
}

flash_systemSAN::power_cycleActivity::~power_cycleActivity() { delete[] TheDistributionParameters; }

void flash_systemSAN::power_cycleActivity::LinkVariables() {
  flash_corrupted->addHolder(&flash_corrupted_Mark);
  flash_working->addHolder(&flash_working_Mark);
}

bool flash_systemSAN::power_cycleActivity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*flash_corrupted_Mark) == 1;
  return NewEnabled;
}

double flash_systemSAN::power_cycleActivity::DeterministicParamValue() { return 1e+19; }

double flash_systemSAN::power_cycleActivity::Rate() { return 0.0; }

double flash_systemSAN::power_cycleActivity::Weight() { return 1.0; }

bool flash_systemSAN::power_cycleActivity::ReactivationPredicate() { return false; }

bool flash_systemSAN::power_cycleActivity::ReactivationFunction() { return false; }

double flash_systemSAN::power_cycleActivity::SampleDistribution() {
  return DeterministicParamValue();
}

double* flash_systemSAN::power_cycleActivity::ReturnDistributionParameters() {
  TheDistributionParameters[0] = DeterministicParamValue();
  return TheDistributionParameters;
}

int flash_systemSAN::power_cycleActivity::Rank() { return 1; }

BaseActionClass* flash_systemSAN::power_cycleActivity::Fire() {
  (*flash_corrupted_Mark) = 0;
  (*flash_working_Mark) = 1;
  return this;
}
