#ifndef SOLVER_IMPULSEFILE_H_
#define SOLVER_IMPULSEFILE_H_

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

#include "solver/Diagnostic.h"

namespace solver {

// The impulse rewards of a run, per state: what the firings of its timed
// activities earn per unit time, and what each enabled deterministic
// activity earns when it fires.
struct ImpulseTable {
  std::size_t numVariables = 0;
  std::vector<bool> defines;  // by variable: whether it has impulses at all
  // Expected impulse per unit time of state s (from 0) and variable v at
  // s * numVariables + v: over the timed firings, rate times impulse,
  // zero-time chains after them included.
  std::vector<double> rate;
  struct Deterministic {
    std::uint32_t state = 0;     // from 1
    std::uint32_t activity = 0;  // from 1, as in the ".firings" file
    double delay = 0.0;
    std::size_t first = 0;  // its impulses, per variable, from firingImpulse[first]
  };
  std::vector<Deterministic> deterministic;  // by state, then activity
  std::vector<double> firingImpulse;
};

// Reads a ".imp" file: "Version:1", "NumPV:" and the count, per variable
// its name (they must be names, in order) and 1 or 0 (defines impulses),
// then for each state from 1 to numStates: its number, the impulse rate of
// each variable, the number k of deterministic activities enabled and, for
// each in ascending activity number, the number, the delay and the impulse
// of each variable. One value a line. A variable without impulses has 0
// throughout.
Parsed<ImpulseTable> readImpulses(std::istream& in, const std::string& name,
                                  const std::vector<std::string>& names, std::uint32_t numStates);
Parsed<ImpulseTable> readImpulseFile(const std::string& path, const std::vector<std::string>& names,
                                     std::uint32_t numStates);

}  // namespace solver

#endif
