#ifndef NETTRANSITION_H_
#define NETTRANSITION_H_

#include <vector>

#include "Cpp/BaseClasses/Activity.h"
#include "Cpp/BaseClasses/NetDescription.h"

class NetSAN;

// A transition of a table-driven net (NetSAN): enabled while each input
// place holds at least its arc's weight; firing moves every place it changes
// by its net change (output weight less input weight). Its timing comes from
// the description: exponential, deterministic or instantaneous. Its input
// arcs are its enabling needs, by which the generator asks it only in
// markings that may enable it. Its arcs live in the net's arrays, side by
// side with the other transitions' ones, and it reads the markings through
// the net's table of marking cells.
class NetTransition : public Activity {
 public:
  // An input arc: the place (by its index in the net) must hold weight
  // tokens.
  struct Input {
    int place;
    int weight;
  };
  // A place the firing changes, by delta tokens (negative: removes).
  struct Change {
    int place;
    int delta;
  };

  // The transition at index in net's description.
  NetTransition(NetSAN& net, int index, const NetDescription::TransitionEntry& description);

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
  // Takes the transition's arcs from the net, whose arc tables are then
  // complete.
  void LinkVariables() override;
  // The input places with their weights (arcs of weight 0 need nothing).
  void EnablingNeeds(std::vector<TokenNeed>& needs) override;

 private:
  NetSAN& Net;
  int Index;
  double Parameter;  // the rate or the delay
  double TheWeight;
  int Priority;
  double Parameters[1];
  // Ranges of the net's arc tables, and its marking cells by place.
  const Input* FirstInput = nullptr;
  const Input* EndInput = nullptr;
  const Change* FirstChange = nullptr;
  const Change* EndChange = nullptr;
  short* const* Marks = nullptr;
};

#endif
