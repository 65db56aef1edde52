#include "bench/job_shop/machine1SAN.h"

#include "Cpp/BaseClasses/Allocate.h"
#include "Cpp/BaseClasses/UserDistributions.h"

/*****************************************************************
                          machine1SAN
*****************************************************************/

machine1SAN::machine1SAN() {
  Activity* InitialActionList[1] = {&serve};
  BaseGroupClass* InitialGroupList[1] = {&serve};

  q1 = newObject<Place>("q1", 0);
  done = newObject<Place>("done", 0);
  BaseStateVariableClass* InitialPlaces[2] = {q1, done};

  initializeSANModelNow("machine1", 2, InitialPlaces, 0, nullptr, 1, InitialActionList, 1,
                        InitialGroupList);

  assignPlacesToActivitiesTimed();

  // (place, activity) pairs into InitialPlaces and InitialActionList.
  const int AffectArcs[2][2] = {{0, 0}, {1, 0}};
  for (const auto& arc : AffectArcs) {
    AddAffectArc(InitialPlaces[arc[0]], InitialActionList[arc[1]]);
  }
  const int EnableArcs[1][2] = {{0, 0}};
  for (const auto& arc : EnableArcs) {
    AddEnableArc(InitialPlaces[arc[0]], InitialActionList[arc[1]]);
  }

  for (Activity* activity : InitialActionList) {
    activity->LinkVariables();
  }
}

machine1SAN::~machine1SAN() {
  for (int i = 0; i < NumLocalPlaces(); i++) {
    delete Places[i];
  }
}

void machine1SAN::CustomInitialization() {}

void machine1SAN::assignPlacesToActivitiesInst() {}

void machine1SAN::assignPlacesToActivitiesTimed() {
  serve.q1 = static_cast<Place*>(Places[0]);
  serve.done = static_cast<Place*>(Places[1]);
}

/*****************************************************************
                         serveActivity
*****************************************************************/

machine1SAN::serveActivity::serveActivity() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("serve", 0, Exponential, RaceEnabled, 2, 1, false);
}

machine1SAN::serveActivity::~serveActivity() { delete[] TheDistributionParameters; }

void machine1SAN::serveActivity::LinkVariables() {
  q1->addHolder(&q1_Mark);
  done->addHolder(&done_Mark);
}

bool machine1SAN::serveActivity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*q1_Mark) > 0;
  return NewEnabled;
}

double machine1SAN::serveActivity::Rate() { return 0.3; }

double machine1SAN::serveActivity::Weight() { return 1.0; }

bool machine1SAN::serveActivity::ReactivationPredicate() { return false; }

bool machine1SAN::serveActivity::ReactivationFunction() { return false; }

double machine1SAN::serveActivity::SampleDistribution() {
  return TheDistribution->Exponential(0.3);
}

double* machine1SAN::serveActivity::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

int machine1SAN::serveActivity::Rank() { return 1; }

BaseActionClass* machine1SAN::serveActivity::Fire() {
  (*q1_Mark)--;
  (*done_Mark)++;
  return this;
}
