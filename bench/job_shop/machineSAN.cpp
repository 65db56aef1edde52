#include "bench/job_shop/machineSAN.h"

#include "Cpp/BaseClasses/Allocate.h"
#include "Cpp/BaseClasses/UserDistributions.h"

/*****************************************************************
                          machineSAN
*****************************************************************/

machineSAN::machineSAN(const char* name, const char* queueName, double serviceRate)
    : serve(serviceRate) {
  Activity* InitialActionList[1] = {&serve};
  BaseGroupClass* InitialGroupList[1] = {&serve};

  queue = newObject<Place>(queueName, 0);
  done = newObject<Place>("done", 0);
  BaseStateVariableClass* InitialPlaces[2] = {queue, done};

  initializeSANModelNow(name, 2, InitialPlaces, 0, nullptr, 1, InitialActionList, 1,
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

machineSAN::~machineSAN() {
  for (int i = 0; i < NumLocalPlaces(); i++) {
    delete Places[i];
  }
}

void machineSAN::CustomInitialization() {}

void machineSAN::assignPlacesToActivitiesInst() {}

void machineSAN::assignPlacesToActivitiesTimed() {
  serve.queue = static_cast<Place*>(Places[0]);
  serve.done = static_cast<Place*>(Places[1]);
}

/*****************************************************************
                         serveActivity
*****************************************************************/

machineSAN::serveActivity::serveActivity(double serviceRate) : ServiceRate(serviceRate) {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("serve", 0, Exponential, RaceEnabled, 2, 1, false);
}

machineSAN::serveActivity::~serveActivity() { delete[] TheDistributionParameters; }

void machineSAN::serveActivity::LinkVariables() {
  queue->addHolder(&queue_Mark);
  done->addHolder(&done_Mark);
}

bool machineSAN::serveActivity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*queue_Mark) > 0;
  return NewEnabled;
}

double machineSAN::serveActivity::Rate() { return ServiceRate; }

double machineSAN::serveActivity::Weight() { return 1.0; }

bool machineSAN::serveActivity::ReactivationPredicate() { return false; }

bool machineSAN::serveActivity::ReactivationFunction() { return false; }

double machineSAN::serveActivity::SampleDistribution() {
  return TheDistribution->Exponential(ServiceRate);
}

double* machineSAN::serveActivity::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

int machineSAN::serveActivity::Rank() { return 1; }

BaseActionClass* machineSAN::serveActivity::Fire() {
  (*queue_Mark)--;
  (*done_Mark)++;
  return this;
}
