#include "solver/RewardFile.h"

#include "solver/BinaryFiles.h"
#include "solver/LineReader.h"

namespace solver {

namespace {

StateRewards readRecords(LineReader& reader, const std::vector<std::string>& names,
                         std::uint32_t numStates) {
  for (const std::string& expected : names) {
    expectVariableName(reader, expected);
  }
  if (isBinaryRewardRecords(reader)) {
    return readBinaryRewardRecords(reader, names, numStates);
  }
  StateRewards rewards;
  rewards.numVariables = names.size();
  rewards.hasImpulses.assign(names.size(), false);
  for (std::uint32_t state = 1; state <= numStates; state++) {
    expectStateNumber(reader, state, numStates);
    for (std::size_t v = 0; v < names.size(); v++) {
      const auto reward = [&] {
        return "the rewards of " + names[v] + " in state " + std::to_string(state);
      };
      const double impulse = parseNumber(reader, reader.expectLazily(reward), "an impulse reward");
      rewards.hasImpulses[v] = rewards.hasImpulses[v] || impulse != 0.0;
      rewards.rate.push_back(parseNumber(reader, reader.expectLazily(reward), "a rate reward"));
    }
  }
  reader.expectEnd("the records of all " + std::to_string(numStates) + " states");
  return rewards;
}

}  // namespace

Parsed<StateRewards> readStateRewards(std::istream& in, const std::string& name,
                                      const std::vector<std::string>& names,
                                      std::uint32_t numStates) {
  return readInput(in, name,
                   [&](LineReader& reader) { return readRecords(reader, names, numStates); });
}

Parsed<StateRewards> readStateRewardFile(const std::string& path,
                                         const std::vector<std::string>& names,
                                         std::uint32_t numStates) {
  return readFile(path, [&](LineReader& reader) { return readRecords(reader, names, numStates); });
}

}  // namespace solver
