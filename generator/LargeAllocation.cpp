#include "generator/LargeAllocation.h"

#include <cstdint>
#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {

const std::size_t kLargePage = std::size_t(2) << 20;

}  // namespace

void* allocateLarge(std::size_t bytes) {
  void* memory = std::calloc(bytes > 0 ? bytes : 1, 1);
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  // Only whole large pages inside the block can be backed so; the hint is
  // advice, and its failure changes nothing but speed.
  const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(memory);
  const std::uintptr_t first = (start + kLargePage - 1) & ~(kLargePage - 1);
  const std::uintptr_t end = (start + bytes) & ~(kLargePage - 1);
  if (memory != nullptr && end > first) {
    madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
  }
#endif
  return memory;
}

void freeLarge(void* memory) { std::free(memory); }
