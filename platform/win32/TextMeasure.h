// Measures texts as the program's list shows them: in the font of the real list, once there is
// one.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/win32/native/NativeTypes.h"

class TextMeasure {
 public:
  // Texts are measured in the font of this list from now on; null for the system's font.
  void MeasureWith(native::Handle list) {
    list_ = list;
    byteAdvances_.clear();
  }

  // In pixels.
  int TextWidth(const char* text, size_t length) const;
  // The most that this byte adds to a text's width, in pixels.
  int ByteAdvance(unsigned char byte);

 private:
  native::Handle list_ = nullptr;
  std::vector<int> byteAdvances_;  // measured once, on first use
};
