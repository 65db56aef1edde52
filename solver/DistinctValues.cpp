#include "solver/DistinctValues.h"

#include <cstring>

namespace solver {

bool DistinctValues::number(double value, std::uint32_t& number) {
  std::uint64_t bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  Recent& recent = Recents[(bits * 0x9e3779b97f4a7c15u) >> (64 - kRecentBits)];
  if (recent.known && recent.bits == bits) {
    number = recent.number;
    return true;
  }
  auto found = Numbers.find(value);
  if (found == Numbers.end()) {
    if (Table.size() == Limit) {
      return false;
    }
    found = Numbers.emplace(value, static_cast<std::uint32_t>(Table.size())).first;
    Table.push_back(value);
  }
  recent = {true, bits, found->second};
  number = found->second;
  return true;
}

}  // namespace solver
