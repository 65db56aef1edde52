#ifndef DETERMINISTICFIRINGS_H_
#define DETERMINISTICFIRINGS_H_

#include <map>
#include <optional>
#include <utility>
#include <vector>

#include "generator/OutputFile.h"

class BaseActionClass;
class BaseGroupClass;
class ReachedStates;

// The deterministic activities among actions (in model order), each once as
// the group of its actions (its case group, or the action itself); an
// activity's number is its position plus 1. groups is indexed by an
// action's group id.
std::vector<const BaseGroupClass*> DeterministicActivities(BaseActionClass* const* actions,
                                                           unsigned int numActions,
                                                           BaseGroupClass* const* groups);

// The ".firings" file, written on request (-D) in the deterministic mode:
// which deterministic activity, and so which delay, each deterministic
// firing belongs to. The ".arm" file sums the negated probabilities of all
// firings per target and the ".det" file lists delays per state, so where
// two delays are enabled in one state neither tells whose firing leads
// where.
//
// Layout: "Activities:" and the number of deterministic activities, then one
// line "number name" per activity (numbered from 1 in model order; the cases
// of one activity are one activity); then, for each explored state in
// order, one line "state activity delay target probability" per outcome of
// each of its deterministic firings, by activity and target. Fields are
// separated by single spaces; the delay and probability are written as in
// the ".arm" file.
class DeterministicFirings {
 public:
  struct Outcome {
    unsigned int activity;
    double delay;
    unsigned long target;
    double probability;
  };

  // Numbers the groups of the deterministic actions among actions (in model
  // order); groups is indexed by an action's group id. Neither is owned.
  DeterministicFirings(BaseActionClass* const* actions, unsigned int numActions,
                       BaseGroupClass* const* groups);
  // Opens name (truncating it; compressed at the zstd level given) and
  // writes the list of activities; false on failure (errno tells why).
  bool Open(const char* name, std::optional<int> compression = std::nullopt);
  // Records that the entries from first on of reached came from the firing
  // of the deterministic action with the given delay.
  void Fired(const BaseActionClass* action, double delay, size_t first,
             const ReachedStates& reached);
  // Records the number that entry index of the reached list received.
  void Numbered(size_t index, unsigned long number);
  // The outcomes recorded since the last WriteState, taken out: an
  // exploration that numbers the targets later puts them back with Restore.
  std::vector<Outcome> Take() {
    std::vector<Outcome> taken;
    taken.swap(Pending);
    return taken;
  }
  void Restore(std::vector<Outcome> outcomes) { Pending = std::move(outcomes); }
  // Writes the firings of the explored state and forgets them.
  void WriteState(unsigned long state);
  bool good() const { return File.good(); }
  // Writes out what is buffered and closes; false when anything was lost.
  bool Close() { return File.close(); }
  // Why the last write or the close failed (an errno value), or 0.
  int error() const { return File.error(); }
  // The bytes written so far, the end of the last record.
  std::size_t position() const { return File.position(); }

 private:
  BaseGroupClass* const* Groups;
  std::vector<const BaseGroupClass*> Activities;  // in numbering order, from 1
  std::map<const BaseGroupClass*, unsigned int> Numbers;
  // The outcomes of the explored state; targets are reached-list indices
  // until numbered.
  std::vector<Outcome> Pending;
  std::vector<unsigned long> NumberOfReached;
  OutputFile File;
};

#endif
