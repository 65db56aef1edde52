#include "bench/job_shop/machine2SAN.h"

#include "Cpp/BaseClasses/Allocate.h"
#include "Cpp/BaseClasses/UserDistributions.h"

/*****************************************************************
                          machine2SAN
*****************************************************************/

machine2SAN::machine2SAN() {
  Activity* InitialActionList[1] = {&serve};
  BaseGroupClass* InitialGroupList[1] = {&serve};

  q2 = newObject<Place>("q2", 0);
  done = newObject<Place>("done", 0);
  BaseStateVariableClass* InitialPlaces[2] = {q2, done};

  initializeSANModelNow("machine2", 2, InitialPlaces, 0, nullptr, 1, InitialActionList, 1,
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

machine2SAN::~machine2SAN() {
  for (int i = 0; i < NumLocalPlaces(); i++) {
    delete Places[i];
  }
}

void machine2SAN::CustomInitialization() {}

void machine2SAN::assignPlacesToActivitiesInst() {}

void machine2SAN::assignPlacesToActivitiesTimed() {
  serve.q2 = static_cast<Place*>(Places[0]);
  serve.done = static_cast<Place*>(Places[1]);
}

/*****************************************************************
                         serveActivity
*****************************************************************/

machine2SAN::serveActivity::serveActivity() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("serve", 0, Exponential, RaceEnabled, 2, 1, false);
}

machine2SAN::serveActivity::~serveActivity() { delete[] TheDistributionParameters; }

void machine2SAN::serveActivity::LinkVariables() {
  q2->addHolder(&q2_Mark);
  done->addHolder(&done_Mark);
}

bool machine2SAN::serveActivity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*q2_Mark) > 0;
  return NewEnabled;
}

double machine2SAN::serveActivity::Rate() { return 0.35; }

double machine2SAN::serveActivity::Weight() { return 1.0; }

bool machine2SAN::serveActivity::ReactivationPredicate() { return false; }

bool machine2SAN::serveActivity::ReactivationFunction() { return false; }

double machine2SAN::serveActivity::SampleDistribution() {
  return TheDistribution->Exponential(0.35);
}

double* machine2SAN::serveActivity::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

int machine2SAN::serveActivity::Rank() { return 1; }

BaseActionClass* machine2SAN::serveActivity::Fire() {
  (*q2_Mark)--;
  (*done_Mark)++;
  return this;
}
