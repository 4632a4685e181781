// Text as the program holds it, bytes of an 8-bit code page, as Qt's strings: each text is shown
// as its cell would be (platform/CellText.h), UTF-8 when its bytes form valid UTF-8 and
// Windows-1252 otherwise.
#pragma once

#include <QString>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class EightBitText {
 public:
  // Longest text that is decoded for showing. A list cell can hold a whole megabyte-long line;
  // nobody reads that in a cell, and decoding it on every paint would stall scrolling.
  static constexpr size_t kShownBytes = 1024;

  static QString Decode(std::string_view bytes);
  // The first kShownBytes bytes at most, cut at a character boundary when they are UTF-8; shown
  // as the whole text would be.
  static QString DecodeShown(std::string_view bytes) { return DecodeFirst(bytes, kShownBytes); }
  // The same for the first `most` bytes.
  static QString DecodeFirst(std::string_view bytes, size_t most);
  static QString Decode(const std::string& bytes) { return Decode(std::string_view(bytes)); }

  // What the user typed, as the bytes the program compares with the file: UTF-8, composed.
  static std::string Encode(const QString& text);
  // Every text of bytes that shows the characters typed: Encode's first, then the decomposed
  // UTF-8 form and the Windows-1252 form where they differ from it.
  static std::vector<std::string> TypedForms(const QString& text);

  static QString FromWindows1252(std::string_view bytes);
};
