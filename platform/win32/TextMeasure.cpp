#include "platform/win32/TextMeasure.h"

#include <algorithm>
#include <string>

#include "platform/CellText.h"
#include "platform/win32/native/Metrics.h"

int TextMeasure::TextWidth(const char* text, size_t length) const {
  return native::Metrics::TextWidth(list_, CellUtf16(std::string_view(text, length)));
}

// A printable ASCII byte is its own character in every cell, and bounds what it adds by its own
// width. Any other byte may be a Windows-1252 letter or part of a UTF-8 one, which is at most as
// wide as two to four of the widest Windows-1252 letters; so it gets the widest of them all.
int TextMeasure::ByteAdvance(unsigned char byte) {
  if (byteAdvances_.empty()) {
    byteAdvances_.assign(256, 0);
    int widest = 0;
    for (int b = 1; b < 256; ++b) {
      std::u16string letter(1, Windows1252Char(static_cast<unsigned char>(b)));
      int width = native::Metrics::TextWidth(list_, letter);
      widest = std::max(widest, width);
      if (b >= 0x20 && b < 0x7F)
        byteAdvances_[static_cast<size_t>(b)] = width;
    }
    for (int& advance : byteAdvances_) {
      if (advance <= 0)
        advance = widest;
    }
  }
  return byteAdvances_[byte];
}
