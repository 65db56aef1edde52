#include "generator/LargeAllocation.h"

#include <cstdint>
#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {

const std::size_t kLargePage = std::size_t(2) << 20;

}  // namespace

void* allocateLarge(std::size_t count, std::size_t size) {
  void* memory = std::calloc(count > 0 ? count : 1, size > 0 ? size : 1);
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  // Only whole large pages inside the block can be backed so; the hint is
  // advice, and its failure changes nothing but speed. calloc has refused a
  // product count x size that overflows.
  const std::uintptr_t start = reinterpret_cast<std::uintptr_t>(memory);
  const std::uintptr_t first = (start + kLargePage - 1) & ~(kLargePage - 1);
  const std::uintptr_t end = (start + count * size) & ~(kLargePage - 1);
  if (memory != nullptr && end > first) {
    madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
  }
#endif
  return memory;
}

void freeLarge(void* memory) { std::free(memory); }
