// Text comparisons that ignore the case of the ASCII letters A to Z only; every other byte,
// those from 0x80 up included, must match exactly.
#pragma once

#include <cstddef>

inline unsigned char FoldCase(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 0x20) : c;
}

// Whether the first n bytes of both are the same, folded; both hold at least n bytes.
bool SameIgnoringCase(const char* a, const char* b, size_t n);
