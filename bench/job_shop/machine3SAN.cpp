#include "bench/job_shop/machine3SAN.h"

#include "Cpp/BaseClasses/Allocate.h"
#include "Cpp/BaseClasses/UserDistributions.h"

/*****************************************************************
                          machine3SAN
*****************************************************************/

machine3SAN::machine3SAN() {
  Activity* InitialActionList[1] = {&serve};
  BaseGroupClass* InitialGroupList[1] = {&serve};

  q3 = newObject<Place>("q3", 0);
  done = newObject<Place>("done", 0);
  BaseStateVariableClass* InitialPlaces[2] = {q3, done};

  initializeSANModelNow("machine3", 2, InitialPlaces, 0, nullptr, 1, InitialActionList, 1,
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

machine3SAN::~machine3SAN() {
  for (int i = 0; i < NumLocalPlaces(); i++) {
    delete Places[i];
  }
}

void machine3SAN::CustomInitialization() {}

void machine3SAN::assignPlacesToActivitiesInst() {}

void machine3SAN::assignPlacesToActivitiesTimed() {
  serve.q3 = static_cast<Place*>(Places[0]);
  serve.done = static_cast<Place*>(Places[1]);
}

/*****************************************************************
                         serveActivity
*****************************************************************/

machine3SAN::serveActivity::serveActivity() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("serve", 0, Exponential, RaceEnabled, 2, 1, false);
}

machine3SAN::serveActivity::~serveActivity() { delete[] TheDistributionParameters; }

void machine3SAN::serveActivity::LinkVariables() {
  q3->addHolder(&q3_Mark);
  done->addHolder(&done_Mark);
}

bool machine3SAN::serveActivity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*q3_Mark) > 0;
  return NewEnabled;
}

double machine3SAN::serveActivity::Rate() { return 0.4; }

double machine3SAN::serveActivity::Weight() { return 1.0; }

bool machine3SAN::serveActivity::ReactivationPredicate() { return false; }

bool machine3SAN::serveActivity::ReactivationFunction() { return false; }

double machine3SAN::serveActivity::SampleDistribution() {
  return TheDistribution->Exponential(0.4);
}

double* machine3SAN::serveActivity::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

int machine3SAN::serveActivity::Rank() { return 1; }

BaseActionClass* machine3SAN::serveActivity::Fire() {
  (*q3_Mark)--;
  (*done_Mark)++;
  return this;
}
