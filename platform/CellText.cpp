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

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The character of the valid UTF-8 sequence of `length` bytes at the start of `s`.
char32_t DecodeSequence(std::string_view s, size_t length) {
  constexpr unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  char32_t c = static_cast<unsigned char>(s[0]) & kLeadBits[length];
  for (size_t i = 1; i < length; ++i)
    c = (c << 6) | (static_cast<unsigned char>(s[i]) & 0x3F);
  return c;
}

void AppendUtf16(std::u16string& out, char32_t c) {
  if (c < 0x10000) {
    out += static_cast<char16_t>(c);
    return;
  }
  c -= 0x10000;
  out += static_cast<char16_t>(0xD800 | (c >> 10));
  out += static_cast<char16_t>(0xDC00 | (c & 0x3FF));
}

// The Windows-1252 byte that shows `c`, or 0 when none does.
char Windows1252Byte(char32_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
    return static_cast<char>(c);
  for (unsigned b = 0x80; b < 0xA0; ++b) {
    if (kHighControls[b - 0x80] == c)
      return static_cast<char>(b);
  }
  return '\0';
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

std::u16string CellUtf16(std::string_view cell, size_t limit) {
  CellEncoding encoding = EncodingOfCell(cell);
  std::string_view shown =
      cell.substr(0, encoding == CellEncoding::Utf8 ? Utf8Boundary(cell, limit) : limit);
  std::u16string text;
  text.reserve(shown.size());
  if (encoding != CellEncoding::Utf8) {
    for (char c : shown)
      text += Windows1252Char(static_cast<unsigned char>(c));
    return text;
  }
  for (size_t i = 0; i < shown.size();) {
    size_t length = SequenceLength(shown.substr(i));
    AppendUtf16(text, DecodeSequence(shown.substr(i), length));
    i += length;
  }
  return text;
}

std::u16string CellsUtf16(std::string_view text) {
  std::u16string shown;
  shown.reserve(text.size());
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] != '\t' && text[i] != '\n')
      continue;
    std::string_view cell = text.substr(start, i - start);
    shown += CellUtf16(cell, cell.size());
    if (i < text.size())
      shown += static_cast<char16_t>(text[i]);
    start = i + 1;
  }
  return shown;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    char32_t c = text[i];
    bool high = c >= 0xD800 && c < 0xDC00;
    bool pairs = high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000;
    if (pairs) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    } else if (c >= 0xD800 && c < 0xE000) {
      c = 0xFFFD;
    }
    AppendUtf8(out, c);
  }
  return out;
}

bool Utf8ToWindows1252(std::string_view utf8, std::string& bytes) {
  bytes.clear();
  for (size_t i = 0; i < utf8.size();) {
    size_t length = SequenceLength(utf8.substr(i));
    if (length == 0)
      return false;
    char32_t c = DecodeSequence(utf8.substr(i), length);
    char byte = Windows1252Byte(c);
    if (byte == '\0' && c != 0)
      return false;
    bytes += byte;
    i += length;
  }
  return true;
}
