// Every field of a stretch of whole rows, in one walk along their bytes: visit(column, text,
// length) for each field that is not empty, in file order. It finds the same fields as
// TableFile::FieldText row by row, without the index, 64 bytes at a time where the processor can.
#pragma once

#include <cstddef>
#include <cstdint>

#include "table/Fields.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define LINTARO_WIDE_WALK 1
#endif

namespace fields {

// Where the walk stands between two calls: in a row's field `column` since `start`, or past the
// row's last field until the next row begins.
struct WalkState {
  const char* start;
  int32_t column = 0;
  bool pastRow = false;
  bool afterLineEnd = false;  // the byte before is a line-end byte
};

template <class Visit>
inline void WalkByte(const char* p, WalkState& s, Visit& visit) {
  char c = *p;
  bool lineEnd = c == '\n' || c == '\r';
  if (s.afterLineEnd && !lineEnd) {
    s.start = p;
    s.column = 0;
    s.pastRow = false;
  }
  s.afterLineEnd = lineEnd;
  if (s.pastRow || !IsStop(c))
    return;
  if (p > s.start)
    visit(s.column, s.start, static_cast<size_t>(p - s.start));
  if (c == ';') {
    ++s.column;
    s.start = p + 1;
  } else {
    s.pastRow = true;
  }
}

template <class Visit>
inline void WalkEnd(const char* end, WalkState& s, Visit& visit) {
  if (!s.pastRow && !s.afterLineEnd && end > s.start)
    visit(s.column, s.start, static_cast<size_t>(end - s.start));
}

// The rows whose bytes are [from, to); `from` begins a row.
template <class Visit>
void WalkFieldsNarrow(const char* from, const char* to, Visit&& visit) {
  WalkState s{from};
  for (const char* p = from; p < to; ++p)
    WalkByte(p, s, visit);
  WalkEnd(to, s, visit);
}

#if LINTARO_WIDE_WALK
// The bytes of a 64-byte block that end a field, that end a row, and that are NUL.
struct BlockBits {
  uint64_t separators;
  uint64_t lineEnds;
  uint64_t nuls;
};

__attribute__((target("avx2"))) inline uint64_t Bits(__m256i low, __m256i high, __m256i value) {
  auto lowBits = static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(low, value)));
  auto highBits = static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(high, value)));
  return lowBits | static_cast<uint64_t>(highBits) << 32;
}

__attribute__((target("avx2"))) inline BlockBits ClassifyBlock(const char* at) {
  __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
  __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + 32));
  return BlockBits{
      Bits(low, high, _mm256_set1_epi8(';')),
      Bits(low, high, _mm256_set1_epi8('\n')) | Bits(low, high, _mm256_set1_epi8('\r')),
      Bits(low, high, _mm256_setzero_si256())};
}

// Only the ends of fields are visited one by one; a row's start, of which there is at most one
// between two ends of fields, is taken up at the end that follows it. A block that holds a NUL (a
// page lost under the mapping) is walked a byte at a time.
template <class Visit>
__attribute__((target("avx2,bmi"))) void WalkFieldsWide(const char* from, const char* to,
                                                        Visit&& visit) {
  WalkState s{from};
  const char* p = from;
  for (; to - p >= 64; p += 64) {
    BlockBits block = ClassifyBlock(p);
    if (block.nuls) {
      for (const char* q = p; q < p + 64; ++q)
        WalkByte(q, s, visit);
      continue;
    }
    uint64_t ends = block.lineEnds;
    uint64_t before = (ends << 1) | (s.afterLineEnd ? 1 : 0);
    uint64_t rowStarts = ~ends & before;
    for (uint64_t events = block.separators | (ends & ~before); events; events &= events - 1) {
      unsigned i = static_cast<unsigned>(__builtin_ctzll(events));
      uint64_t upTo = events ^ (events - 1);  // the bits up to and with this one
      if (uint64_t started = rowStarts & upTo) {
        s.start = p + 63 - __builtin_clzll(started);
        s.column = 0;
        s.pastRow = false;
        rowStarts &= ~upTo;
      }
      if (s.pastRow)
        continue;
      const char* at = p + i;
      if (at > s.start)
        visit(s.column, s.start, static_cast<size_t>(at - s.start));
      if ((block.separators >> i) & 1) {
        ++s.column;
        s.start = at + 1;
      } else {
        s.pastRow = true;
      }
    }
    if (rowStarts) {
      s.start = p + 63 - __builtin_clzll(rowStarts);
      s.column = 0;
      s.pastRow = false;
    }
    s.afterLineEnd = (ends >> 63) != 0;
  }
  for (; p < to; ++p)
    WalkByte(p, s, visit);
  WalkEnd(to, s, visit);
}

inline bool CanWalkWide() {
  static const bool wide = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi");
  return wide;
}
#endif

template <class Visit>
void WalkFields(const char* from, const char* to, Visit&& visit) {
#if LINTARO_WIDE_WALK
  if (CanWalkWide()) {
    WalkFieldsWide(from, to, visit);
    return;
  }
#endif
  WalkFieldsNarrow(from, to, visit);
}

}  // namespace fields
