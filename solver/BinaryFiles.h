#ifndef SOLVER_BINARYFILES_H_
#define SOLVER_BINARYFILES_H_

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "solver/DelayFile.h"
#include "solver/LineReader.h"
#include "solver/RewardFile.h"
#include "solver/StateSpaceFile.h"

// The binary forms of a run's files (gen -F2), told apart from the text
// forms by their first bytes, and read into what the text readers return
// under the same checks. Numbers are little-endian, values IEEE 754 doubles.
namespace solver {

// An unsigned little-endian number of width bytes (at most 8); describe()
// says what it is when the input ends before it.
template <class Describe>
std::uint64_t readUnsigned(LineReader& reader, std::size_t width, Describe describe) {
  unsigned char bytes[8] = {};
  const unsigned long long at = reader.offset();
  if (!reader.bytes(bytes, width)) {
    reader.failAtByte(at, "the file ends where " + std::string(describe()) +
                              " should follow: it is truncated");
  }
  std::uint64_t value = 0;
  for (std::size_t i = width; i-- > 0;) {
    value = (value << 8) | bytes[i];
  }
  return value;
}

inline std::uint64_t readUnsigned(LineReader& reader, std::size_t width, const char* what) {
  return readUnsigned(reader, width, [what] { return what; });
}

// A finite double of 8 bytes.
template <class Describe>
double readDouble(LineReader& reader, Describe describe) {
  const std::uint64_t bits = readUnsigned(reader, 8, describe);
  double value = 0.0;
  std::memcpy(&value, &bits, sizeof value);
  if (!std::isfinite(value)) {
    reader.failAtByte(reader.offset() - 8, std::string(describe()) + " is not a finite number");
  }
  return value;
}

// The width of a state number in the binary ".arm" form, after reading its
// head; count is the number of state records, flags the head's flags.
std::size_t readBinaryHead(LineReader& reader, std::uint64_t& count, std::uint64_t& flags);

// Whether the ".arm" input starts with the binary form's magic.
bool isBinaryStateSpace(LineReader& reader);
// The head of the binary ".arm" form; the number of states.
std::uint32_t readBinaryStateCount(LineReader& reader);
// The whole binary ".arm" form (head and records).
StateSpace readBinaryStateSpace(LineReader& reader,
                                const std::vector<std::uint32_t>& deterministic);

// Whether the ".var" records that follow its names are binary: state 1's
// record starts with the bytes 1 0 0 0 there, and with the text "1" in text.
bool isBinaryRewardRecords(LineReader& reader);
// The binary records of numStates states: per state its number (4 bytes),
// then per variable its impulse and rate reward (8 bytes each).
StateRewards readBinaryRewardRecords(LineReader& reader, const std::vector<std::string>& names,
                                     std::uint32_t numStates);

// Whether the ".det" input is binary: its count of 4 bytes holds a zero
// byte, which no text does.
bool isBinaryDelays(LineReader& reader);
// The binary ".det" form: the number of delays (4 bytes), then per delay
// its value (8 bytes), its states (4 bytes each) and a terminating 0 (4 bytes).
std::vector<DelayEnabling> readBinaryDelays(LineReader& reader, std::uint32_t numStates);

}  // namespace solver

#endif
