// Text comparisons that ignore the case of the ASCII letters A to Z only; every other byte,
// those from 0x80 up included, must match exactly.
#pragma once

#include <cstddef>
#include <string_view>

inline unsigned char FoldCase(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c + 0x20) : c;
}

// The order of the folded texts, as of unsigned bytes, a text before any longer one that it
// begins: <0, 0 or >0.
int CompareIgnoringCase(std::string_view a, std::string_view b);
// Whether the first n bytes of both are the same, folded; both hold at least n bytes.
bool SameIgnoringCase(const char* a, const char* b, size_t n);
// Whether the folded text holds the folded match.
bool ContainsIgnoringCase(std::string_view text, std::string_view match);
