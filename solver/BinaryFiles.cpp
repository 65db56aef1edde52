#include "solver/BinaryFiles.h"

#include <algorithm>
#include <limits>
#include <set>
#include <string_view>

#include "generator/StateSpaceLayout.h"

namespace solver {

namespace {

namespace layout = state_space_layout;

std::string stateText(std::uint64_t state) { return "state " + std::to_string(state); }

}  // namespace

std::size_t readBinaryHead(LineReader& reader, std::uint64_t& count, std::uint64_t& flags) {
  readUnsigned(reader, sizeof layout::kMagic, "the binary state space's head");
  const std::uint64_t version = readUnsigned(reader, 4, "the version");
  if (version != layout::kVersion) {
    reader.failAtByte(8, "binary state space version " + std::to_string(version) +
                             " is not supported: only " + std::to_string(layout::kVersion) + " is");
  }
  flags = readUnsigned(reader, 4, "the flags");
  const std::uint64_t width = readUnsigned(reader, 4, "the width of a state number");
  if (width != 4 && width != 8) {
    reader.failAtByte(16, "a state number takes 4 or 8 bytes, not " + std::to_string(width));
  }
  count = readUnsigned(reader, 8, "the number of states");
  if (count == 0) {
    reader.failAtByte(layout::kCountOffset, "a state space has at least one state");
  }
  if (count > std::numeric_limits<std::uint32_t>::max()) {
    reader.failAtByte(layout::kCountOffset, "more states than the generator can number");
  }
  return width;
}

namespace {

void expectNoMore(LineReader& reader, const std::string& after) {
  if (!reader.peek(1).empty()) {
    reader.failAtByte(reader.offset(), "unexpected bytes after " + after);
  }
}

}  // namespace

bool isBinaryStateSpace(LineReader& reader) {
  return reader.peek(sizeof layout::kMagic) ==
         std::string_view(layout::kMagic, sizeof layout::kMagic);
}

std::uint32_t readBinaryStateCount(LineReader& reader) {
  std::uint64_t count = 0;
  std::uint64_t flags = 0;
  readBinaryHead(reader, count, flags);
  return static_cast<std::uint32_t>(count);
}

StateSpace readBinaryStateSpace(LineReader& reader,
                                const std::vector<std::uint32_t>& deterministic) {
  StateSpace space;
  std::uint64_t count = 0;
  std::uint64_t flags = 0;
  const std::size_t width = readBinaryHead(reader, count, flags);
  space.numStates = static_cast<std::uint32_t>(count);
  space.rowStart.push_back(0);
  for (std::uint64_t state = 1; state <= count; state++) {
    const auto record = [state] { return "the record of " + stateText(state); };
    const unsigned long long at = reader.offset();
    const std::uint64_t number = readUnsigned(reader, width, record);
    if (number != state) {
      reader.failAtByte(at, record() + " expected, not that of " + stateText(number));
    }
    const std::uint64_t entries =
        readUnsigned(reader, 4, [state] { return "the entries of " + stateText(state); });
    const bool mayBeNegative = std::binary_search(deterministic.begin(), deterministic.end(), state);
    std::uint64_t last = 0;
    for (std::uint64_t e = 0; e < entries; e++) {
      const unsigned long long targetAt = reader.offset();
      const std::uint64_t target =
          readUnsigned(reader, width, [state] { return "a target of " + stateText(state); });
      if (target == 0 || target > count) {
        reader.failAtByte(targetAt, "target " + std::to_string(target) + " is not one of the " +
                                        std::to_string(count) + " states");
      }
      if (target <= last) {
        reader.failAtByte(targetAt, "target " + std::to_string(target) +
                                        " does not follow target " + std::to_string(last) +
                                        ": targets must ascend");
      }
      last = target;
      const double value = readDouble(
          reader, [target] { return "the value of the transition to " + stateText(target); });
      if (value < 0 && !mayBeNegative) {
        reader.failAtByte(reader.offset() - 8,
                          "negative value (a deterministic firing) in " + stateText(state) +
                              ", in which no deterministic delay is enabled");
      }
      space.target.push_back(static_cast<std::uint32_t>(target));
      space.value.push_back(value);
    }
    space.rowStart.push_back(space.target.size());
  }
  expectNoMore(reader, "the record of the last state");
  return space;
}

bool isBinaryRewardRecords(LineReader& reader) {
  return reader.peek(4) == std::string_view("\1\0\0\0", 4);
}

StateRewards readBinaryRewardRecords(LineReader& reader, const std::vector<std::string>& names,
                                     std::uint32_t numStates) {
  StateRewards rewards;
  rewards.numVariables = names.size();
  rewards.hasImpulses.assign(names.size(), false);
  for (std::uint32_t state = 1; state <= numStates; state++) {
    const auto record = [state, numStates] {
      return "the record of " + stateText(state) + " (the state space has " +
             std::to_string(numStates) + ")";
    };
    const unsigned long long at = reader.offset();
    if (readUnsigned(reader, 4, record) != state) {
      reader.failAtByte(at, record() + " expected");
    }
    for (std::size_t v = 0; v < names.size(); v++) {
      const auto reward = [&] { return "the rewards of " + names[v] + " in " + stateText(state); };
      const double impulse = readDouble(reader, reward);
      rewards.hasImpulses[v] = rewards.hasImpulses[v] || impulse != 0.0;
      rewards.rate.push_back(readDouble(reader, reward));
    }
  }
  expectNoMore(reader, "the records of all " + std::to_string(numStates) + " states");
  return rewards;
}

bool isBinaryDelays(LineReader& reader) {
  const std::string_view head = reader.peek(4);
  return head.size() == 4 && head.find('\0') != std::string_view::npos;
}

std::vector<DelayEnabling> readBinaryDelays(LineReader& reader, std::uint32_t numStates) {
  const std::uint64_t count = readUnsigned(reader, 4, "the number of delays");
  std::vector<DelayEnabling> entries;
  std::set<double> seen;
  for (std::uint64_t i = 0; i < count; i++) {
    DelayEnabling entry;
    entry.line = 0;
    const unsigned long long at = reader.offset();
    entry.delay = readDouble(reader, [] { return "a delay"; });
    if (entry.delay <= 0) {
      reader.failAtByte(at, "a deterministic delay must be positive");
    }
    if (!seen.insert(entry.delay).second) {
      reader.failAtByte(at, "the delay is listed twice");
    }
    for (;;) {
      const unsigned long long stateAt = reader.offset();
      const std::uint64_t state = readUnsigned(reader, 4, "a state or the 0 ending the delay's list");
      if (state == 0) {
        break;
      }
      if (state > numStates) {
        reader.failAtByte(stateAt, "state " + std::to_string(state) + " is beyond the " +
                                       std::to_string(numStates) + " states");
      }
      entry.states.push_back(static_cast<std::uint32_t>(state));
    }
    entries.push_back(std::move(entry));
  }
  expectNoMore(reader, "the last delay's list");
  return entries;
}

}  // namespace solver
