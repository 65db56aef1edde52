#ifndef NETSAN_H_
#define NETSAN_H_

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "Cpp/BaseClasses/NetDescription.h"
#include "Cpp/BaseClasses/NetTransition.h"
#include "Cpp/BaseClasses/PostselectGroup.h"
#include "Cpp/BaseClasses/SANModel.h"
#include "Cpp/BaseClasses/state/Place.h"

// An atomic model built at run time from a place/transition net: one place
// per net place (named by its id, in the net's order), one NetTransition per
// transition, enabling and firing through arc tables. Each timed transition
// is its own group; the instantaneous ones compete in one group, so that a
// case probability is the weight share among the enabled ones of the
// highest priority. Like any atomic model it joins, shares places and
// carries rewards.
class NetSAN : public SANModel {
 public:
  // The description must be well formed: arc indices in range, weights and
  // markings in 0..32767, at most one arc per place, transition and
  // direction.
  explicit NetSAN(const NetDescription& net);

  // The place of the net at index i, and its marking.
  Place* place(int i) const { return OwnedPlaces[i].get(); }
  short marking(int i) const { return OwnedPlaces[i]->getMark(); }
  // The place with that id, or null.
  Place* placeWithId(const std::string& id) const;
  // The labels of the places the state vector holds, in its order: each
  // place's name in the net, or its id when it has none, blanks made
  // underscores so that a label stays one word.
  std::vector<std::string> storedPlaceLabels();

  // The place called svName when modelName is this net's name: a lookup, not
  // a walk over the places, since a reward file may name many.
  void listSVs(const char* modelName, const char* svName, List<BaseStateVariableClass>* svs,
               List<BaseModelClass>* models) override;

  // Two bytes per unshared place; asked for every comparison of states, so
  // it is counted once per change of sharing, not per call.
  int StateSize() override;
  bool CompareState(void* a, void* b) override;
  // Loads the unshared places; each one that changes makes its readers
  // forget their enabling.
  void SetState(void* buf) override;
  void CurrentState(void* buf) override;
  // False: a composer must load this model through SetState, never through
  // its marking cells, for the net to see what changed.
  bool AppendMarkingCells(std::vector<short*>& cells) override;

  // Transition t's arcs, in the net's arc tables: its inputs in the net's
  // order, its changes by place. Complete once the net is built.
  const NetTransition::Input* inputsBegin(int t) const { return InputArcs.data() + InputStart[t]; }
  const NetTransition::Input* inputsEnd(int t) const { return InputArcs.data() + InputStart[t + 1]; }
  const NetTransition::Change* changesBegin(int t) const {
    return ChangeArcs.data() + ChangeStart[t];
  }
  const NetTransition::Change* changesEnd(int t) const {
    return ChangeArcs.data() + ChangeStart[t + 1];
  }
  // The marking cell of each place, by index: the cell the place uses, also
  // once a composer has shared it.
  short* const* markCells() const { return Marks.data(); }

  // Told by a transition that has just changed place i: the copy of the
  // stored marking follows.
  void placeChanged(int i) {
    if (StoredAt[i] >= 0) {
      StoredMarking[StoredAt[i]] = marking(i);
    }
  }
  // Brings the stored places up to date after a change of sharing anywhere.
  void followSharing() {
    if (SharingVersion != BaseStateVariableClass::SharingChanges) {
      refreshSharing();
    }
  }

 private:
  void createPlaces(const NetDescription& net);
  void createTransitions(const NetDescription& net);
  // Timed transitions in net order, then the group of instantaneous ones.
  std::vector<BaseGroupClass*> createGroups();
  void connectArcs(const NetDescription& net);
  void refreshSharing();
  // Loads the stored places first to last - 1 from the state vector buf.
  void loadPlaces(std::size_t first, std::size_t last, const char* buf);

  std::vector<std::unique_ptr<Place>> OwnedPlaces;
  std::unordered_map<std::string, int> PlaceIndex;  // by id
  std::vector<std::string> PlaceLabels;             // by index
  std::vector<std::unique_ptr<NetTransition>> Transitions;
  // Every transition's arcs, side by side: transition t's inputs are
  // InputArcs[InputStart[t]] up to InputArcs[InputStart[t + 1]], its
  // changes likewise. A large net has hundreds of thousands of arcs: arrays
  // of 8 bytes an arc, not a list and a registered pointer each.
  std::vector<NetTransition::Input> InputArcs;
  std::vector<unsigned int> InputStart;
  std::vector<NetTransition::Change> ChangeArcs;
  std::vector<unsigned int> ChangeStart;
  // Per place, the pointer to its marking cell, registered with the place
  // as a holder so that it follows the place when shared; sized once.
  std::vector<short*> Marks;
  PostselectGroup InstantaneousGroup;
  // As of SharingVersion: the unshared places in state-vector order, and
  // for each place its position among them (-1 when shared). The marking of
  // an unshared place changes only through SetState and the net's firings,
  // which keep StoredMarking, a copy in state-vector layout, equal to it.
  std::vector<int> StoredPlaces;
  std::vector<int> StoredAt;
  std::vector<short> StoredMarking;
  unsigned long SharingVersion = 0;
};

#endif
