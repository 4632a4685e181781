#include "view/TextFold.h"

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
