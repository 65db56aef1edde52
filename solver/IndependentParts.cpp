#include "solver/IndependentParts.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <unordered_map>
#include <utility>

namespace solver {

namespace {

// The files carry 11 significant digits: the same rate computed in two
// states agrees to about this.
const double kTolerance = 1e-9;

bool close(double a, double b) {
  return std::fabs(a - b) <= kTolerance * std::max(std::fabs(a), std::fabs(b));
}

// Groups of places joined by the moves that change them together.
class PlaceGroups {
 public:
  explicit PlaceGroups(std::size_t places) : Parent(places) {
    std::iota(Parent.begin(), Parent.end(), 0);
  }
  std::size_t root(std::size_t p) {
    while (Parent[p] != p) {
      Parent[p] = Parent[Parent[p]];
      p = Parent[p];
    }
    return p;
  }
  void join(std::size_t a, std::size_t b) { Parent[root(a)] = root(b); }

 private:
  std::vector<std::size_t> Parent;
};

// A part's moves as they are found, by state of the part.
struct PartMoves {
  std::map<std::pair<std::uint32_t, std::uint32_t>, double> rates;
  std::map<std::uint32_t, ClockedFiring> firings;
};

class Splitter {
 public:
  Splitter(const DeterministicProcess& process, const MarkingTable& markings)
      : Process(process),
        Markings(markings),
        NumStates(process.exponential.size()),
        NumPlaces(markings.variables.size()) {}

  std::variant<std::vector<ProcessPart>, std::string> split();

 private:
  const std::int16_t* marking(std::uint32_t s) const {
    return Markings.markings.data() + std::size_t(s) * NumPlaces;
  }
  std::vector<std::size_t> changed(std::uint32_t s, std::uint32_t t) const;
  // The firings of state s, whether the process kept several or one.
  std::vector<std::uint32_t> firingsOf(std::uint32_t s) const;
  // Joins the places each move changes; the group of each changed place
  // and of each clock; false when a clock changes nothing.
  bool groupPlaces();
  // The part states; false unless the states are every combination of them.
  bool numberPartStates();
  std::string addExponential();
  std::string addFirings();
  std::string checkEnabling(const std::vector<std::vector<std::uint32_t>>& count,
                            bool firings) const;
  ProcessPart partOf(std::size_t g);
  // The group of the move from s to t, or -1 when it changes no place.
  std::int64_t groupOfMove(std::uint32_t s, std::uint32_t t) const;
  std::string stateText(std::uint32_t s) const;

  const DeterministicProcess& Process;
  const MarkingTable& Markings;
  const std::size_t NumStates;
  const std::size_t NumPlaces;
  std::vector<std::int64_t> GroupOfPlace;  // -1: never changes
  std::vector<std::int64_t> GroupOfClock;
  std::size_t NumGroups = 0;
  std::vector<std::vector<std::uint32_t>> StateOf;  // by group, by state
  std::vector<std::uint32_t> PartSize;
  std::vector<PartMoves> Moves;
};

std::string Splitter::stateText(std::uint32_t s) const {
  return "state " + std::to_string(s + 1) + " (" + Markings.describe(s + 1) + ")";
}

std::vector<std::size_t> Splitter::changed(std::uint32_t s, std::uint32_t t) const {
  std::vector<std::size_t> places;
  const std::int16_t* from = marking(s);
  const std::int16_t* to = marking(t);
  for (std::size_t p = 0; p < NumPlaces; p++) {
    if (from[p] != to[p]) {
      places.push_back(p);
    }
  }
  return places;
}

std::vector<std::uint32_t> Splitter::firingsOf(std::uint32_t s) const {
  if (!Process.firingsOf.empty()) {
    return Process.firingsOf[s];
  }
  if (Process.firingOf[s] < 0) {
    return {};
  }
  return {static_cast<std::uint32_t>(Process.firingOf[s])};
}

bool Splitter::groupPlaces() {
  PlaceGroups groups(NumPlaces);
  std::vector<bool> changes(NumPlaces, false);
  std::vector<std::int64_t> anchor(Process.clockNames.size(), -1);
  const auto joinAll = [&](const std::vector<std::size_t>& places, std::int64_t* clock) {
    for (std::size_t p : places) {
      changes[p] = true;
      groups.join(p, places.front());
      if (clock != nullptr) {
        *clock = *clock < 0 ? std::int64_t(p) : *clock;
        groups.join(p, static_cast<std::size_t>(*clock));
      }
    }
  };
  const MarkovChain& chain = Process.exponential;
  for (std::uint32_t s = 0; s < NumStates; s++) {
    for (std::uint64_t e = chain.rowStart[s]; e < chain.rowStart[s + 1]; e++) {
      joinAll(changed(s, chain.column[e]), nullptr);
    }
    for (std::uint32_t f : firingsOf(s)) {
      const ClockedFiring& firing = Process.firings[f];
      for (const auto& outcome : firing.outcomes) {
        joinAll(changed(s, outcome.first), &anchor[firing.clock]);
      }
    }
  }
  std::map<std::size_t, std::size_t> number;
  GroupOfPlace.assign(NumPlaces, -1);
  for (std::size_t p = 0; p < NumPlaces; p++) {
    if (changes[p]) {
      const auto found = number.emplace(groups.root(p), number.size());
      GroupOfPlace[p] = static_cast<std::int64_t>(found.first->second);
    }
  }
  NumGroups = number.size();
  GroupOfClock.assign(anchor.size(), -1);
  for (std::size_t c = 0; c < anchor.size(); c++) {
    GroupOfClock[c] = anchor[c] < 0 ? -1 : GroupOfPlace[static_cast<std::size_t>(anchor[c])];
  }
  for (const ClockedFiring& firing : Process.firings) {
    if (GroupOfClock[firing.clock] < 0) {
      return false;
    }
  }
  return true;
}

bool Splitter::numberPartStates() {
  StateOf.assign(NumGroups, std::vector<std::uint32_t>(NumStates));
  PartSize.assign(NumGroups, 0);
  double combinations = 1;
  for (std::size_t g = 0; g < NumGroups; g++) {
    std::unordered_map<std::string, std::uint32_t> number;
    std::string key;
    for (std::uint32_t s = 0; s < NumStates; s++) {
      key.clear();
      for (std::size_t p = 0; p < NumPlaces; p++) {
        if (GroupOfPlace[p] == std::int64_t(g)) {
          key.append(reinterpret_cast<const char*>(marking(s) + p), sizeof(std::int16_t));
        }
      }
      StateOf[g][s] = number.emplace(key, number.size()).first->second;
    }
    PartSize[g] = static_cast<std::uint32_t>(number.size());
    combinations *= PartSize[g];
  }
  // Distinct states have distinct markings, so as many states as
  // combinations means every combination is a state.
  return combinations == static_cast<double>(NumStates);
}

std::int64_t Splitter::groupOfMove(std::uint32_t s, std::uint32_t t) const {
  const std::vector<std::size_t> places = changed(s, t);
  return places.empty() ? -1 : GroupOfPlace[places.front()];
}

std::string Splitter::addExponential() {
  const MarkovChain& chain = Process.exponential;
  std::vector<std::vector<std::uint32_t>> count(NumGroups, std::vector<std::uint32_t>(NumStates));
  for (std::uint32_t s = 0; s < NumStates; s++) {
    for (std::uint64_t e = chain.rowStart[s]; e < chain.rowStart[s + 1]; e++) {
      const std::uint32_t t = chain.column[e];
      const std::int64_t g = groupOfMove(s, t);
      if (g < 0) {
        return stateText(s) + " and state " + std::to_string(t + 1) + " have one marking";
      }
      const auto key = std::make_pair(StateOf[g][s], StateOf[g][t]);
      const auto found = Moves[g].rates.emplace(key, chain.rate[e]);
      if (!close(found.first->second, chain.rate[e])) {
        return "the rate from " + stateText(s) + " to state " + std::to_string(t + 1) +
               " depends on places its move does not change";
      }
      count[g][s]++;
    }
  }
  return checkEnabling(count, false);
}

std::string Splitter::addFirings() {
  std::vector<std::vector<std::uint32_t>> count(NumGroups, std::vector<std::uint32_t>(NumStates));
  for (std::uint32_t s = 0; s < NumStates; s++) {
    for (std::uint32_t f : firingsOf(s)) {
      const ClockedFiring& firing = Process.firings[f];
      const auto g = static_cast<std::size_t>(GroupOfClock[firing.clock]);
      ClockedFiring own{firing.clock, firing.delay, {}, {}};
      for (const auto& [target, probability] : firing.outcomes) {
        own.outcomes.emplace_back(StateOf[g][target], probability);
      }
      std::sort(own.outcomes.begin(), own.outcomes.end());
      const auto found = Moves[g].firings.emplace(StateOf[g][s], own);
      const ClockedFiring& kept = found.first->second;
      if (++count[g][s] > 1) {
        return stateText(s) + " enables two delays of one part";
      }
      const bool same = kept.clock == own.clock && kept.delay == own.delay &&
                        std::equal(kept.outcomes.begin(), kept.outcomes.end(),
                                   own.outcomes.begin(), own.outcomes.end(),
                                   [](const auto& a, const auto& b) {
                                     return a.first == b.first && close(a.second, b.second);
                                   });
      if (!same) {
        return "the firing of " + Process.clockNames[firing.clock] + " in " + stateText(s) +
               " depends on places it does not change";
      }
    }
  }
  return checkEnabling(count, true);
}

// A move of a part found in some states of the whole must be found in
// every state with the same part state, whatever the other parts' states.
std::string Splitter::checkEnabling(const std::vector<std::vector<std::uint32_t>>& count,
                                    bool firings) const {
  for (std::size_t g = 0; g < NumGroups; g++) {
    std::vector<std::uint32_t> expected(PartSize[g], 0);
    if (firings) {
      for (const auto& entry : Moves[g].firings) {
        expected[entry.first] = 1;
      }
    } else {
      for (const auto& entry : Moves[g].rates) {
        expected[entry.first.first]++;
      }
    }
    for (std::uint32_t s = 0; s < NumStates; s++) {
      if (count[g][s] != expected[StateOf[g][s]]) {
        return std::string(firings ? "a delay" : "a move") + " of " + stateText(s) +
               "'s part is enabled or not by places it does not change";
      }
    }
  }
  return "";
}

ProcessPart Splitter::partOf(std::size_t g) {
  ProcessPart part;
  DeterministicProcess& process = part.process;
  MarkovChain& chain = process.exponential;
  chain.rowStart.assign(1, 0);
  auto move = Moves[g].rates.begin();
  for (std::uint32_t x = 0; x < PartSize[g]; x++) {
    for (; move != Moves[g].rates.end() && move->first.first == x; ++move) {
      if (move->first.second != x) {
        chain.column.push_back(move->first.second);
        chain.rate.push_back(move->second);
      }
    }
    chain.rowStart.push_back(chain.column.size());
  }
  chain.initial = StateOf[g][Process.exponential.initial];
  process.clockNames = Process.clockNames;
  process.firingOf.assign(PartSize[g], -1);
  for (auto& [x, firing] : Moves[g].firings) {
    process.firingOf[x] = static_cast<std::int64_t>(process.firings.size());
    std::string& names = process.kept[firing.delay];
    const std::string& name = Process.clockNames[firing.clock];
    if (names.find(name) == std::string::npos) {
      names += (names.empty() ? "" : ", ") + name;
    }
    process.firings.push_back(std::move(firing));
  }
  part.stateOf = std::move(StateOf[g]);
  for (std::size_t p = 0; p < NumPlaces; p++) {
    if (GroupOfPlace[p] == std::int64_t(g)) {
      part.places.push_back(Markings.variables[p]);
    }
  }
  return part;
}

std::variant<std::vector<ProcessPart>, std::string> Splitter::split() {
  if (!groupPlaces()) {
    return std::string("a delay fires without changing the marking");
  }
  if (NumGroups < 2) {
    return std::string("its places do not fall into parts that no move changes together");
  }
  if (!numberPartStates()) {
    return std::string("its states are not every combination of its parts' markings");
  }
  Moves.assign(NumGroups, {});
  std::string why = addExponential();
  if (why.empty()) {
    why = addFirings();
  }
  if (!why.empty()) {
    return why;
  }
  std::vector<ProcessPart> parts;
  for (std::size_t g = 0; g < NumGroups; g++) {
    parts.push_back(partOf(g));
  }
  return parts;
}

}  // namespace

std::variant<std::vector<ProcessPart>, std::string> independentParts(
    const DeterministicProcess& process, const MarkingTable& markings) {
  return Splitter(process, markings).split();
}

}  // namespace solver
