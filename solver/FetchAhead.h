#ifndef SOLVER_FETCHAHEAD_H_
#define SOLVER_FETCHAHEAD_H_

#include <cstdint>

namespace solver {

// How far ahead a product fetches the transitions it streams, in entries.
constexpr std::uint64_t kFetchAhead = 512;

// Fetches the line of base[offset] ahead of its use, marked as read once: a
// product streams its transitions through the caches once, and would
// otherwise push out the vector entries it gathers again and again. The
// address is reckoned as a number, since it may lie past the array's end,
// where a fetch does nothing.
template <class T>
inline void fetchOnce(const T* base, std::uint64_t offset) {
  const std::uintptr_t address = reinterpret_cast<std::uintptr_t>(base) + offset * sizeof(T);
  __builtin_prefetch(reinterpret_cast<const void*>(address), 0, 0);
}

}  // namespace solver

#endif
