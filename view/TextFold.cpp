#include "view/TextFold.h"

#include <algorithm>

int CompareIgnoringCase(std::string_view a, std::string_view b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    int d = FoldCase(static_cast<unsigned char>(a[i])) - FoldCase(static_cast<unsigned char>(b[i]));
    if (d != 0)
      return d;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

bool SameIgnoringCase(const char* a, const char* b, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    if (FoldCase(static_cast<unsigned char>(a[i])) != FoldCase(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

bool ContainsIgnoringCase(std::string_view text, std::string_view match) {
  size_t n = match.size();
  if (n == 0)
    return true;
  unsigned char first = FoldCase(static_cast<unsigned char>(match[0]));
  for (size_t at = 0; at + n <= text.size(); ++at) {
    if (FoldCase(static_cast<unsigned char>(text[at])) == first &&
        SameIgnoringCase(text.data() + at, match.data(), n)) {
      return true;
    }
  }
  return false;
}
