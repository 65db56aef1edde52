#include "bench/job_shop/machine4SAN.h"

#include "Cpp/BaseClasses/Allocate.h"
#include "Cpp/BaseClasses/UserDistributions.h"

/*****************************************************************
                          machine4SAN
*****************************************************************/

machine4SAN::machine4SAN() {
  Activity* InitialActionList[1] = {&serve};
  BaseGroupClass* InitialGroupList[1] = {&serve};

  q4 = newObject<Place>("q4", 0);
  done = newObject<Place>("done", 0);
  BaseStateVariableClass* InitialPlaces[2] = {q4, done};

  initializeSANModelNow("machine4", 2, InitialPlaces, 0, nullptr, 1, InitialActionList, 1,
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

machine4SAN::~machine4SAN() {
  for (int i = 0; i < NumLocalPlaces(); i++) {
    delete Places[i];
  }
}

void machine4SAN::CustomInitialization() {}

void machine4SAN::assignPlacesToActivitiesInst() {}

void machine4SAN::assignPlacesToActivitiesTimed() {
  serve.q4 = static_cast<Place*>(Places[0]);
  serve.done = static_cast<Place*>(Places[1]);
}

/*****************************************************************
                         serveActivity
*****************************************************************/

machine4SAN::serveActivity::serveActivity() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("serve", 0, Exponential, RaceEnabled, 2, 1, false);
}

machine4SAN::serveActivity::~serveActivity() { delete[] TheDistributionParameters; }

void machine4SAN::serveActivity::LinkVariables() {
  q4->addHolder(&q4_Mark);
  done->addHolder(&done_Mark);
}

bool machine4SAN::serveActivity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*q4_Mark) > 0;
  return NewEnabled;
}

double machine4SAN::serveActivity::Rate() { return 0.45; }

double machine4SAN::serveActivity::Weight() { return 1.0; }

bool machine4SAN::serveActivity::ReactivationPredicate() { return false; }

bool machine4SAN::serveActivity::ReactivationFunction() { return false; }

double machine4SAN::serveActivity::SampleDistribution() {
  return TheDistribution->Exponential(0.45);
}

double* machine4SAN::serveActivity::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

int machine4SAN::serveActivity::Rank() { return 1; }

BaseActionClass* machine4SAN::serveActivity::Fire() {
  (*q4_Mark)--;
  (*done_Mark)++;
  return this;
}
