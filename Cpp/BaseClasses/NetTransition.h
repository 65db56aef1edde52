#ifndef NETTRANSITION_H_
#define NETTRANSITION_H_

#include <vector>

#include "Cpp/BaseClasses/Activity.h"
#include "Cpp/BaseClasses/NetDescription.h"

class NetSAN;
class Place;

// A transition of a table-driven net (NetSAN): enabled while each input
// place holds at least its arc's weight; firing moves every place it changes
// by its net change (output weight less input weight). Its timing comes from
// the description: exponential, deterministic or instantaneous. Its input
// arcs are its enabling needs, by which the generator asks it only in
// markings that may enable it.
class NetTransition : public Activity {
 public:
  NetTransition(NetSAN& net, const NetDescription::TransitionEntry& description);

  // Arcs, added before LinkVariables. The transition needs weight tokens in
  // place (an input arc); its firing adds delta (negative: removes) to the
  // place at index placeIndex of the net.
  void addInput(Place* place, int weight);
  void addChange(Place* place, int placeIndex, int delta);

  bool Enabled() override;
  double Rate() override;    // the rate; 0 when not exponential
  double Weight() override;  // the weight; 1 when timed
  int Rank() override;       // the priority; 1 when timed
  bool ReactivationPredicate() override;
  bool ReactivationFunction() override;
  double SampleDistribution() override;
  // The rate, the delay or the weight.
  double* ReturnDistributionParameters() override;
  // Moves the tokens; a marking that would leave 0..32767 ends the run.
  BaseActionClass* Fire() override;
  // Registers the arcs' marking pointers with their places, so that they
  // follow the places when a composer shares them.
  void LinkVariables() override;
  // The input places with their weights (arcs of weight 0 need nothing).
  void EnablingNeeds(std::vector<TokenNeed>& needs) override;

 private:
  struct Input {
    Place* place;
    short* mark;  // the place's marking, kept current by the place
    int weight;
  };
  struct Change {
    Place* place;
    short* mark;
    int placeIndex;
    int delta;
  };

  NetSAN& Net;
  double Parameter;  // the rate or the delay
  double TheWeight;
  int Priority;
  double Parameters[1];
  std::vector<Input> Inputs;
  std::vector<Change> Changes;
};

#endif
