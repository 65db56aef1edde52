#include "bench/kanban/cell2SAN.h"

#include "Cpp/BaseClasses/Allocate.h"
#include "Cpp/BaseClasses/UserDistributions.h"
#include "bench/kanban/kanban_studyRangeStudy.h"

/*****************************************************************
                            cell2SAN
*****************************************************************/

cell2SAN::cell2SAN() {
  Activity* InitialActionList[4] = {&redo2, &ok2, &back2, &s2};
  BaseGroupClass* InitialGroupList[4] = {&redo2, &ok2, &back2, &s2};

  w2 = newObject<Place>("w2", 0);
  x2 = newObject<Place>("x2", 0);
  y2 = newObject<Place>("y2", 0);
  z2 = newObject<Place>("z2", 0);
  z3 = newObject<Place>("z3", 0);
  w3 = newObject<Place>("w3", 0);
  w4 = newObject<Place>("w4", 0);
  x4 = newObject<Place>("x4", 0);
  BaseStateVariableClass* InitialPlaces[8] = {w2, x2, y2, z2, z3, w3, w4, x4};

  initializeSANModelNow("cell2", 8, InitialPlaces, 0, nullptr, 4, InitialActionList, 4,
                        InitialGroupList);

  assignPlacesToActivitiesTimed();

  // (place, activity) pairs into InitialPlaces and InitialActionList.
  const int AffectArcs[12][2] = {{1, 0}, {2, 0}, {1, 1}, {3, 1}, {2, 2}, {1, 2},
                                 {3, 3}, {0, 3}, {4, 3}, {5, 3}, {6, 3}, {7, 3}};
  for (const auto& arc : AffectArcs) {
    AddAffectArc(InitialPlaces[arc[0]], InitialActionList[arc[1]]);
  }
  const int EnableArcs[12][2] = {{1, 0}, {2, 0}, {1, 1}, {3, 1}, {2, 2}, {1, 2},
                                 {3, 3}, {0, 3}, {4, 3}, {5, 3}, {6, 3}, {7, 3}};
  for (const auto& arc : EnableArcs) {
    AddEnableArc(InitialPlaces[arc[0]], InitialActionList[arc[1]]);
  }

  for (Activity* activity : InitialActionList) {
    activity->LinkVariables();
  }
}

cell2SAN::~cell2SAN() {
  for (int i = 0; i < NumLocalPlaces(); i++) {
    delete Places[i];
  }
}

void cell2SAN::CustomInitialization() {}

void cell2SAN::assignPlacesToActivitiesInst() {}

void cell2SAN::assignPlacesToActivitiesTimed() {
  redo2.x2 = static_cast<Place*>(Places[1]);
  redo2.y2 = static_cast<Place*>(Places[2]);
  ok2.x2 = static_cast<Place*>(Places[1]);
  ok2.z2 = static_cast<Place*>(Places[3]);
  back2.y2 = static_cast<Place*>(Places[2]);
  back2.x2 = static_cast<Place*>(Places[1]);
  s2.z2 = static_cast<Place*>(Places[3]);
  s2.w2 = static_cast<Place*>(Places[0]);
  s2.z3 = static_cast<Place*>(Places[4]);
  s2.w3 = static_cast<Place*>(Places[5]);
  s2.w4 = static_cast<Place*>(Places[6]);
  s2.x4 = static_cast<Place*>(Places[7]);
}

/*****************************************************************
                          redo2Activity
*****************************************************************/

cell2SAN::redo2Activity::redo2Activity() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("redo2", 0, Exponential, RaceEnabled, 2, 2, false);
}

cell2SAN::redo2Activity::~redo2Activity() { delete[] TheDistributionParameters; }

void cell2SAN::redo2Activity::LinkVariables() {
  x2->addHolder(&x2_Mark);
  y2->addHolder(&y2_Mark);
}

bool cell2SAN::redo2Activity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*x2_Mark) > 0 && (*y2_Mark) < t;
  return NewEnabled;
}

double cell2SAN::redo2Activity::Rate() { return 0.42; }

double cell2SAN::redo2Activity::Weight() { return 1.0; }

bool cell2SAN::redo2Activity::ReactivationPredicate() { return false; }

bool cell2SAN::redo2Activity::ReactivationFunction() { return false; }

double cell2SAN::redo2Activity::SampleDistribution() { return TheDistribution->Exponential(0.42); }

double* cell2SAN::redo2Activity::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

int cell2SAN::redo2Activity::Rank() { return 1; }

BaseActionClass* cell2SAN::redo2Activity::Fire() {
  (*x2_Mark)--;
  (*y2_Mark)++;
  return this;
}

/*****************************************************************
                           ok2Activity
*****************************************************************/

cell2SAN::ok2Activity::ok2Activity() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("ok2", 1, Exponential, RaceEnabled, 2, 2, false);
}

cell2SAN::ok2Activity::~ok2Activity() { delete[] TheDistributionParameters; }

void cell2SAN::ok2Activity::LinkVariables() {
  x2->addHolder(&x2_Mark);
  z2->addHolder(&z2_Mark);
}

bool cell2SAN::ok2Activity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*x2_Mark) > 0 && (*z2_Mark) < t;
  return NewEnabled;
}

double cell2SAN::ok2Activity::Rate() { return 0.98; }

double cell2SAN::ok2Activity::Weight() { return 1.0; }

bool cell2SAN::ok2Activity::ReactivationPredicate() { return false; }

bool cell2SAN::ok2Activity::ReactivationFunction() { return false; }

double cell2SAN::ok2Activity::SampleDistribution() { return TheDistribution->Exponential(0.98); }

double* cell2SAN::ok2Activity::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

int cell2SAN::ok2Activity::Rank() { return 1; }

BaseActionClass* cell2SAN::ok2Activity::Fire() {
  (*x2_Mark)--;
  (*z2_Mark)++;
  return this;
}

/*****************************************************************
                          back2Activity
*****************************************************************/

cell2SAN::back2Activity::back2Activity() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("back2", 2, Exponential, RaceEnabled, 2, 2, false);
}

cell2SAN::back2Activity::~back2Activity() { delete[] TheDistributionParameters; }

void cell2SAN::back2Activity::LinkVariables() {
  y2->addHolder(&y2_Mark);
  x2->addHolder(&x2_Mark);
}

bool cell2SAN::back2Activity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*y2_Mark) > 0 && (*x2_Mark) < t;
  return NewEnabled;
}

double cell2SAN::back2Activity::Rate() { return 0.3; }

double cell2SAN::back2Activity::Weight() { return 1.0; }

bool cell2SAN::back2Activity::ReactivationPredicate() { return false; }

bool cell2SAN::back2Activity::ReactivationFunction() { return false; }

double cell2SAN::back2Activity::SampleDistribution() { return TheDistribution->Exponential(0.3); }

double* cell2SAN::back2Activity::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

int cell2SAN::back2Activity::Rank() { return 1; }

BaseActionClass* cell2SAN::back2Activity::Fire() {
  (*y2_Mark)--;
  (*x2_Mark)++;
  return this;
}

/*****************************************************************
                           s2Activity
*****************************************************************/

cell2SAN::s2Activity::s2Activity() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("s2", 3, Exponential, RaceEnabled, 6, 6, false);
}

cell2SAN::s2Activity::~s2Activity() { delete[] TheDistributionParameters; }

void cell2SAN::s2Activity::LinkVariables() {
  z2->addHolder(&z2_Mark);
  w2->addHolder(&w2_Mark);
  z3->addHolder(&z3_Mark);
  w3->addHolder(&w3_Mark);
  w4->addHolder(&w4_Mark);
  x4->addHolder(&x4_Mark);
}

bool cell2SAN::s2Activity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*z2_Mark) > 0 && (*w2_Mark) > 0 && (*z3_Mark) > 0 && (*w3_Mark) > 0 &&
               (*w4_Mark) < t && (*x4_Mark) < t;
  return NewEnabled;
}

double cell2SAN::s2Activity::Rate() { return 0.5; }

double cell2SAN::s2Activity::Weight() { return 1.0; }

bool cell2SAN::s2Activity::ReactivationPredicate() { return false; }

bool cell2SAN::s2Activity::ReactivationFunction() { return false; }

double cell2SAN::s2Activity::SampleDistribution() { return TheDistribution->Exponential(0.5); }

double* cell2SAN::s2Activity::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

int cell2SAN::s2Activity::Rank() { return 1; }

BaseActionClass* cell2SAN::s2Activity::Fire() {
  (*z2_Mark)--;
  (*w2_Mark)--;
  (*z3_Mark)--;
  (*w3_Mark)--;
  (*w4_Mark)++;
  (*x4_Mark)++;
  return this;
}
