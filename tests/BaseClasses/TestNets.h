#ifndef TESTS_BASECLASSES_TESTNETS_H_
#define TESTS_BASECLASSES_TESTNETS_H_

// Nets for the tests: descriptions written in a few calls, and a join of
// net models built from them.

#include <memory>
#include <string>
#include <vector>

#include "Cpp/BaseClasses/NetDescription.h"
#include "Cpp/BaseClasses/NetSAN.h"
#include "Cpp/BaseClasses/state/Place.h"
#include "Cpp/Composer/Join.h"

namespace test_nets {

// A net description written in a few calls; arcs name places and
// transitions by id.
class NetBuilder {
 public:
  explicit NetBuilder(const std::string& id) { net.id = id; }
  NetBuilder& place(const std::string& id, int marking = 0) {
    net.places.push_back({id, id, marking});
    return *this;
  }
  NetBuilder& transition(const std::string& id, Distribution distribution = Exponential,
                         double parameter = 1.0, double weight = 1.0, int priority = 1) {
    net.transitions.push_back({id, id, distribution, parameter, weight, priority});
    return *this;
  }
  // An arc from a place into a transition or from a transition to a place.
  NetBuilder& arc(const std::string& from, const std::string& to, int weight = 1) {
    const int fromPlace = placeIndex(from);
    if (fromPlace >= 0) {
      net.arcs.push_back({fromPlace, transitionIndex(to), weight, true});
    } else {
      net.arcs.push_back({placeIndex(to), transitionIndex(from), weight, false});
    }
    return *this;
  }

  NetDescription net;

 private:
  int placeIndex(const std::string& id) const {
    for (size_t i = 0; i < net.places.size(); i++) {
      if (net.places[i].id == id) {
        return static_cast<int>(i);
      }
    }
    return -1;
  }
  int transitionIndex(const std::string& id) const {
    for (size_t i = 0; i < net.transitions.size(); i++) {
      if (net.transitions[i].id == id) {
        return static_cast<int>(i);
      }
    }
    return -1;
  }
};

// Two nets to join on their place "buffer": a producer whose "put" moves
// its idle token into the buffer, and a consumer whose "take" moves it on
// to "done".
inline std::vector<NetDescription> producerAndConsumer() {
  return {NetBuilder("producer")
              .place("idle", 1)
              .place("buffer")
              .transition("put")
              .arc("idle", "put")
              .arc("put", "buffer")
              .net,
          NetBuilder("consumer")
              .place("buffer")
              .place("done")
              .transition("take")
              .arc("buffer", "take")
              .arc("take", "done")
              .net};
}

// A join of the nets built from descriptions, in order; each shared name
// binds the place with that id in every net that has one. The nets and the
// shared places belong to the join.
class NetJoin : public Join {
 public:
  NetJoin(const std::vector<NetDescription>& nets, const std::vector<const char*>& sharedNames)
      : Join("join", static_cast<int>(nets.size()), static_cast<int>(sharedNames.size()),
             sharedNames.data()) {
    for (size_t i = 0; i < nets.size(); i++) {
      children.push_back(std::make_unique<NetSAN>(nets[i]));
      Children[i] = children.back().get();
    }
    SetupActions();
    for (const char* name : sharedNames) {
      shared.push_back(std::make_unique<Place>(name));
      addSharedPtr(shared.back().get(), name);
      for (const auto& child : children) {
        if (Place* place = child->placeWithId(name)) {
          shareWithChild(shared.back().get(), place, child.get());
        }
      }
    }
    Setup();
  }

  NetSAN& net(int i) { return *children[i]; }

 private:
  std::vector<std::unique_ptr<Place>> shared;
  std::vector<std::unique_ptr<NetSAN>> children;
};

}  // namespace test_nets

#endif
