#include "table/HugePages.h"

#include <cstdint>
#include <cstdlib>

#if defined(__linux__)
#include <sys/mman.h>
#endif

#if defined(__linux__) && defined(MADV_HUGEPAGE)
namespace {
constexpr size_t kHuge = size_t{2} << 20;
// Below a few huge pages the faults saved do not pay for the advice.
constexpr size_t kWorthIt = 4 * kHuge;

// Asks for huge pages over the whole 2 MiB pages inside [start, start + size).
void PreferHugePages(void* start, size_t size) {
  uintptr_t from = (reinterpret_cast<uintptr_t>(start) + kHuge - 1) & ~(kHuge - 1);
  uintptr_t to = (reinterpret_cast<uintptr_t>(start) + size) & ~(kHuge - 1);
  if (to > from)
    madvise(reinterpret_cast<void*>(from), to - from, MADV_HUGEPAGE);
}
}  // namespace
#endif

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
