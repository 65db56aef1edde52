#include "bench/job_shop/dispatcherSAN.h"

#include "Cpp/BaseClasses/Allocate.h"
#include "Cpp/BaseClasses/UserDistributions.h"
#include "bench/job_shop/job_shop_studyRangeStudy.h"

/*****************************************************************
                         dispatcherSAN
*****************************************************************/

dispatcherSAN::dispatcherSAN() {
  routeGroup.initialize(4, "routeGroup");
  routeGroup.appendGroup(&route_case1);
  routeGroup.appendGroup(&route_case2);
  routeGroup.appendGroup(&route_case3);
  routeGroup.appendGroup(&route_case4);
  inspectGroup.initialize(2, "inspectGroup");
  inspectGroup.appendGroup(&inspect_case1);
  inspectGroup.appendGroup(&inspect_case2);

  Activity* InitialActionList[8] = {&arrive,      &route_case1, &route_case2,   &route_case3,
                                    &route_case4, &reject,      &inspect_case1, &inspect_case2};
  BaseGroupClass* InitialGroupList[4] = {&arrive, &routeGroup, &reject, &inspectGroup};

  arrived = newObject<Place>("arrived", 0);
  q1 = newObject<Place>("q1", 0);
  q2 = newObject<Place>("q2", 0);
  q3 = newObject<Place>("q3", 0);
  q4 = newObject<Place>("q4", 0);
  done = newObject<Place>("done", 0);
  BaseStateVariableClass* InitialPlaces[6] = {arrived, q1, q2, q3, q4, done};

  initializeSANModelNow("dispatcher", 6, InitialPlaces, 0, nullptr, 8, InitialActionList, 4,
                        InitialGroupList);

  assignPlacesToActivitiesInst();
  assignPlacesToActivitiesTimed();

  // (place, activity) pairs into InitialPlaces and InitialActionList.
  const int AffectArcs[13][2] = {{0, 0}, {0, 1}, {1, 1}, {0, 2}, {2, 2}, {0, 3}, {3, 3},
                                 {0, 4}, {4, 4}, {0, 5}, {5, 6}, {5, 7}, {0, 7}};
  for (const auto& arc : AffectArcs) {
    AddAffectArc(InitialPlaces[arc[0]], InitialActionList[arc[1]]);
  }
  const int EnableArcs[15][2] = {{0, 1}, {1, 1}, {0, 2}, {2, 2}, {0, 3}, {3, 3}, {0, 4}, {4, 4},
                                 {0, 5}, {1, 5}, {2, 5}, {3, 5}, {4, 5}, {5, 6}, {5, 7}};
  for (const auto& arc : EnableArcs) {
    AddEnableArc(InitialPlaces[arc[0]], InitialActionList[arc[1]]);
  }

  for (Activity* activity : InitialActionList) {
    activity->LinkVariables();
  }
}

dispatcherSAN::~dispatcherSAN() {
  for (int i = 0; i < NumLocalPlaces(); i++) {
    delete Places[i];
  }
}

void dispatcherSAN::CustomInitialization() {}

void dispatcherSAN::assignPlacesToActivitiesInst() {
  route_case1.arrived = static_cast<Place*>(Places[0]);
  route_case1.q1 = static_cast<Place*>(Places[1]);
  route_case2.arrived = static_cast<Place*>(Places[0]);
  route_case2.q2 = static_cast<Place*>(Places[2]);
  route_case3.arrived = static_cast<Place*>(Places[0]);
  route_case3.q3 = static_cast<Place*>(Places[3]);
  route_case4.arrived = static_cast<Place*>(Places[0]);
  route_case4.q4 = static_cast<Place*>(Places[4]);
  reject.arrived = static_cast<Place*>(Places[0]);
  reject.q1 = static_cast<Place*>(Places[1]);
  reject.q2 = static_cast<Place*>(Places[2]);
  reject.q3 = static_cast<Place*>(Places[3]);
  reject.q4 = static_cast<Place*>(Places[4]);
  inspect_case1.done = static_cast<Place*>(Places[5]);
  inspect_case2.done = static_cast<Place*>(Places[5]);
  inspect_case2.arrived = static_cast<Place*>(Places[0]);
}

void dispatcherSAN::assignPlacesToActivitiesTimed() {
  arrive.arrived = static_cast<Place*>(Places[0]);
}

/*****************************************************************
                        arriveActivity
*****************************************************************/

dispatcherSAN::arriveActivity::arriveActivity() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("arrive", 0, Exponential, RaceEnabled, 1, 0, false);
}

dispatcherSAN::arriveActivity::~arriveActivity() { delete[] TheDistributionParameters; }

void dispatcherSAN::arriveActivity::LinkVariables() { arrived->addHolder(&arrived_Mark); }

bool dispatcherSAN::arriveActivity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = true;
  return NewEnabled;
}

double dispatcherSAN::arriveActivity::Rate() { return 1.0; }

double dispatcherSAN::arriveActivity::Weight() { return 1.0; }

bool dispatcherSAN::arriveActivity::ReactivationPredicate() { return false; }

bool dispatcherSAN::arriveActivity::ReactivationFunction() { return false; }

double dispatcherSAN::arriveActivity::SampleDistribution() {
  return TheDistribution->Exponential(1.0);
}

double* dispatcherSAN::arriveActivity::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

int dispatcherSAN::arriveActivity::Rank() { return 1; }

BaseActionClass* dispatcherSAN::arriveActivity::Fire() {
  (*arrived_Mark)++;
  return this;
}

/*****************************************************************
                      routeActivity_case1
*****************************************************************/

dispatcherSAN::routeActivity_case1::routeActivity_case1() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("route_case1", 1, Instantaneous, RaceEnabled, 2, 2, false);
}

dispatcherSAN::routeActivity_case1::~routeActivity_case1() { delete[] TheDistributionParameters; }

void dispatcherSAN::routeActivity_case1::LinkVariables() {
  arrived->addHolder(&arrived_Mark);
  q1->addHolder(&q1_Mark);
}

bool dispatcherSAN::routeActivity_case1::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*arrived_Mark) > 0 && (*q1_Mark) < queue_capacity;
  return NewEnabled;
}

double dispatcherSAN::routeActivity_case1::Rate() { return 0.0; }

// The free room of queue 1.
double dispatcherSAN::routeActivity_case1::Weight() { return queue_capacity - (*q1_Mark); }

bool dispatcherSAN::routeActivity_case1::ReactivationPredicate() { return false; }

bool dispatcherSAN::routeActivity_case1::ReactivationFunction() { return false; }

double dispatcherSAN::routeActivity_case1::SampleDistribution() { return 0.0; }

double* dispatcherSAN::routeActivity_case1::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

// An idle machine outranks every busy one.
int dispatcherSAN::routeActivity_case1::Rank() { return (*q1_Mark) == 0 ? 2 : 1; }

BaseActionClass* dispatcherSAN::routeActivity_case1::Fire() {
  (*arrived_Mark)--;
  (*q1_Mark)++;
  return this;
}

/*****************************************************************
                      routeActivity_case2
*****************************************************************/

dispatcherSAN::routeActivity_case2::routeActivity_case2() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("route_case2", 1, Instantaneous, RaceEnabled, 2, 2, false);
}

dispatcherSAN::routeActivity_case2::~routeActivity_case2() { delete[] TheDistributionParameters; }

void dispatcherSAN::routeActivity_case2::LinkVariables() {
  arrived->addHolder(&arrived_Mark);
  q2->addHolder(&q2_Mark);
}

bool dispatcherSAN::routeActivity_case2::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*arrived_Mark) > 0 && (*q2_Mark) < queue_capacity;
  return NewEnabled;
}

double dispatcherSAN::routeActivity_case2::Rate() { return 0.0; }

// The free room of queue 2.
double dispatcherSAN::routeActivity_case2::Weight() { return queue_capacity - (*q2_Mark); }

bool dispatcherSAN::routeActivity_case2::ReactivationPredicate() { return false; }

bool dispatcherSAN::routeActivity_case2::ReactivationFunction() { return false; }

double dispatcherSAN::routeActivity_case2::SampleDistribution() { return 0.0; }

double* dispatcherSAN::routeActivity_case2::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

// An idle machine outranks every busy one.
int dispatcherSAN::routeActivity_case2::Rank() { return (*q2_Mark) == 0 ? 2 : 1; }

BaseActionClass* dispatcherSAN::routeActivity_case2::Fire() {
  (*arrived_Mark)--;
  (*q2_Mark)++;
  return this;
}

/*****************************************************************
                      routeActivity_case3
*****************************************************************/

dispatcherSAN::routeActivity_case3::routeActivity_case3() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("route_case3", 1, Instantaneous, RaceEnabled, 2, 2, false);
}

dispatcherSAN::routeActivity_case3::~routeActivity_case3() { delete[] TheDistributionParameters; }

void dispatcherSAN::routeActivity_case3::LinkVariables() {
  arrived->addHolder(&arrived_Mark);
  q3->addHolder(&q3_Mark);
}

bool dispatcherSAN::routeActivity_case3::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*arrived_Mark) > 0 && (*q3_Mark) < queue_capacity;
  return NewEnabled;
}

double dispatcherSAN::routeActivity_case3::Rate() { return 0.0; }

// The free room of queue 3.
double dispatcherSAN::routeActivity_case3::Weight() { return queue_capacity - (*q3_Mark); }

bool dispatcherSAN::routeActivity_case3::ReactivationPredicate() { return false; }

bool dispatcherSAN::routeActivity_case3::ReactivationFunction() { return false; }

double dispatcherSAN::routeActivity_case3::SampleDistribution() { return 0.0; }

double* dispatcherSAN::routeActivity_case3::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

// An idle machine outranks every busy one.
int dispatcherSAN::routeActivity_case3::Rank() { return (*q3_Mark) == 0 ? 2 : 1; }

BaseActionClass* dispatcherSAN::routeActivity_case3::Fire() {
  (*arrived_Mark)--;
  (*q3_Mark)++;
  return this;
}

/*****************************************************************
                      routeActivity_case4
*****************************************************************/

dispatcherSAN::routeActivity_case4::routeActivity_case4() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("route_case4", 1, Instantaneous, RaceEnabled, 2, 2, false);
}

dispatcherSAN::routeActivity_case4::~routeActivity_case4() { delete[] TheDistributionParameters; }

void dispatcherSAN::routeActivity_case4::LinkVariables() {
  arrived->addHolder(&arrived_Mark);
  q4->addHolder(&q4_Mark);
}

bool dispatcherSAN::routeActivity_case4::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*arrived_Mark) > 0 && (*q4_Mark) < queue_capacity;
  return NewEnabled;
}

double dispatcherSAN::routeActivity_case4::Rate() { return 0.0; }

// The free room of queue 4.
double dispatcherSAN::routeActivity_case4::Weight() { return queue_capacity - (*q4_Mark); }

bool dispatcherSAN::routeActivity_case4::ReactivationPredicate() { return false; }

bool dispatcherSAN::routeActivity_case4::ReactivationFunction() { return false; }

double dispatcherSAN::routeActivity_case4::SampleDistribution() { return 0.0; }

double* dispatcherSAN::routeActivity_case4::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

// An idle machine outranks every busy one.
int dispatcherSAN::routeActivity_case4::Rank() { return (*q4_Mark) == 0 ? 2 : 1; }

BaseActionClass* dispatcherSAN::routeActivity_case4::Fire() {
  (*arrived_Mark)--;
  (*q4_Mark)++;
  return this;
}

/*****************************************************************
                        rejectActivity
*****************************************************************/

dispatcherSAN::rejectActivity::rejectActivity() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("reject", 2, Instantaneous, RaceEnabled, 1, 5, false);
}

dispatcherSAN::rejectActivity::~rejectActivity() { delete[] TheDistributionParameters; }

void dispatcherSAN::rejectActivity::LinkVariables() {
  arrived->addHolder(&arrived_Mark);
  q1->addHolder(&q1_Mark);
  q2->addHolder(&q2_Mark);
  q3->addHolder(&q3_Mark);
  q4->addHolder(&q4_Mark);
}

bool dispatcherSAN::rejectActivity::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*arrived_Mark) > 0 && (*q1_Mark) >= queue_capacity &&
               (*q2_Mark) >= queue_capacity && (*q3_Mark) >= queue_capacity &&
               (*q4_Mark) >= queue_capacity;
  return NewEnabled;
}

double dispatcherSAN::rejectActivity::Rate() { return 0.0; }

double dispatcherSAN::rejectActivity::Weight() { return 1.0; }

bool dispatcherSAN::rejectActivity::ReactivationPredicate() { return false; }

bool dispatcherSAN::rejectActivity::ReactivationFunction() { return false; }

double dispatcherSAN::rejectActivity::SampleDistribution() { return 0.0; }

double* dispatcherSAN::rejectActivity::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

int dispatcherSAN::rejectActivity::Rank() { return 1; }

BaseActionClass* dispatcherSAN::rejectActivity::Fire() {
  (*arrived_Mark)--;
  return this;
}

/*****************************************************************
                     inspectActivity_case1
*****************************************************************/

dispatcherSAN::inspectActivity_case1::inspectActivity_case1() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("inspect_case1", 3, Instantaneous, RaceEnabled, 1, 1, false);
}

dispatcherSAN::inspectActivity_case1::~inspectActivity_case1() {
  delete[] TheDistributionParameters;
}

void dispatcherSAN::inspectActivity_case1::LinkVariables() { done->addHolder(&done_Mark); }

bool dispatcherSAN::inspectActivity_case1::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*done_Mark) > 0;
  return NewEnabled;
}

double dispatcherSAN::inspectActivity_case1::Rate() { return 0.0; }

// The part passes and leaves.
double dispatcherSAN::inspectActivity_case1::Weight() { return 0.9; }

bool dispatcherSAN::inspectActivity_case1::ReactivationPredicate() { return false; }

bool dispatcherSAN::inspectActivity_case1::ReactivationFunction() { return false; }

double dispatcherSAN::inspectActivity_case1::SampleDistribution() { return 0.0; }

double* dispatcherSAN::inspectActivity_case1::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

int dispatcherSAN::inspectActivity_case1::Rank() { return 1; }

BaseActionClass* dispatcherSAN::inspectActivity_case1::Fire() {
  (*done_Mark)--;
  return this;
}

/*****************************************************************
                     inspectActivity_case2
*****************************************************************/

dispatcherSAN::inspectActivity_case2::inspectActivity_case2() {
  TheDistributionParameters = newArray<double>(1);
  ActivityInitialize("inspect_case2", 3, Instantaneous, RaceEnabled, 2, 1, false);
}

dispatcherSAN::inspectActivity_case2::~inspectActivity_case2() {
  delete[] TheDistributionParameters;
}

void dispatcherSAN::inspectActivity_case2::LinkVariables() {
  done->addHolder(&done_Mark);
  arrived->addHolder(&arrived_Mark);
}

bool dispatcherSAN::inspectActivity_case2::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = (*done_Mark) > 0;
  return NewEnabled;
}

double dispatcherSAN::inspectActivity_case2::Rate() { return 0.0; }

// The part needs rework and is routed again.
double dispatcherSAN::inspectActivity_case2::Weight() { return 0.1; }

bool dispatcherSAN::inspectActivity_case2::ReactivationPredicate() { return false; }

bool dispatcherSAN::inspectActivity_case2::ReactivationFunction() { return false; }

double dispatcherSAN::inspectActivity_case2::SampleDistribution() { return 0.0; }

double* dispatcherSAN::inspectActivity_case2::ReturnDistributionParameters() {
  TheDistributionParameters[0] = Rate();
  return TheDistributionParameters;
}

int dispatcherSAN::inspectActivity_case2::Rank() { return 1; }

BaseActionClass* dispatcherSAN::inspectActivity_case2::Fire() {
  (*done_Mark)--;
  (*arrived_Mark)++;
  return this;
}
