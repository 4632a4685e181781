#include "platform/posix/Utf8.h"

size_t Utf8SequenceLength(const std::string& text, size_t i) {
  auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  unsigned char lead = byte(i);
  size_t length = lead < 0x80           ? 1
                  : (lead >> 5) == 0x6  ? 2
                  : (lead >> 4) == 0xE  ? 3
                  : (lead >> 3) == 0x1E ? 4
                                        : 0;
  if (length == 0 || i + length > text.size())
    return 0;
  for (size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80)
      return 0;
  }
  // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
  unsigned char second = length > 1 ? byte(i + 1) : 0;
  if ((length == 2 && lead < 0xC2) || (length == 3 && lead == 0xE0 && second < 0xA0) ||
      (length == 3 && lead == 0xED && second >= 0xA0) ||
      (length == 4 && lead == 0xF0 && second < 0x90) ||
      (length == 4 && (lead > 0xF4 || (lead == 0xF4 && second >= 0x90)))) {
    return 0;
  }
  return length;
}
