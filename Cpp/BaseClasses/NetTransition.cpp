#include "Cpp/BaseClasses/NetTransition.h"

#include "Cpp/BaseClasses/NetSAN.h"
#include "Cpp/BaseClasses/UserDistributions.h"
#include "Cpp/BaseClasses/state/Place.h"

NetTransition::NetTransition(NetSAN& net, int index,
                             const NetDescription::TransitionEntry& description)
    : Net(net),
      Index(index),
      Parameter(description.parameter),
      TheWeight(description.weight),
      Priority(description.priority),
      Parameters{0.0} {
  ActivityInitialize(description.id.c_str(), 0, description.distribution, RaceEnabled, 0, 0, false);
}

void NetTransition::LinkVariables() {
  FirstInput = Net.inputsBegin(Index);
  EndInput = Net.inputsEnd(Index);
  FirstChange = Net.changesBegin(Index);
  EndChange = Net.changesEnd(Index);
  Marks = Net.markCells();
}

void NetTransition::EnablingNeeds(std::vector<TokenNeed>& needs) {
  for (const Input* input = FirstInput; input != EndInput; input++) {
    if (input->weight > 0) {
      needs.push_back({Net.place(input->place), input->weight});
    }
  }
}

bool NetTransition::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = true;
  for (const Input* input = FirstInput; input != EndInput; input++) {
    if (*Marks[input->place] < input->weight) {
      NewEnabled = false;
      break;
    }
  }
  return NewEnabled;
}

BaseActionClass* NetTransition::Fire() {
  for (const Change* change = FirstChange; change != EndChange; change++) {
    addArcTokens(*Marks[change->place], change->delta, Net.Name, Net.place(change->place)->Name,
                 Name);
    Net.placeChanged(change->place);
  }
  return this;
}

double NetTransition::Rate() { return DistributionType == Exponential ? Parameter : 0.0; }

double NetTransition::Weight() { return DistributionType == Instantaneous ? TheWeight : 1.0; }

int NetTransition::Rank() { return DistributionType == Instantaneous ? Priority : 1; }

bool NetTransition::ReactivationPredicate() { return false; }

bool NetTransition::ReactivationFunction() { return false; }

double NetTransition::SampleDistribution() {
  switch (DistributionType) {
    case Exponential:
      return TheDistribution->Exponential(Parameter);
    case Deterministic:
      return Parameter;
    default:
      return 0.0;
  }
}

double* NetTransition::ReturnDistributionParameters() {
  Parameters[0] = DistributionType == Instantaneous ? TheWeight : Parameter;
  return Parameters;
}
