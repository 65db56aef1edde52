#ifndef NETDESCRIPTION_H_
#define NETDESCRIPTION_H_

#include <string>
#include <vector>

#include "Cpp/BaseClasses/BaseActionClass.h"

// A place/transition net as data, from which NetSAN builds an atomic model at
// run time: places with their initial markings, transitions with their
// timing and weighted arcs. Places and transitions keep the order in which
// the net lists them; the places in that order make the state vector.
struct NetDescription {
  struct PlaceEntry {
    std::string id;          // unique within the net; the place's variable name
    std::string name;        // as the modeller wrote it; may be empty or repeated
    int initialMarking = 0;  // 0 to 32767
  };
  // Exponential (parameter: the rate), Deterministic (parameter: the delay)
  // or Instantaneous (weight and priority choose among the enabled ones).
  struct TransitionEntry {
    std::string id;  // unique within the net; the activity's name
    std::string name;
    Distribution distribution = Exponential;
    double parameter = 1.0;
    double weight = 1.0;
    int priority = 1;
  };
  // An arc between places[place] and transitions[transition], into the
  // transition (input) or out of it; at most one per pair and direction.
  struct ArcEntry {
    int place = 0;
    int transition = 0;
    int weight = 1;  // 0 to 32767
    bool input = true;
  };

  std::string id;  // the model's name
  std::vector<PlaceEntry> places;
  std::vector<TransitionEntry> transitions;
  std::vector<ArcEntry> arcs;
};

// A reward variable over a net's markings, taken at its time points: the
// number of tokens in a set of places, or 1 while a place is marked and 0
// otherwise.
struct NetRewardVariable {
  enum class Measure { Tokens, Marked };

  std::string name;
  Measure measure = Measure::Tokens;
  std::vector<int> places;  // indices into NetDescription::places
  std::vector<double> times;
};

#endif
