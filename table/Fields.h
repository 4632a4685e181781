// Where a field lies in a row's bytes. A field ends at a `;`, at a line-end byte, or at a NUL,
// which only the zero pages of a file cut short under its mapping put in a row; the row's bytes
// end where the next row begins. Sixteen bytes at a time where the processor has SSE2, else eight:
// a look may reach past the row's end, as far as `limit`, the end of the bytes that can be read.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace fields {

inline bool IsStop(char c) {
  return c == ';' || c == '\n' || c == '\r' || c == '\0';
}

#if defined(__SSE2__)
constexpr int kChunk = 16;

// One bit for each of the 16 bytes at `at`: those that are `;`, and those that end the row.
struct ChunkBits {
  unsigned separators;
  unsigned rowEnds;
};

inline ChunkBits Classify(const char* at) {
  __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
  __m128i ends = _mm_or_si128(
      _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\n')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\r'))),
      _mm_cmpeq_epi8(v, _mm_setzero_si128()));
  return ChunkBits{static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8(';')))),
                   static_cast<unsigned>(_mm_movemask_epi8(ends))};
}
#else
constexpr int kChunk = 8;

// The high bit of each byte of `word` that equals `b`, and maybe some above the first such byte;
// the lowest one set is always right.
inline uint64_t ByteIs(uint64_t word, uint8_t b) {
  constexpr uint64_t kOnes = 0x0101010101010101ULL;
  uint64_t x = word ^ (kOnes * b);
  return (x - kOnes) & ~x & (kOnes << 7);
}
#endif

// The first byte in [p, end) that ends a field, or `end`.
inline const char* FieldEnd(const char* p, const char* end, const char* limit) {
  while (p < end && limit - p >= kChunk) {
#if defined(__SSE2__)
    ChunkBits bits = Classify(p);
    if (unsigned stops = bits.separators | bits.rowEnds)
      return p + __builtin_ctz(stops) < end ? p + __builtin_ctz(stops) : end;
#else
    uint64_t word;
    std::memcpy(&word, p, 8);
    uint64_t stops = ByteIs(word, ';') | ByteIs(word, '\n') | ByteIs(word, '\r') | ByteIs(word, 0);
    if (stops)
      return p + __builtin_ctzll(stops) / 8 < end ? p + __builtin_ctzll(stops) / 8 : end;
#endif
    p += kChunk;
  }
  while (p < end && !IsStop(*p))
    ++p;
  return p < end ? p : end;
}

// The field that begins at p, in a row whose bytes end at `end`.
inline std::string_view FieldFrom(const char* p, const char* end, const char* limit) {
  return {p, static_cast<size_t>(FieldEnd(p, end, limit) - p)};
}

// Field k of the row whose bytes are [p, end); the empty text when the row has no field k, and
// field 0 for a negative k.
inline std::string_view FindField(const char* p, const char* end, const char* limit, int32_t k) {
#if defined(__SSE2__)
  // The separators before the row's end are counted off sixteen bytes at a time.
  while (k > 0 && p < end && limit - p >= kChunk) {
    ChunkBits bits = Classify(p);
    unsigned separators = bits.separators;
    if (bits.rowEnds)
      separators &= (bits.rowEnds & (0u - bits.rowEnds)) - 1;
    for (; separators; separators &= separators - 1) {
      const char* at = p + __builtin_ctz(separators);
      if (at >= end)
        return {};
      if (--k == 0)
        return FieldFrom(at + 1, end, limit);
    }
    if (bits.rowEnds)
      return {};
    p += kChunk;
  }
#endif
  for (; k > 0; --k) {
    p = FieldEnd(p, end, limit);
    if (p == end || *p != ';')
      return {};
    ++p;
  }
  return FieldFrom(p, end, limit);
}

}  // namespace fields
