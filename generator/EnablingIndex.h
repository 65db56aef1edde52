#ifndef ENABLINGINDEX_H_
#define ENABLINGINDEX_H_

#include <cstdint>
#include <vector>

class BaseActionClass;
class Place;

// Finds the actions that may be enabled in the model's current marking with
// work that grows with the actions whose needs are (nearly) met, not with
// all of them. Each action that lists token needs (its input arcs) is
// indexed under one of their places, the one the fewest actions need; a
// marking asks only the actions indexed under places holding enough tokens,
// and of those only the ones whose every need is met. Actions without needs
// are asked in every marking. Before its needs are read one by one, an
// action must pass a test of 128 bits: each needed place has a bit, set in
// a marking when any place with that bit holds a token. The markings are
// read through the places, so
// a place shared with another model, and changed by it, is seen as it is.
class EnablingIndex {
 public:
  // Indexes the actions, given in model order (not owned; they and their
  // places outlive the index).
  EnablingIndex(BaseActionClass* const* actions, unsigned int count);

  // The actions that may be enabled in the current marking, in model order:
  // those whose needs are all met and those without needs. Every enabled
  // action is among them. Valid until the next call.
  const std::vector<BaseActionClass*>& candidates();

  // Every action, in model order.
  const std::vector<BaseActionClass*>& all() const { return Actions; }
  // How many of the actions are indexed (list needs).
  unsigned int indexed() const { return static_cast<unsigned int>(Entries.size()); }

 private:
  struct Need {
    const short* mark;
    int tokens;
  };
  // An action under its index place: the bits of its needed places, the
  // tokens it needs there, and its other needs, in Needs[firstNeed,
  // firstNeed + needCount).
  struct Entry {
    std::uint64_t bits[2];
    int tokens;
    unsigned int action;
    unsigned int firstNeed;
    unsigned int needCount;
  };
  // A place with the actions indexed under it, in model order.
  struct Slot {
    const short* mark;
    int fewestTokens;
    unsigned int firstEntry;
    unsigned int entryCount;
  };

  void build(BaseActionClass* const* actions, unsigned int count);
  // The bits of the places that hold a token.
  void markBits(std::uint64_t bits[2]) const;
  // Points the markings at the places' cells again after a change of
  // sharing (a shared place reads its group's cell).
  void followSharing();
  bool needsMet(const Entry& entry) const;

  std::vector<BaseActionClass*> Actions;  // in model order
  std::vector<unsigned int> Always;       // positions of the actions without needs
  std::vector<Slot> Slots;
  std::vector<Entry> Entries;  // grouped by slot
  std::vector<Need> Needs;
  // The places behind Slots' and Needs' markings, in the same order.
  std::vector<Place*> SlotPlaces;
  std::vector<Place*> NeedPlaces;
  // Every needed place (its bit is its position modulo 128), and its marking.
  std::vector<Place*> BitPlaces;
  std::vector<const short*> BitMarks;
  unsigned long SharingVersion;
  std::vector<unsigned int> Found;
  std::vector<BaseActionClass*> Candidates;
};

#endif
