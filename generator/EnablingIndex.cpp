#include "generator/EnablingIndex.h"

#include <algorithm>
#include <unordered_map>

#include "Cpp/BaseClasses/BaseActionClass.h"
#include "Cpp/BaseClasses/state/Place.h"

EnablingIndex::EnablingIndex(BaseActionClass* const* actions, unsigned int count)
    : Actions(actions, actions + count), SharingVersion(BaseStateVariableClass::SharingChanges) {
  build(actions, count);
}

void EnablingIndex::build(BaseActionClass* const* actions, unsigned int count) {
  std::vector<std::vector<BaseActionClass::TokenNeed>> needsOf(count);
  std::unordered_map<Place*, unsigned int> needers;
  for (unsigned int a = 0; a < count; a++) {
    std::vector<BaseActionClass::TokenNeed> listed;
    actions[a]->EnablingNeeds(listed);
    // A need of no token is met by every marking.
    for (const BaseActionClass::TokenNeed& need : listed) {
      if (need.place != nullptr && need.tokens > 0) {
        needsOf[a].push_back(need);
        needers[need.place]++;
      }
    }
    if (needsOf[a].empty()) {
      Always.push_back(a);
    }
  }
  // Each action goes under the place the fewest actions need, so that the
  // lists stay short and a place most markings fill is rarely chosen; its
  // other needs follow in the same order, to fail early.
  std::unordered_map<Place*, unsigned int> bitOrdinal;
  std::unordered_map<Place*, unsigned int> slotOf;
  std::vector<std::vector<Entry>> bySlot;
  for (unsigned int a = 0; a < count; a++) {
    std::vector<BaseActionClass::TokenNeed>& needs = needsOf[a];
    if (needs.empty()) {
      continue;
    }
    std::stable_sort(needs.begin(), needs.end(),
                     [&](const BaseActionClass::TokenNeed& x, const BaseActionClass::TokenNeed& y) {
                       const unsigned int nx = needers[x.place], ny = needers[y.place];
                       return nx != ny ? nx < ny : x.tokens > y.tokens;
                     });
    const auto inserted = slotOf.emplace(needs[0].place, static_cast<unsigned int>(bySlot.size()));
    if (inserted.second) {
      bySlot.emplace_back();
      SlotPlaces.push_back(needs[0].place);
    }
    Entry entry{{0, 0},
                needs[0].tokens,
                a,
                static_cast<unsigned int>(Needs.size()),
                static_cast<unsigned int>(needs.size() - 1)};
    for (const BaseActionClass::TokenNeed& need : needs) {
      const auto known =
          bitOrdinal.emplace(need.place, static_cast<unsigned int>(BitPlaces.size()));
      if (known.second) {
        BitPlaces.push_back(need.place);
      }
      const unsigned int bit = known.first->second % 128;
      entry.bits[bit / 64] |= std::uint64_t(1) << (bit % 64);
    }
    bySlot[inserted.first->second].push_back(entry);
    for (size_t k = 1; k < needs.size(); k++) {
      Needs.push_back(Need{nullptr, needs[k].tokens});
      NeedPlaces.push_back(needs[k].place);
    }
  }
  for (size_t s = 0; s < bySlot.size(); s++) {
    int fewest = bySlot[s].front().tokens;
    for (const Entry& entry : bySlot[s]) {
      fewest = std::min(fewest, entry.tokens);
    }
    Slots.push_back(Slot{nullptr, fewest, static_cast<unsigned int>(Entries.size()),
                         static_cast<unsigned int>(bySlot[s].size())});
    Entries.insert(Entries.end(), bySlot[s].begin(), bySlot[s].end());
  }
  followSharing();
}

void EnablingIndex::followSharing() {
  for (size_t s = 0; s < Slots.size(); s++) {
    Slots[s].mark = SlotPlaces[s]->Mark;
  }
  for (size_t n = 0; n < Needs.size(); n++) {
    Needs[n].mark = NeedPlaces[n]->Mark;
  }
  BitMarks.resize(BitPlaces.size());
  for (size_t b = 0; b < BitPlaces.size(); b++) {
    BitMarks[b] = BitPlaces[b]->Mark;
  }
  SharingVersion = BaseStateVariableClass::SharingChanges;
}

void EnablingIndex::markBits(std::uint64_t bits[2]) const {
  bits[0] = bits[1] = 0;
  for (size_t b = 0; b < BitMarks.size(); b++) {
    if (*BitMarks[b] > 0) {
      bits[(b % 128) / 64] |= std::uint64_t(1) << (b % 64);
    }
  }
}

bool EnablingIndex::needsMet(const Entry& entry) const {
  const Need* need = Needs.data() + entry.firstNeed;
  for (const Need* end = need + entry.needCount; need != end; need++) {
    if (*need->mark < need->tokens) {
      return false;
    }
  }
  return true;
}

const std::vector<BaseActionClass*>& EnablingIndex::candidates() {
  if (SharingVersion != BaseStateVariableClass::SharingChanges) {
    followSharing();
  }
  Found.assign(Always.begin(), Always.end());
  std::uint64_t marked[2];
  markBits(marked);
  for (const Slot& slot : Slots) {
    const int held = *slot.mark;
    if (held < slot.fewestTokens) {
      continue;
    }
    const Entry* entry = Entries.data() + slot.firstEntry;
    for (const Entry* end = entry + slot.entryCount; entry != end; entry++) {
      const bool mayBeMarked = ((entry->bits[0] & ~marked[0]) | (entry->bits[1] & ~marked[1])) == 0;
      if (mayBeMarked && entry->tokens <= held && needsMet(*entry)) {
        Found.push_back(entry->action);
      }
    }
  }
  std::sort(Found.begin(), Found.end());
  Candidates.clear();
  for (unsigned int a : Found) {
    Candidates.push_back(Actions[a]);
  }
  return Candidates;
}
