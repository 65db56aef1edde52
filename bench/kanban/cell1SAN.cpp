#include "bench/kanban/cell1SAN.h"

#include "Cpp/BaseClasses/Allocate.h"
#include "Cpp/BaseClasses/UserDistributions.h"
#include "bench/kanban/kanban_studyRangeStudy.h"

/*****************************************************************
                            cell1SAN
*****************************************************************/

cell1SAN::cell1SAN() {
  Activity* InitialActionList[5] = {&in, &redo1, &ok1, &back1, &s1};
  BaseGroupClass* InitialGroupList[5] = {&in, &redo1, &ok1, &back1, &s1};

  w1 = newObject<Place>("w1", 0);
  x1 = newObject<Place>("x1", 0);
  y1 = newObject<Place>("y1", 0);
  z1 = newObject<Place>("z1", 0);
  w2 = newObject<Place>("w2", 0);
  x2 = newObject<Place>("x2", 0);
  w3 = newObject<Place>("w3", 0);
  x3 = newObject<Place>("x3", 0);
  BaseStateVariableClass* InitialPlaces[8] = {w1, x1, y1, z1, w2, x2, w3, x3};

  initializeSANModelNow("cell1", 8, InitialPlaces, 0, nullptr, 5, InitialActionList, 5,
                        InitialGroupList);

  assignPlacesToActivitiesTimed();

  // (place, activity) pairs into InitialPlaces and InitialActionList.
  const int AffectArcs[14][2] = {{0, 0}, {1, 0}, {1, 1}, {2, 1}, {1, 2}, {3, 2}, {2, 3},
                                 {1, 3}, {3, 4}, {0, 4}, {4, 4}, {5, 4}, {6, 4}, {7, 4}};
  for (const auto& arc : AffectArcs) {
    AddAffectArc(InitialPlaces[arc[0]], InitialActionList[arc[1]]);
  }
  const int EnableArcs[14][2] = {{0, 0}, {1, 0}, {1, 1}, {2, 1}, {1, 2}, {3, 2}, {2, 3},
                                 {1, 3}, {3, 4}, {0, 4}, {4, 4}, {5, 4}, {6, 4}, {7, 4}};
  for (const auto& arc : EnableArcs) {
    AddEnableArc(InitialPlaces[arc[0]], InitialActionList[arc[1]]);
  }

  for (Activity* activity : InitialActionList) {
    activity->LinkVariables();
  }
}

cell1SAN::~cell1SAN() {
  for (int i = 0; i < NumLocalPlaces(); i++) {
    delete Places[i];
  }
}

void cell1SAN::CustomInitialization() {}

void cell1SAN::assignPlacesToActivitiesInst() {}

void cell1SAN::assignPlacesToActivitiesTimed() {
  in.w1 = static_cast<Place*>(Places[0]);
  in.x1 = static_cast<Place*>(Places[1]);
  redo1.x1 = static_cast<Place*>(Places[1]);
  redo1.y1 = static_cast<Place*>(Places[2]);
  ok1.x1 = static_cast<Place*>(Places[1]);
  ok1.z1 = static_cast<Place*>(Places[3]);
  back1.y1 = static_cast<Place*>(Places[2]);
  back1.x1 = static_cast<Place*>(Places[1]);
  s1.z1 = static_cast<Place*>(Places[3]);
  s1.w1 = static_cast<Place*>(Places[0]);
  s1.w2 = static_cast<Place*>(Places[4]);
  s1.x2 = static_cast<Place*>(Places[5]);
  s1.w3 = static_cast<Place*>(Places[6]);
  s1.x3 = static_cast<Place*>(Places[7]);
}

/*****************************************************************
                           inActivity
*****************************************************************/

cell1SAN::inActivity::inActivity() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("in", 0, Exponential, RaceEnabled, 2, 2, false);
}

cell1SAN::inActivity::~inActivity() { delete[] TheDistributionParameters; }

void cell1SAN::inActivity::LinkVariables() {
  w1->addHolder(&w1_Mark);
  x1->addHolder(&x1_Mark);
}

bool cell1SAN::inActivity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*w1_Mark) < t && (*x1_Mark) < t;
  return NewEnabled;
}

double cell1SAN::inActivity::Rate() { return 1.0; }

double cell1SAN::inActivity::Weight() { return 1.0; }

bool cell1SAN::inActivity::ReactivationPredicate() { return false; }

bool cell1SAN::inActivity::ReactivationFunction() { return false; }

double cell1SAN::inActivity::SampleDistribution() { return TheDistribution->Exponential(1.0); }

double* cell1SAN::inActivity::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

int cell1SAN::inActivity::Rank() { return 1; }

BaseActionClass* cell1SAN::inActivity::Fire() {
  (*w1_Mark)++;
  (*x1_Mark)++;
  return this;
}

/*****************************************************************
                          redo1Activity
*****************************************************************/

cell1SAN::redo1Activity::redo1Activity() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("redo1", 1, Exponential, RaceEnabled, 2, 2, false);
}

cell1SAN::redo1Activity::~redo1Activity() { delete[] TheDistributionParameters; }

void cell1SAN::redo1Activity::LinkVariables() {
  x1->addHolder(&x1_Mark);
  y1->addHolder(&y1_Mark);
}

bool cell1SAN::redo1Activity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*x1_Mark) > 0 && (*y1_Mark) < t;
  return NewEnabled;
}

double cell1SAN::redo1Activity::Rate() { return 0.36; }

double cell1SAN::redo1Activity::Weight() { return 1.0; }

bool cell1SAN::redo1Activity::ReactivationPredicate() { return false; }

bool cell1SAN::redo1Activity::ReactivationFunction() { return false; }

double cell1SAN::redo1Activity::SampleDistribution() { return TheDistribution->Exponential(0.36); }

double* cell1SAN::redo1Activity::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

int cell1SAN::redo1Activity::Rank() { return 1; }

BaseActionClass* cell1SAN::redo1Activity::Fire() {
  (*x1_Mark)--;
  (*y1_Mark)++;
  return this;
}

/*****************************************************************
                           ok1Activity
*****************************************************************/

cell1SAN::ok1Activity::ok1Activity() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("ok1", 2, Exponential, RaceEnabled, 2, 2, false);
}

cell1SAN::ok1Activity::~ok1Activity() { delete[] TheDistributionParameters; }

void cell1SAN::ok1Activity::LinkVariables() {
  x1->addHolder(&x1_Mark);
  z1->addHolder(&z1_Mark);
}

bool cell1SAN::ok1Activity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*x1_Mark) > 0 && (*z1_Mark) < t;
  return NewEnabled;
}

double cell1SAN::ok1Activity::Rate() { return 0.84; }

double cell1SAN::ok1Activity::Weight() { return 1.0; }

bool cell1SAN::ok1Activity::ReactivationPredicate() { return false; }

bool cell1SAN::ok1Activity::ReactivationFunction() { return false; }

double cell1SAN::ok1Activity::SampleDistribution() { return TheDistribution->Exponential(0.84); }

double* cell1SAN::ok1Activity::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

int cell1SAN::ok1Activity::Rank() { return 1; }

BaseActionClass* cell1SAN::ok1Activity::Fire() {
  (*x1_Mark)--;
  (*z1_Mark)++;
  return this;
}

/*****************************************************************
                          back1Activity
*****************************************************************/

cell1SAN::back1Activity::back1Activity() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("back1", 3, Exponential, RaceEnabled, 2, 2, false);
}

cell1SAN::back1Activity::~back1Activity() { delete[] TheDistributionParameters; }

void cell1SAN::back1Activity::LinkVariables() {
  y1->addHolder(&y1_Mark);
  x1->addHolder(&x1_Mark);
}

bool cell1SAN::back1Activity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*y1_Mark) > 0 && (*x1_Mark) < t;
  return NewEnabled;
}

double cell1SAN::back1Activity::Rate() { return 0.3; }

double cell1SAN::back1Activity::Weight() { return 1.0; }

bool cell1SAN::back1Activity::ReactivationPredicate() { return false; }

bool cell1SAN::back1Activity::ReactivationFunction() { return false; }

double cell1SAN::back1Activity::SampleDistribution() { return TheDistribution->Exponential(0.3); }

double* cell1SAN::back1Activity::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

int cell1SAN::back1Activity::Rank() { return 1; }

BaseActionClass* cell1SAN::back1Activity::Fire() {
  (*y1_Mark)--;
  (*x1_Mark)++;
  return this;
}

/*****************************************************************
                           s1Activity
*****************************************************************/

cell1SAN::s1Activity::s1Activity() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("s1", 4, Exponential, RaceEnabled, 6, 6, false);
}

cell1SAN::s1Activity::~s1Activity() { delete[] TheDistributionParameters; }

void cell1SAN::s1Activity::LinkVariables() {
  z1->addHolder(&z1_Mark);
  w1->addHolder(&w1_Mark);
  w2->addHolder(&w2_Mark);
  x2->addHolder(&x2_Mark);
  w3->addHolder(&w3_Mark);
  x3->addHolder(&x3_Mark);
}

bool cell1SAN::s1Activity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*z1_Mark) > 0 && (*w1_Mark) > 0 && (*w2_Mark) < t && (*x2_Mark) < t &&
               (*w3_Mark) < t && (*x3_Mark) < t;
  return NewEnabled;
}

double cell1SAN::s1Activity::Rate() { return 0.4; }

double cell1SAN::s1Activity::Weight() { return 1.0; }

bool cell1SAN::s1Activity::ReactivationPredicate() { return false; }

bool cell1SAN::s1Activity::ReactivationFunction() { return false; }

double cell1SAN::s1Activity::SampleDistribution() { return TheDistribution->Exponential(0.4); }

double* cell1SAN::s1Activity::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

int cell1SAN::s1Activity::Rank() { return 1; }

BaseActionClass* cell1SAN::s1Activity::Fire() {
  (*z1_Mark)--;
  (*w1_Mark)--;
  (*w2_Mark)++;
  (*x2_Mark)++;
  (*w3_Mark)++;
  (*x3_Mark)++;
  return this;
}
