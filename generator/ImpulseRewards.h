#ifndef IMPULSEREWARDS_H_
#define IMPULSEREWARDS_H_

#include <map>
#include <optional>
#include <vector>

#include "generator/OutputFile.h"

class BaseActionClass;
class BaseGroupClass;
class PVModel;

// The ".imp" file, written for models whose reward variables earn impulses:
// what a solver needs to count them, since the ".var" file holds only the
// impulse of the firing that first reached each state. The generator
// reports every firing of a path (a timed firing and the zero-time chain
// after it) and the value the path adds to the ".arm" file; this class sums
// each path's impulses weighted by that value.
//
// Layout, one value a line, doubles in "%.10e": "Version:1", "NumPV:" and
// the number of variables; per variable its name and 1 when it defines
// impulses, else 0; then per explored state, in numbering order: its
// number; per variable the impulse earned per unit time by its timed
// firings (each rate times the impulses of its paths, weighted by their
// probabilities; Erlang phase steps earn nothing); the number k of
// deterministic activities enabled in it; per such activity, in model order,
// its number (from 1, as in the ".firings" file), its delay, and per
// variable the impulse its firing earns, weighted over its outcomes.
class ImpulseRewards {
 public:
  // True when a variable of model defines an impulse.
  static bool Defined(const PVModel& model);

  // Evaluates model's variables; numbers the deterministic activities among
  // actions (in model order), groups being indexed by an action's group id.
  // Nothing is owned.
  ImpulseRewards(PVModel* model, BaseActionClass* const* actions, unsigned int numActions,
                 BaseGroupClass* const* groups);
  // Opens name (truncating it; compressed at the zstd level given) and
  // writes the header; false on failure (errno tells why).
  bool Open(const char* name, std::optional<int> compression = std::nullopt);
  // action has fired and the model holds the marking it reached: a timed
  // (or deterministic) action starts a path; an instantaneous one, fired at
  // depth depth of the zero-time chain, continues it.
  void Fired(BaseActionClass* action, int depth);
  // A timed firing that only advanced an Erlang phase starts a path that
  // earns nothing.
  void PhaseStep();
  // The path that reached depth depth of its chain ends in a stable state,
  // adding value (a rate, or a deterministic firing's negated probability)
  // to the ".arm" file.
  void Reached(int depth, double value);
  // Writes the record of the explored state and forgets its sums.
  void WriteState(unsigned long state);
  bool good() const { return File.good(); }
  // Writes out what is buffered and closes; false when anything was lost.
  bool Close() { return File.close(); }
  // Why the last write or the close failed (an errno value), or 0.
  int error() const { return File.error(); }
  // The bytes written so far, the end of the last record.
  std::size_t position() const { return File.position(); }

 private:
  // The sums of one deterministic activity enabled in the explored state.
  struct DeterministicSums {
    unsigned int activity;
    double delay;
    std::vector<double> impulses;
  };

  // The path's impulses at depth from + 1: those at depth from (none for
  // from = -1, a timed firing) and what action's firing earns.
  void extendPath(int from, BaseActionClass* action);
  // The index in ActivitySums of the deterministic activity of action,
  // added for the explored state when new.
  long activitySums(BaseActionClass* action);
  void putValues(const std::vector<double>& values);

  PVModel* Model;
  BaseGroupClass* const* Groups;
  std::map<const BaseGroupClass*, unsigned int> ActivityNumbers;
  // Per depth of the zero-time chain, the impulses of the path so far.
  std::vector<std::vector<double>> Path;
  std::vector<double> RateSums;  // of the explored state's timed firings
  std::vector<DeterministicSums> ActivitySums;
  // Where the current path's impulses go: an entry of ActivitySums, or
  // RateSums when negative.
  long Target = -1;
  OutputFile File;
};

#endif
