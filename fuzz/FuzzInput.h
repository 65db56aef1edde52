#ifndef FUZZINPUT_H_
#define FUZZINPUT_H_

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

// The parts of a fuzz input separated by NUL bytes: at most maxParts, the
// last taking the rest of the input, NULs included; there are always
// maxParts, the missing ones empty.
inline std::vector<std::string> partsOf(const std::uint8_t* data, std::size_t size,
                                        std::size_t maxParts) {
  std::vector<std::string> parts(1);
  for (std::size_t i = 0; i < size; i++) {
    if (data[i] == '\0' && parts.size() < maxParts) {
      parts.emplace_back();
    } else {
      parts.back().push_back(static_cast<char>(data[i]));
    }
  }
  parts.resize(maxParts);
  return parts;
}

// Ends the run as a fault where a parser broke what it promises.
inline void require(bool promise) {
  if (!promise) {
    std::abort();
  }
}

#endif
