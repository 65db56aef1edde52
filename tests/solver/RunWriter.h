#ifndef TESTS_SOLVER_RUNWRITER_H_
#define TESTS_SOLVER_RUNWRITER_H_

// The files of a generator run written by hand, for chains whose values are
// known in closed form: the rates between states (numbered from 0 here,
// from 1 in the files), and per reward variable its type, time points,
// rate rewards and impulse rates.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "tests/solver/Chains.h"

namespace solver_test {

struct Variable {
  std::string name;
  int type = 0;
  std::vector<std::pair<double, double>> times;  // start and stop of each time point
  std::vector<double> rewards;                   // rate reward per state
  std::vector<double> impulses;                  // impulse rate per state; empty: none
};

struct HandRun {
  std::uint32_t numStates = 0;
  std::vector<Rate> rates;  // by source state
  std::vector<Variable> variables;
};

inline std::string number(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}

// Writes base.arm, base.var, base.pvtype and, when a variable has
// impulses, base.imp (else removes one left by an earlier run).
inline void writeRun(const HandRun& run, const std::string& base) {
  std::ofstream arm(base + ".arm", std::ios::binary);
  arm << "1\n" << run.numStates << "\n";
  for (std::uint32_t s = 0; s < run.numStates; s++) {
    arm << s + 1 << "\n";
    std::vector<Rate> row;
    for (const Rate& rate : run.rates) {
      if (rate.from == s) {
        row.push_back(rate);
      }
    }
    std::sort(row.begin(), row.end(), [](const Rate& a, const Rate& b) { return a.to < b.to; });
    for (const Rate& rate : row) {
      arm << rate.to + 1 << "\n" << number(rate.rate) << "\n";
    }
    arm << "0\n";
  }
  std::ofstream types(base + ".pvtype", std::ios::binary);
  types << "Version:1\nNumPV:" << run.variables.size() << "\n";
  std::ofstream var(base + ".var", std::ios::binary);
  bool impulses = false;
  for (const Variable& variable : run.variables) {
    types << "Name:" << variable.name << "\nType:" << variable.type
          << "\nNumTimes:" << variable.times.size() << "\n";
    for (const auto& [start, stop] : variable.times) {
      types << "Start:" << number(start) << "\nStop:" << number(stop) << "\n";
    }
    var << variable.name << "\n";
    impulses = impulses || !variable.impulses.empty();
  }
  for (std::uint32_t s = 0; s < run.numStates; s++) {
    var << s + 1 << "\n";
    for (const Variable& variable : run.variables) {
      var << "0\n" << number(variable.rewards[s]) << "\n";
    }
  }
  if (!impulses) {
    std::remove((base + ".imp").c_str());
    return;
  }
  std::ofstream imp(base + ".imp", std::ios::binary);
  imp << "Version:1\nNumPV:" << run.variables.size() << "\n";
  for (const Variable& variable : run.variables) {
    imp << variable.name << "\n" << (variable.impulses.empty() ? 0 : 1) << "\n";
  }
  for (std::uint32_t s = 0; s < run.numStates; s++) {
    imp << s + 1 << "\n";
    for (const Variable& variable : run.variables) {
      imp << number(variable.impulses.empty() ? 0.0 : variable.impulses[s]) << "\n";
    }
    imp << "0\n";
  }
}

}  // namespace solver_test

#endif
