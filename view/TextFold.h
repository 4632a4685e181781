// Text comparisons that ignore the case of the ASCII letters A to Z only; every other byte,
// those from 0x80 up included, must match exactly.
#pragma once

#include <cstddef>

inline unsigned char FoldCase(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 0x20) : c;
}

// The order of the folded texts, up to the first difference or NUL: <0, 0 or >0.
int CompareIgnoringCase(const char* a, const char* b);
// The same over at most n bytes.
int CompareIgnoringCase(const char* a, const char* b, size_t n);
