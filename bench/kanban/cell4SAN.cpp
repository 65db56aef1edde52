#include "bench/kanban/cell4SAN.h"

#include "Cpp/BaseClasses/Allocate.h"
#include "Cpp/BaseClasses/UserDistributions.h"
#include "bench/kanban/kanban_studyRangeStudy.h"

/*****************************************************************
                            cell4SAN
*****************************************************************/

cell4SAN::cell4SAN() {
  Activity* InitialActionList[4] = {&redo4, &ok4, &back4, &out};
  BaseGroupClass* InitialGroupList[4] = {&redo4, &ok4, &back4, &out};

  w4 = newObject<Place>("w4", 0);
  x4 = newObject<Place>("x4", 0);
  y4 = newObject<Place>("y4", 0);
  z4 = newObject<Place>("z4", 0);
  BaseStateVariableClass* InitialPlaces[4] = {w4, x4, y4, z4};

  initializeSANModelNow("cell4", 4, InitialPlaces, 0, nullptr, 4, InitialActionList, 4,
                        InitialGroupList);

  assignPlacesToActivitiesTimed();

  // (place, activity) pairs into InitialPlaces and InitialActionList.
  const int AffectArcs[8][2] = {{1, 0}, {2, 0}, {1, 1}, {3, 1}, {2, 2}, {1, 2}, {3, 3}, {0, 3}};
  for (const auto& arc : AffectArcs) {
    AddAffectArc(InitialPlaces[arc[0]], InitialActionList[arc[1]]);
  }
  const int EnableArcs[8][2] = {{1, 0}, {2, 0}, {1, 1}, {3, 1}, {2, 2}, {1, 2}, {3, 3}, {0, 3}};
  for (const auto& arc : EnableArcs) {
    AddEnableArc(InitialPlaces[arc[0]], InitialActionList[arc[1]]);
  }

  for (Activity* activity : InitialActionList) {
    activity->LinkVariables();
  }
}

cell4SAN::~cell4SAN() {
  for (int i = 0; i < NumLocalPlaces(); i++) {
    delete Places[i];
  }
}

void cell4SAN::CustomInitialization() {}

void cell4SAN::assignPlacesToActivitiesInst() {}

void cell4SAN::assignPlacesToActivitiesTimed() {
  redo4.x4 = static_cast<Place*>(Places[1]);
  redo4.y4 = static_cast<Place*>(Places[2]);
  ok4.x4 = static_cast<Place*>(Places[1]);
  ok4.z4 = static_cast<Place*>(Places[3]);
  back4.y4 = static_cast<Place*>(Places[2]);
  back4.x4 = static_cast<Place*>(Places[1]);
  out.z4 = static_cast<Place*>(Places[3]);
  out.w4 = static_cast<Place*>(Places[0]);
}

/*****************************************************************
                          redo4Activity
*****************************************************************/

cell4SAN::redo4Activity::redo4Activity() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("redo4", 0, Exponential, RaceEnabled, 2, 2, false);
}

cell4SAN::redo4Activity::~redo4Activity() { delete[] TheDistributionParameters; }

void cell4SAN::redo4Activity::LinkVariables() {
  x4->addHolder(&x4_Mark);
  y4->addHolder(&y4_Mark);
}

bool cell4SAN::redo4Activity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*x4_Mark) > 0 && (*y4_Mark) < t;
  return NewEnabled;
}

double cell4SAN::redo4Activity::Rate() { return 0.33; }

double cell4SAN::redo4Activity::Weight() { return 1.0; }

bool cell4SAN::redo4Activity::ReactivationPredicate() { return false; }

bool cell4SAN::redo4Activity::ReactivationFunction() { return false; }

double cell4SAN::redo4Activity::SampleDistribution() { return TheDistribution->Exponential(0.33); }

double* cell4SAN::redo4Activity::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

int cell4SAN::redo4Activity::Rank() { return 1; }

BaseActionClass* cell4SAN::redo4Activity::Fire() {
  (*x4_Mark)--;
  (*y4_Mark)++;
  return this;
}

/*****************************************************************
                           ok4Activity
*****************************************************************/

cell4SAN::ok4Activity::ok4Activity() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("ok4", 1, Exponential, RaceEnabled, 2, 2, false);
}

cell4SAN::ok4Activity::~ok4Activity() { delete[] TheDistributionParameters; }

void cell4SAN::ok4Activity::LinkVariables() {
  x4->addHolder(&x4_Mark);
  z4->addHolder(&z4_Mark);
}

bool cell4SAN::ok4Activity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*x4_Mark) > 0 && (*z4_Mark) < t;
  return NewEnabled;
}

double cell4SAN::ok4Activity::Rate() { return 0.77; }

double cell4SAN::ok4Activity::Weight() { return 1.0; }

bool cell4SAN::ok4Activity::ReactivationPredicate() { return false; }

bool cell4SAN::ok4Activity::ReactivationFunction() { return false; }

double cell4SAN::ok4Activity::SampleDistribution() { return TheDistribution->Exponential(0.77); }

double* cell4SAN::ok4Activity::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

int cell4SAN::ok4Activity::Rank() { return 1; }

BaseActionClass* cell4SAN::ok4Activity::Fire() {
  (*x4_Mark)--;
  (*z4_Mark)++;
  return this;
}

/*****************************************************************
                          back4Activity
*****************************************************************/

cell4SAN::back4Activity::back4Activity() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("back4", 2, Exponential, RaceEnabled, 2, 2, false);
}

cell4SAN::back4Activity::~back4Activity() { delete[] TheDistributionParameters; }

void cell4SAN::back4Activity::LinkVariables() {
  y4->addHolder(&y4_Mark);
  x4->addHolder(&x4_Mark);
}

bool cell4SAN::back4Activity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*y4_Mark) > 0 && (*x4_Mark) < t;
  return NewEnabled;
}

double cell4SAN::back4Activity::Rate() { return 0.3; }

double cell4SAN::back4Activity::Weight() { return 1.0; }

bool cell4SAN::back4Activity::ReactivationPredicate() { return false; }

bool cell4SAN::back4Activity::ReactivationFunction() { return false; }

double cell4SAN::back4Activity::SampleDistribution() { return TheDistribution->Exponential(0.3); }

double* cell4SAN::back4Activity::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

int cell4SAN::back4Activity::Rank() { return 1; }

BaseActionClass* cell4SAN::back4Activity::Fire() {
  (*y4_Mark)--;
  (*x4_Mark)++;
  return this;
}

/*****************************************************************
                           outActivity
*****************************************************************/

cell4SAN::outActivity::outActivity() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("out", 3, Exponential, RaceEnabled, 2, 2, false);
}

cell4SAN::outActivity::~outActivity() { delete[] TheDistributionParameters; }

void cell4SAN::outActivity::LinkVariables() {
  z4->addHolder(&z4_Mark);
  w4->addHolder(&w4_Mark);
}

bool cell4SAN::outActivity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*z4_Mark) > 0 && (*w4_Mark) > 0;
  return NewEnabled;
}

double cell4SAN::outActivity::Rate() { return 0.9; }

double cell4SAN::outActivity::Weight() { return 1.0; }

bool cell4SAN::outActivity::ReactivationPredicate() { return false; }

bool cell4SAN::outActivity::ReactivationFunction() { return false; }

double cell4SAN::outActivity::SampleDistribution() { return TheDistribution->Exponential(0.9); }

double* cell4SAN::outActivity::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

int cell4SAN::outActivity::Rank() { return 1; }

BaseActionClass* cell4SAN::outActivity::Fire() {
  (*z4_Mark)--;
  (*w4_Mark)--;
  return this;
}
