#include "platform/qt/EightBitText.h"

#include <algorithm>
#include <iterator>

namespace {
// Windows-1252 differs from Latin-1 only in 0x80-0x9F. The five bytes that it leaves undefined
// map to the C1 control of the same value, as Windows itself maps them.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

bool IsAscii(std::string_view bytes) {
  for (char c : bytes) {
    if (static_cast<unsigned char>(c) >= 0x80)
      return false;
  }
  return true;
}

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

// The Windows-1252 bytes of `text`; false when a character has none.
bool ToWindows1252(const QString& text, std::string& bytes) {
  bytes.clear();
  for (QChar c : text) {
    char16_t u = c.unicode();
    const char16_t* high = std::find(std::begin(kHighControls), std::end(kHighControls), u);
    if (high != std::end(kHighControls)) {
      bytes += static_cast<char>(0x80 + (high - std::begin(kHighControls)));
    } else if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
      bytes += static_cast<char>(u);
    } else {
      return false;
    }
  }
  return true;
}
}  // namespace

bool EightBitText::IsValidUtf8(std::string_view bytes) {
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

size_t EightBitText::Utf8Boundary(std::string_view bytes, size_t limit) {
  if (limit >= bytes.size())
    return bytes.size();
  size_t n = limit;
  while (n > 0 && IsContinuation(static_cast<unsigned char>(bytes[n])))
    --n;
  return n;
}

QString EightBitText::FromWindows1252(std::string_view bytes) {
  QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
  QChar* out = text.data();
  for (char c : bytes) {
    auto b = static_cast<unsigned char>(c);
    *out++ = (b >= 0x80 && b < 0xA0) ? QChar(kHighControls[b - 0x80]) : QChar(b);
  }
  return text;
}

QString EightBitText::Decode(std::string_view bytes) {
  auto size = static_cast<qsizetype>(bytes.size());
  if (IsAscii(bytes))
    return QString::fromLatin1(bytes.data(), size);
  if (IsValidUtf8(bytes))
    return QString::fromUtf8(bytes.data(), size);
  return FromWindows1252(bytes);
}

QString EightBitText::DecodeFirst(std::string_view bytes, size_t most) {
  if (bytes.size() <= most)
    return Decode(bytes);
  std::string_view head = bytes.substr(0, most);
  size_t cut = Utf8Boundary(bytes, most);
  // A cut that lands inside a character would make valid UTF-8 look invalid; cut before it.
  if (cut > 0 && IsValidUtf8(bytes.substr(0, cut)))
    return Decode(bytes.substr(0, cut));
  return FromWindows1252(head);
}

std::string EightBitText::Encode(const QString& text) {
  return text.normalized(QString::NormalizationForm_C).toStdString();
}

std::vector<std::string> EightBitText::TypedForms(const QString& text) {
  std::vector<std::string> forms{Encode(text)};
  auto add = [&forms](const std::string& form) {
    if (std::find(forms.begin(), forms.end(), form) == forms.end())
      forms.push_back(form);
  };
  add(text.normalized(QString::NormalizationForm_D).toStdString());
  std::string eightBit;
  if (ToWindows1252(text.normalized(QString::NormalizationForm_C), eightBit))
    add(eightBit);
  return forms;
}
