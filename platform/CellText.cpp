#include "platform/CellText.h"

namespace {
// Windows-1252 differs from Latin-1 only in 0x80-0x9F.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool IsContinuation(unsigned char c) {
  return (c & 0xC0) == 0x80;
}

// The length of the valid UTF-8 sequence at the start of `s`, or 0 when it is not one.
size_t SequenceLength(std::string_view s) {
  auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
  unsigned char lead = byte(0);
  if (lead < 0x80)
    return 1;
  size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
  if (length == 0 || lead > 0xF4 || lead == 0xC0 || lead == 0xC1 || s.size() < length)
    return 0;
  for (size_t i = 1; i < length; ++i) {
    if (!IsContinuation(byte(i)))
      return 0;
  }
  unsigned char second = byte(1);
  if (lead == 0xE0 && second < 0xA0)
    return 0;  // overlong
  if (lead == 0xED && second >= 0xA0)
    return 0;  // surrogate
  if (lead == 0xF0 && second < 0x90)
    return 0;  // overlong
  if (lead == 0xF4 && second >= 0x90)
    return 0;  // above U+10FFFF
  return length;
}

void AppendUtf8(std::string& out, char16_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}
}  // namespace

bool IsValidUtf8(std::string_view bytes) {
  size_t i = 0;
  while (i < bytes.size()) {
    if (static_cast<unsigned char>(bytes[i]) < 0x80) {
      ++i;
      continue;
    }
    size_t length = SequenceLength(bytes.substr(i));
    if (length == 0)
      return false;
    i += length;
  }
  return true;
}

size_t Utf8Boundary(std::string_view bytes, size_t limit) {
  if (limit >= bytes.size())
    return bytes.size();
  size_t n = limit;
  while (n > 0 && IsContinuation(static_cast<unsigned char>(bytes[n])))
    --n;
  return n;
}

CellEncoding EncodingOfCell(std::string_view bytes) {
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80)
      return IsValidUtf8(bytes) ? CellEncoding::Utf8 : CellEncoding::Windows1252;
  }
  return CellEncoding::Ascii;
}

char16_t Windows1252Char(unsigned char byte) {
  return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : char16_t{byte};
}

void AppendCellUtf8(std::string& out, std::string_view cell) {
  if (EncodingOfCell(cell) != CellEncoding::Windows1252) {
    out.append(cell);
    return;
  }
  for (char c : cell)
    AppendUtf8(out, Windows1252Char(static_cast<unsigned char>(c)));
}
