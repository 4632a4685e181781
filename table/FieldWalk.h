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
// One bit for each byte of the 64 at `at` that equals `b`.
__attribute__((target("avx2"))) inline uint64_t Matches64(const char* at, char b) {
  const __m256i value = _mm256_set1_epi8(b);
  auto low = static_cast<uint32_t>(_mm256_movemask_epi8(
      _mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(at)), value)));
  auto high = static_cast<uint32_t>(_mm256_movemask_epi8(
      _mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + 32)), value)));
  return low | static_cast<uint64_t>(high) << 32;
}

// Only the separators, the line ends and the row starts are visited one by one; a block that holds
// a NUL (a page lost under the mapping) is walked a byte at a time.
template <class Visit>
__attribute__((target("avx2,bmi"))) void WalkFieldsWide(const char* from, const char* to,
                                                        Visit&& visit) {
  WalkState s{from};
  const char* p = from;
  for (; to - p >= 64; p += 64) {
    uint64_t nuls = Matches64(p, '\0');
    if (nuls) {
      for (const char* q = p; q < p + 64; ++q)
        WalkByte(q, s, visit);
      continue;
    }
    uint64_t separators = Matches64(p, ';');
    uint64_t ends = Matches64(p, '\n') | Matches64(p, '\r');
    uint64_t before = (ends << 1) | (s.afterLineEnd ? 1 : 0);
    uint64_t rowStarts = ~ends & before;
    uint64_t runStarts = ends & ~before;
    for (uint64_t events = separators | rowStarts | runStarts; events; events &= events - 1) {
      unsigned i = static_cast<unsigned>(__builtin_ctzll(events));
      uint64_t bit = uint64_t{1} << i;
      const char* at = p + i;
      if (rowStarts & bit) {
        s.start = at;
        s.column = 0;
        s.pastRow = false;
      }
      if (s.pastRow || (rowStarts & bit & ~separators))
        continue;
      if (at > s.start)
        visit(s.column, s.start, static_cast<size_t>(at - s.start));
      if (separators & bit) {
        ++s.column;
        s.start = at + 1;
      } else {
        s.pastRow = true;
      }
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
