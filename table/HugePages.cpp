#include "table/HugePages.h"

#include <cstdint>
#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace {
constexpr size_t kHuge = size_t{2} << 20;
// Below a few huge pages the faults saved do not pay for the advice.
constexpr size_t kWorthIt = 4 * kHuge;
}  // namespace

void PreferHugePages([[maybe_unused]] void* start, [[maybe_unused]] size_t size) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  if (size < kWorthIt)
    return;
  uintptr_t from = (reinterpret_cast<uintptr_t>(start) + kHuge - 1) & ~(kHuge - 1);
  uintptr_t to = (reinterpret_cast<uintptr_t>(start) + size) & ~(kHuge - 1);
  if (to > from)
    madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
#endif
}

void* AllocateHugePages(size_t size) {
  if (size == 0)
    size = 1;
#if defined(__linux__) && defined(MADV_HUGEPAGE)
  if (size >= kWorthIt) {
    size_t rounded = (size + kHuge - 1) / kHuge * kHuge;
    void* block = std::aligned_alloc(kHuge, rounded);
    if (block)
      PreferHugePages(block, rounded);
    return block;
  }
#endif
  return std::malloc(size);
}
