#include "Cpp/BaseClasses/NetSAN.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <utility>

NetSAN::NetSAN(const NetDescription& net) {
  createPlaces(net);
  createTransitions(net);
  std::vector<BaseGroupClass*> groups = createGroups();
  std::vector<BaseStateVariableClass*> places;
  for (const auto& place : OwnedPlaces) {
    places.push_back(place.get());
  }
  std::vector<Activity*> activities;
  for (const auto& transition : Transitions) {
    activities.push_back(transition.get());
  }
  initializeSANModelNow(net.id.c_str(), static_cast<int>(places.size()), places.data(), 0, nullptr,
                        static_cast<int>(activities.size()), activities.data(),
                        static_cast<int>(groups.size()), groups.data());
  for (size_t k = 0; k < groups.size(); k++) {
    groups[k]->setGroupId(static_cast<int>(k));
  }
  connectArcs(net);
  for (const auto& transition : Transitions) {
    transition->LinkVariables();
  }
  refreshSharing();
}

void NetSAN::createPlaces(const NetDescription& net) {
  for (const NetDescription::PlaceEntry& entry : net.places) {
    PlaceIndex.emplace(entry.id, static_cast<int>(OwnedPlaces.size()));
    std::string label = entry.name.empty() ? entry.id : entry.name;
    std::replace_if(
        label.begin(), label.end(),
        [](char c) { return std::isspace(static_cast<unsigned char>(c)); }, '_');
    PlaceLabels.push_back(std::move(label));
    OwnedPlaces.push_back(
        std::make_unique<Place>(entry.id.c_str(), static_cast<short>(entry.initialMarking)));
  }
}

Place* NetSAN::placeWithId(const std::string& id) const {
  const auto found = PlaceIndex.find(id);
  return found == PlaceIndex.end() ? nullptr : place(found->second);
}

std::vector<std::string> NetSAN::storedPlaceLabels() {
  followSharing();
  std::vector<std::string> labels;
  for (int i : StoredPlaces) {
    labels.push_back(PlaceLabels[i]);
  }
  return labels;
}

void NetSAN::listSVs(const char* modelName, const char* svName, List<BaseStateVariableClass>* svs,
                     List<BaseModelClass>* models) {
  Place* found = std::strcmp(Name, modelName) == 0 ? placeWithId(svName) : nullptr;
  if (found != nullptr) {
    svs->append(found);
    models->append(this);
  }
}

void NetSAN::createTransitions(const NetDescription& net) {
  Transitions.reserve(net.transitions.size());
  for (const NetDescription::TransitionEntry& entry : net.transitions) {
    Transitions.push_back(
        std::make_unique<NetTransition>(*this, static_cast<int>(Transitions.size()), entry));
  }
}

std::vector<BaseGroupClass*> NetSAN::createGroups() {
  std::vector<BaseGroupClass*> groups;
  std::vector<NetTransition*> instantaneous;
  for (const auto& transition : Transitions) {
    if (transition->DistributionType == Instantaneous) {
      instantaneous.push_back(transition.get());
    } else {
      groups.push_back(transition.get());
    }
  }
  if (!instantaneous.empty()) {
    InstantaneousGroup.initialize(static_cast<int>(instantaneous.size()),
                                  "InstantaneousTransitions");
    for (NetTransition* transition : instantaneous) {
      InstantaneousGroup.appendGroup(transition);
    }
    groups.push_back(&InstantaneousGroup);
  }
  return groups;
}

void NetSAN::connectArcs(const NetDescription& net) {
  const std::size_t count = Transitions.size();
  // Each transition's input arcs in the net's order, and (place, tokens
  // moved) for each of its arcs, gathered by counting sorts.
  InputStart.assign(count + 1, 0);
  std::vector<unsigned int> moveStart(count + 1, 0);
  for (const NetDescription::ArcEntry& arc : net.arcs) {
    InputStart[arc.transition + 1] += arc.input ? 1 : 0;
    moveStart[arc.transition + 1]++;
  }
  for (std::size_t t = 0; t < count; t++) {
    InputStart[t + 1] += InputStart[t];
    moveStart[t + 1] += moveStart[t];
  }
  InputArcs.resize(InputStart[count]);
  std::vector<std::pair<int, int>> moves(net.arcs.size());
  std::vector<unsigned int> inputAt(InputStart.begin(), InputStart.end() - 1);
  std::vector<unsigned int> moveAt(moveStart.begin(), moveStart.end() - 1);
  std::vector<std::vector<BaseActionClass*>> readers(OwnedPlaces.size());
  std::vector<std::vector<BaseActionClass*>> changers(OwnedPlaces.size());
  std::vector<int> uses(OwnedPlaces.size(), 0);  // arcs that read or change each place
  for (const NetDescription::ArcEntry& arc : net.arcs) {
    NetTransition* transition = Transitions[arc.transition].get();
    if (arc.input) {
      InputArcs[inputAt[arc.transition]++] = {arc.place, arc.weight};
      transition->addEnablingSV(place(arc.place));
      readers[arc.place].push_back(transition);
      uses[arc.place]++;
    }
    moves[moveAt[arc.transition]++] = {arc.place, arc.input ? -arc.weight : arc.weight};
  }
  // A place that is both input and output changes by the difference.
  ChangeArcs.reserve(moves.size());
  ChangeStart.assign(1, 0);
  for (std::size_t t = 0; t < count; t++) {
    const auto last = moves.begin() + moveStart[t + 1];
    std::sort(moves.begin() + moveStart[t], last);
    for (auto move = moves.begin() + moveStart[t]; move != last;) {
      const int placeIndex = move->first;
      int delta = 0;
      for (; move != last && move->first == placeIndex; move++) {
        delta += move->second;
      }
      if (delta != 0) {
        ChangeArcs.push_back({placeIndex, delta});
        Transitions[t]->addAffectedSV(place(placeIndex));
        changers[placeIndex].push_back(Transitions[t].get());
        uses[placeIndex]++;
      }
    }
    ChangeStart.push_back(static_cast<unsigned int>(ChangeArcs.size()));
  }
  Marks.assign(OwnedPlaces.size(), nullptr);
  for (std::size_t i = 0; i < OwnedPlaces.size(); i++) {
    OwnedPlaces[i]->addHolder(&Marks[i], uses[i]);
    // A place's lists in one batch each. No place is shared yet, so its
    // own lists are its group's.
    OwnedPlaces[i]->getEnabledActions()->append(readers[i].data(),
                                                static_cast<int>(readers[i].size()));
    OwnedPlaces[i]->getAffectingActions()->append(changers[i].data(),
                                                  static_cast<int>(changers[i].size()));
  }
}

void NetSAN::refreshSharing() {
  StoredPlaces.clear();
  StoredMarking.clear();
  StoredAt.assign(OwnedPlaces.size(), -1);
  for (size_t i = 0; i < OwnedPlaces.size(); i++) {
    if (!OwnedPlaces[i]->getShared()) {
      StoredAt[i] = static_cast<int>(StoredPlaces.size());
      StoredPlaces.push_back(static_cast<int>(i));
      StoredMarking.push_back(marking(static_cast<int>(i)));
    }
  }
  SharingVersion = BaseStateVariableClass::SharingChanges;
}

int NetSAN::StateSize() {
  followSharing();
  return static_cast<int>(StoredMarking.size() * sizeof(short));
}

bool NetSAN::CompareState(void* a, void* b) { return std::memcmp(a, b, StateSize()) == 0; }

void NetSAN::SetState(void* buf) {
  followSharing();
  const char* in = static_cast<const char*>(buf);
  const size_t count = StoredMarking.size();
  size_t k = 0;
  // Four places at a time: most places hold what they held before.
  for (; k + 4 <= count; k += 4) {
    std::uint64_t held;
    std::uint64_t loaded;
    std::memcpy(&held, &StoredMarking[k], sizeof held);
    std::memcpy(&loaded, in + k * sizeof(short), sizeof loaded);
    if (held != loaded) {
      loadPlaces(k, k + 4, in);
    }
  }
  loadPlaces(k, count, in);
}

void NetSAN::loadPlaces(size_t first, size_t last, const char* buf) {
  for (size_t k = first; k < last; k++) {
    short value;
    std::memcpy(&value, buf + k * sizeof(short), sizeof value);
    if (StoredMarking[k] != value) {
      OwnedPlaces[StoredPlaces[k]]->setMark(value);
      placeChanged(StoredPlaces[k]);
    }
  }
}

void NetSAN::CurrentState(void* buf) {
  followSharing();
  std::memcpy(buf, StoredMarking.data(), StoredMarking.size() * sizeof(short));
}

bool NetSAN::AppendMarkingCells(std::vector<short*>&) { return false; }
