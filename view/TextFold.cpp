#include "view/TextFold.h"

#include <cstring>

int CompareIgnoringCase(const char* a, const char* b) {
  return CompareIgnoringCase(a, b, static_cast<size_t>(-1));
}

int CompareIgnoringCase(const char* a, const char* b, size_t n) {
  const auto* x = reinterpret_cast<const unsigned char*>(a);
  const auto* y = reinterpret_cast<const unsigned char*>(b);
  for (size_t i = 0; i < n; ++i) {
    int d = FoldCase(x[i]) - FoldCase(y[i]);
    if (d != 0 || x[i] == 0)
      return d;
  }
  return 0;
}

bool ContainsIgnoringCase(const char* text, const char* match) {
  size_t n = std::strlen(match);
  if (n == 0)
    return true;
  unsigned char first = FoldCase(static_cast<unsigned char>(match[0]));
  for (const char* p = text; *p; ++p) {
    if (FoldCase(static_cast<unsigned char>(*p)) == first &&
        CompareIgnoringCase(p, match, n) == 0) {
      return true;
    }
  }
  return false;
}
