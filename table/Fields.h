// Where a field ends in a row's bytes: at a `;`, at a line-end byte, or at a NUL, which only the
// zero pages of a file cut short under its mapping put in a row. Eight bytes at a time.
#pragma once

#include <cstdint>
#include <cstring>

namespace fields {

// The high bit of each byte of `word` that equals `b`, and maybe some above the first such byte;
// the lowest one set is always right.
inline uint64_t ByteIs(uint64_t word, uint8_t b) {
  constexpr uint64_t kOnes = 0x0101010101010101ULL;
  uint64_t x = word ^ (kOnes * b);
  return (x - kOnes) & ~x & (kOnes << 7);
}

inline bool IsStop(char c) {
  return c == ';' || c == '\n' || c == '\r' || c == '\0';
}

// The first byte in [p, end) that ends a field, or `end`.
inline const char* FieldEnd(const char* p, const char* end) {
  while (end - p >= 8) {
    uint64_t word;
    std::memcpy(&word, p, 8);
    uint64_t stops = ByteIs(word, ';') | ByteIs(word, '\n') | ByteIs(word, '\r') | ByteIs(word, 0);
    if (stops)
      return p + __builtin_ctzll(stops) / 8;
    p += 8;
  }
  while (p < end && !IsStop(*p))
    ++p;
  return p;
}

}  // namespace fields
