#include "bench/kanban/cell3SAN.h"

#include "Cpp/BaseClasses/Allocate.h"
#include "Cpp/BaseClasses/UserDistributions.h"
#include "bench/kanban/kanban_studyRangeStudy.h"

/*****************************************************************
                            cell3SAN
*****************************************************************/

cell3SAN::cell3SAN() {
  Activity* InitialActionList[3] = {&redo3, &ok3, &back3};
  BaseGroupClass* InitialGroupList[3] = {&redo3, &ok3, &back3};

  w3 = newObject<Place>("w3", 0);
  x3 = newObject<Place>("x3", 0);
  y3 = newObject<Place>("y3", 0);
  z3 = newObject<Place>("z3", 0);
  BaseStateVariableClass* InitialPlaces[4] = {w3, x3, y3, z3};

  initializeSANModelNow("cell3", 4, InitialPlaces, 0, nullptr, 3, InitialActionList, 3,
                        InitialGroupList);

  assignPlacesToActivitiesTimed();

  // (place, activity) pairs into InitialPlaces and InitialActionList.
  const int AffectArcs[6][2] = {{1, 0}, {2, 0}, {1, 1}, {3, 1}, {2, 2}, {1, 2}};
  for (const auto& arc : AffectArcs) {
    AddAffectArc(InitialPlaces[arc[0]], InitialActionList[arc[1]]);
  }
  const int EnableArcs[6][2] = {{1, 0}, {2, 0}, {1, 1}, {3, 1}, {2, 2}, {1, 2}};
  for (const auto& arc : EnableArcs) {
    AddEnableArc(InitialPlaces[arc[0]], InitialActionList[arc[1]]);
  }

  for (Activity* activity : InitialActionList) {
    activity->LinkVariables();
  }
}

cell3SAN::~cell3SAN() {
  for (int i = 0; i < NumLocalPlaces(); i++) {
    delete Places[i];
  }
}

void cell3SAN::CustomInitialization() {}

void cell3SAN::assignPlacesToActivitiesInst() {}

void cell3SAN::assignPlacesToActivitiesTimed() {
  redo3.x3 = static_cast<Place*>(Places[1]);
  redo3.y3 = static_cast<Place*>(Places[2]);
  ok3.x3 = static_cast<Place*>(Places[1]);
  ok3.z3 = static_cast<Place*>(Places[3]);
  back3.y3 = static_cast<Place*>(Places[2]);
  back3.x3 = static_cast<Place*>(Places[1]);
}

/*****************************************************************
                          redo3Activity
*****************************************************************/

cell3SAN::redo3Activity::redo3Activity() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("redo3", 0, Exponential, RaceEnabled, 2, 2, false);
}

cell3SAN::redo3Activity::~redo3Activity() { delete[] TheDistributionParameters; }

void cell3SAN::redo3Activity::LinkVariables() {
  x3->addHolder(&x3_Mark);
  y3->addHolder(&y3_Mark);
}

bool cell3SAN::redo3Activity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*x3_Mark) > 0 && (*y3_Mark) < t;
  return NewEnabled;
}

double cell3SAN::redo3Activity::Rate() { return 0.39; }

double cell3SAN::redo3Activity::Weight() { return 1.0; }

bool cell3SAN::redo3Activity::ReactivationPredicate() { return false; }

bool cell3SAN::redo3Activity::ReactivationFunction() { return false; }

double cell3SAN::redo3Activity::SampleDistribution() { return TheDistribution->Exponential(0.39); }

double* cell3SAN::redo3Activity::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

int cell3SAN::redo3Activity::Rank() { return 1; }

BaseActionClass* cell3SAN::redo3Activity::Fire() {
  (*x3_Mark)--;
  (*y3_Mark)++;
  return this;
}

/*****************************************************************
                           ok3Activity
*****************************************************************/

cell3SAN::ok3Activity::ok3Activity() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("ok3", 1, Exponential, RaceEnabled, 2, 2, false);
}

cell3SAN::ok3Activity::~ok3Activity() { delete[] TheDistributionParameters; }

void cell3SAN::ok3Activity::LinkVariables() {
  x3->addHolder(&x3_Mark);
  z3->addHolder(&z3_Mark);
}

bool cell3SAN::ok3Activity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*x3_Mark) > 0 && (*z3_Mark) < t;
  return NewEnabled;
}

double cell3SAN::ok3Activity::Rate() { return 0.91; }

double cell3SAN::ok3Activity::Weight() { return 1.0; }

bool cell3SAN::ok3Activity::ReactivationPredicate() { return false; }

bool cell3SAN::ok3Activity::ReactivationFunction() { return false; }

double cell3SAN::ok3Activity::SampleDistribution() { return TheDistribution->Exponential(0.91); }

double* cell3SAN::ok3Activity::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

int cell3SAN::ok3Activity::Rank() { return 1; }

BaseActionClass* cell3SAN::ok3Activity::Fire() {
  (*x3_Mark)--;
  (*z3_Mark)++;
  return this;
}

/*****************************************************************
                          back3Activity
*****************************************************************/

cell3SAN::back3Activity::back3Activity() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("back3", 2, Exponential, RaceEnabled, 2, 2, false);
}

cell3SAN::back3Activity::~back3Activity() { delete[] TheDistributionParameters; }

void cell3SAN::back3Activity::LinkVariables() {
  y3->addHolder(&y3_Mark);
  x3->addHolder(&x3_Mark);
}

bool cell3SAN::back3Activity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*y3_Mark) > 0 && (*x3_Mark) < t;
  return NewEnabled;
}

double cell3SAN::back3Activity::Rate() { return 0.3; }

double cell3SAN::back3Activity::Weight() { return 1.0; }

bool cell3SAN::back3Activity::ReactivationPredicate() { return false; }

bool cell3SAN::back3Activity::ReactivationFunction() { return false; }

double cell3SAN::back3Activity::SampleDistribution() { return TheDistribution->Exponential(0.3); }

double* cell3SAN::back3Activity::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

int cell3SAN::back3Activity::Rank() { return 1; }

BaseActionClass* cell3SAN::back3Activity::Fire() {
  (*y3_Mark)--;
  (*x3_Mark)++;
  return this;
}
