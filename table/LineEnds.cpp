#include "table/LineEnds.h"

#include <cstring>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define LINTARO_WIDE_SCAN 1
#endif

namespace {
// Whether the CR at `i` is one that a line end explains: an LF follows, or the file ends.
inline bool CarriageReturnEndsLine(const char* data, size_t i, size_t length, bool fileEnd) {
  return i + 1 < length ? data[i + 1] == '\n' : fileEnd;
}
}  // namespace

LineCount CountLineEndsNarrow(const char* data, size_t length, bool fileEnd) {
  LineCount count;
  const void* nul = std::memchr(data, '\0', length);
  count.firstNul = nul ? static_cast<size_t>(static_cast<const char*>(nul) - data) : length;
  bool inRun = false;
  for (size_t i = 0; i < count.firstNul; ++i) {
    char c = data[i];
    if (c == '\r' && !CarriageReturnEndsLine(data, i, length, fileEnd))
      count.strayCarriageReturn = true;
    bool end = IsLineEnd(c);
    count.runs += end && !inRun;
    inRun = end;
  }
  return count;
}

template <class Offset>
size_t StoreRowStartsNarrow(const char* data, size_t length, uint64_t base, Offset* starts,
                            size_t most) {
  size_t stored = 0;
  size_t i = 0;
  while (stored < most) {
    const char* lf = static_cast<const char*>(std::memchr(data + i, '\n', length - i));
    if (!lf)
      break;
    i = static_cast<size_t>(lf - data);
    // A CR just before the LF belongs to the same run, which the LF found here begins or continues.
    while (i < length && IsLineEnd(data[i]))
      ++i;
    starts[stored++] = static_cast<Offset>(base + i);
  }
  // A stretch that ends the file may end in a CR, which ends the last line by itself.
  if (stored < most && length > 0 && data[length - 1] == '\r' &&
      (stored == 0 || base + length != static_cast<uint64_t>(starts[stored - 1])))
    starts[stored++] = static_cast<Offset>(base + length);
  return stored;
}

#if LINTARO_WIDE_SCAN
namespace {
// One bit for each byte of a 64-byte block whose compare was true.
__attribute__((target("avx2"))) inline uint64_t Bits(__m256i low, __m256i high) {
  return static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(low))) |
         static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(high))) << 32;
}

struct Block {
  uint64_t lineFeeds;
  uint64_t returns;
  uint64_t nuls;
};

__attribute__((target("avx2"))) inline Block Load(const char* at) {
  auto* block = reinterpret_cast<const __m256i*>(at);
  __m256i low = _mm256_loadu_si256(block);
  __m256i high = _mm256_loadu_si256(block + 1);
  const __m256i lf = _mm256_set1_epi8('\n');
  const __m256i cr = _mm256_set1_epi8('\r');
  const __m256i nul = _mm256_setzero_si256();
  return Block{Bits(_mm256_cmpeq_epi8(low, lf), _mm256_cmpeq_epi8(high, lf)),
               Bits(_mm256_cmpeq_epi8(low, cr), _mm256_cmpeq_epi8(high, cr)),
               Bits(_mm256_cmpeq_epi8(low, nul), _mm256_cmpeq_epi8(high, nul))};
}
}  // namespace

// Runs begin where a line-end byte follows none; only the blocks that hold a CR look at what
// follows each CR.
__attribute__((target("avx2,popcnt"))) LineCount CountLineEndsWide(const char* data, size_t length,
                                                                   bool fileEnd) {
  LineCount count;
  count.firstNul = length;
  uint64_t carry = 0;  // the byte before the block is a line-end byte
  size_t b = 0;
  for (; b + 64 <= length; b += 64) {
    Block block = Load(data + b);
    uint64_t before = ~uint64_t{0};  // the bytes before the first NUL
    if (block.nuls) {
      before = (block.nuls & -block.nuls) - 1;
      count.firstNul = b + static_cast<size_t>(__builtin_ctzll(block.nuls));
    }
    uint64_t ends = (block.lineFeeds | block.returns) & before;
    count.runs += static_cast<size_t>(__builtin_popcountll(ends & ~((ends << 1) | carry)));
    if (uint64_t returns = block.returns & before) {
      uint64_t followedByLf = block.lineFeeds >> 1;
      if (b + 64 < length && data[b + 64] == '\n')
        followedByLf |= uint64_t{1} << 63;
      else if (b + 64 == length && fileEnd && count.firstNul == length)
        followedByLf |= uint64_t{1} << 63;
      if (returns & ~followedByLf)
        count.strayCarriageReturn = true;
    }
    if (block.nuls)
      return count;
    carry = ends >> 63;
  }
  LineCount rest = CountLineEndsNarrow(data + b, length - b, fileEnd);
  // A run that crosses into the rest was counted here already.
  count.runs += rest.runs - (carry && rest.firstNul > 0 && IsLineEnd(data[b]) ? 1 : 0);
  count.firstNul = b + rest.firstNul;
  count.strayCarriageReturn = count.strayCarriageReturn || rest.strayCarriageReturn;
  return count;
}

namespace {
template <class Offset>
__attribute__((target("avx2,bmi"))) size_t StoreWide(const char* data, size_t length, uint64_t base,
                                                     Offset* starts, size_t most) {
  size_t stored = 0;
  uint64_t carry = 0;
  size_t b = 0;
  for (; b + 64 <= length && stored < most; b += 64) {
    Block block = Load(data + b);
    uint64_t ends = block.lineFeeds | block.returns;
    // The first byte after each run.
    for (uint64_t after = ~ends & ((ends << 1) | carry); after && stored < most;
         after &= after - 1) {
      starts[stored++] =
          static_cast<Offset>(base + b + static_cast<size_t>(__builtin_ctzll(after)));
    }
    carry = ends >> 63;
  }
  for (bool inRun = carry != 0; b < length && stored < most; ++b) {
    bool end = IsLineEnd(data[b]);
    if (inRun && !end)
      starts[stored++] = static_cast<Offset>(base + b);
    inRun = end;
  }
  if (stored < most && b == length && length > 0 && IsLineEnd(data[length - 1]))
    starts[stored++] = static_cast<Offset>(base + length);
  return stored;
}
}  // namespace

template <class Offset>
size_t StoreRowStartsWide(const char* data, size_t length, uint64_t base, Offset* starts,
                          size_t most) {
  return StoreWide(data, length, base, starts, most);
}

bool CanScanWide() {
  static const bool wide = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi");
  return wide;
}
#else
LineCount CountLineEndsWide(const char* data, size_t length, bool fileEnd) {
  return CountLineEndsNarrow(data, length, fileEnd);
}

template <class Offset>
size_t StoreRowStartsWide(const char* data, size_t length, uint64_t base, Offset* starts,
                          size_t most) {
  return StoreRowStartsNarrow(data, length, base, starts, most);
}

bool CanScanWide() {
  return false;
}
#endif

LineCount CountLineEnds(const char* data, size_t length, bool fileEnd) {
  return CanScanWide() ? CountLineEndsWide(data, length, fileEnd)
                       : CountLineEndsNarrow(data, length, fileEnd);
}

template <class Offset>
size_t StoreRowStarts(const char* data, size_t length, uint64_t base, Offset* starts, size_t most) {
  return CanScanWide() ? StoreRowStartsWide(data, length, base, starts, most)
                       : StoreRowStartsNarrow(data, length, base, starts, most);
}

template size_t StoreRowStartsNarrow(const char*, size_t, uint64_t, uint32_t*, size_t);
template size_t StoreRowStartsNarrow(const char*, size_t, uint64_t, uint64_t*, size_t);
template size_t StoreRowStartsWide(const char*, size_t, uint64_t, uint32_t*, size_t);
template size_t StoreRowStartsWide(const char*, size_t, uint64_t, uint64_t*, size_t);
template size_t StoreRowStarts(const char*, size_t, uint64_t, uint32_t*, size_t);
template size_t StoreRowStarts(const char*, size_t, uint64_t, uint64_t*, size_t);
