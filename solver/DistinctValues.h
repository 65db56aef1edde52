#ifndef SOLVER_DISTINCTVALUES_H_
#define SOLVER_DISTINCTVALUES_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

namespace solver {

// Numbers the distinct values in the order first seen, into a table, up to
// a limit: the products keep a small index per transition or state where
// a double would stream through the caches. A value met before is most
// often found among the recent ones by its bits, which costs far less than
// a lookup in the map; values equal as numbers (0 and -0) share a number.
class DistinctValues {
 public:
  DistinctValues(std::vector<double>& table, std::size_t limit) : Table(table), Limit(limit) {}
  // value's number; false when it would be past the limit.
  bool number(double value, std::uint32_t& number);

 private:
  static constexpr unsigned kRecentBits = 9;
  struct Recent {
    bool known = false;
    std::uint64_t bits = 0;
    std::uint32_t number = 0;
  };
  std::vector<double>& Table;
  const std::size_t Limit;
  std::unordered_map<double, std::uint32_t> Numbers;
  std::array<Recent, std::size_t(1) << kRecentBits> Recents{};
};

}  // namespace solver

#endif
