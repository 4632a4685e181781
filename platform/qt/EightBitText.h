// Text as the program holds it, bytes of an 8-bit code page, as Qt's strings: each text is shown
// as its cell would be (platform/CellText.h), UTF-8 when its bytes form valid UTF-8 and
// Windows-1252 otherwise.
#pragma once

#include <QString>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/CellText.h"

class EightBitText {
 public:
  // Longest text that is decoded for showing.
  static constexpr size_t kShownBytes = kShownCellBytes;

  static QString Decode(std::string_view bytes);
  // The first kShownBytes bytes at most, cut at a character boundary when they are UTF-8; shown
  // as the whole text would be.
  static QString DecodeShown(std::string_view bytes) { return DecodeFirst(bytes, kShownBytes); }
  // The same for the first `most` bytes.
  static QString DecodeFirst(std::string_view bytes, size_t most);
  static QString Decode(const std::string& bytes) { return Decode(std::string_view(bytes)); }

  // What the user typed, as the bytes the program compares with the file: UTF-8, composed.
  static std::string Encode(const QString& text);
  // Every text of bytes that shows the characters typed (platform/TypedText.h).
  static std::vector<std::string> TypedForms(const QString& text);

  static QString FromWindows1252(std::string_view bytes);
};
