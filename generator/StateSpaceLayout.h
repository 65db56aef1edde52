#ifndef STATESPACELAYOUT_H_
#define STATESPACELAYOUT_H_

#include <cstddef>
#include <cstdint>
#include <string>

// The binary form of the ".arm" file (file types 2, 4 and 6), shared by the
// generator that writes it and the readers. All numbers are little-endian;
// values are IEEE 754 doubles.
//
//   head:   magic (8 bytes), version (4), flags (4), width of a state
//           number in bytes (4: 4 or 8), number of state records (8);
//   record: the state's number (width), its number of entries (4), then per
//           entry in ascending order of target: the target (width) and the
//           value (8), a rate where positive, minus the probability of a
//           deterministic firing where negative.
namespace state_space_layout {

// No text file starts with byte 0x7F.
constexpr char kMagic[8] = {'\x7F', 'S', 'A', 'N', 'A', 'R', 'M', '\0'};
constexpr std::uint32_t kVersion = 1;
// Flag: written by the deterministic exploration (its text form has the
// deterministic mode's shorter count placeholder).
constexpr std::uint32_t kDeterministic = 1;
constexpr std::size_t kHeadSize = 28;
constexpr std::size_t kCountOffset = 20;

// Text forms of the count placeholder, in characters.
constexpr int kNormalPlaceholder = 63;
constexpr int kDeterministicPlaceholder = 8;

// The head of the text form once the count is known: line 1 the output
// type 1, then the count written over the first characters of a placeholder
// line of width spaces, so that the rest stays as a line of spaces (none
// when the count fills it; a longer count takes the room it needs).
inline std::string TextHead(unsigned long count, int width) {
  const std::string number = std::to_string(count);
  const int rest = width - static_cast<int>(number.size()) - 1;
  return "1\n" + number + "\n" + (rest >= 0 ? std::string(rest, ' ') + "\n" : "");
}

}  // namespace state_space_layout

#endif
