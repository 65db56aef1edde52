#include "Cpp/BaseClasses/NetTransition.h"

#include "Cpp/BaseClasses/NetSAN.h"
#include "Cpp/BaseClasses/UserDistributions.h"
#include "Cpp/BaseClasses/state/Place.h"

NetTransition::NetTransition(NetSAN& net, const NetDescription::TransitionEntry& description)
    : Net(net),
      Parameter(description.parameter),
      TheWeight(description.weight),
      Priority(description.priority),
      Parameters{0.0} {
  ActivityInitialize(description.id.c_str(), 0, description.distribution, RaceEnabled, 0, 0, false);
}

void NetTransition::addInput(Place* place, int weight) {
  Inputs.push_back({place, nullptr, weight});
}

void NetTransition::addChange(Place* place, int placeIndex, int delta) {
  Changes.push_back({place, nullptr, placeIndex, delta});
}

void NetTransition::LinkVariables() {
  // The vectors are complete: the registered addresses stay valid.
  for (Input& input : Inputs) {
    input.place->addHolder(&input.mark);
  }
  for (Change& change : Changes) {
    change.place->addHolder(&change.mark);
  }
}

void NetTransition::EnablingNeeds(std::vector<TokenNeed>& needs) {
  for (const Input& input : Inputs) {
    if (input.weight > 0) {
      needs.push_back({input.place, input.weight});
    }
  }
}

bool NetTransition::Enabled() {
  OldEnabled = NewEnabled;
  NewEnabled = true;
  for (const Input& input : Inputs) {
    if (*input.mark < input.weight) {
      NewEnabled = false;
      break;
    }
  }
  return NewEnabled;
}

BaseActionClass* NetTransition::Fire() {
  for (const Change& change : Changes) {
    addArcTokens(*change.mark, change.delta, Net.Name, change.place->Name, Name);
    Net.placeChanged(change.placeIndex);
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
