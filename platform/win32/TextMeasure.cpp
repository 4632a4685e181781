#include "platform/win32/TextMeasure.h"

#include <algorithm>
#include <string>

#include "platform/win32/native/Metrics.h"

int TextMeasure::TextWidth(const char* text, size_t length) const {
  return native::Metrics::TextWidth(list_, std::string(text, length));
}

// The code page's characters are one byte each; a byte's own width bounds what it adds. A byte
// that is no character on its own, NUL or a lead byte, gets the widest of them all.
int TextMeasure::ByteAdvance(unsigned char byte) {
  if (byteAdvances_.empty()) {
    byteAdvances_.assign(256, 0);
    int widest = 0;
    for (int b = 1; b < 256; ++b) {
      char c = static_cast<char>(b);
      byteAdvances_[static_cast<size_t>(b)] = TextWidth(&c, 1);
      widest = std::max(widest, byteAdvances_[static_cast<size_t>(b)]);
    }
    for (int& advance : byteAdvances_) {
      if (advance <= 0)
        advance = widest;
    }
  }
  return byteAdvances_[byte];
}
