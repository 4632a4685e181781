#include "platform/qt/EightBitText.h"

#include <algorithm>

#include "platform/CellText.h"

namespace {
// The Windows-1252 bytes of `text`; false when a character has none.
bool ToWindows1252(const QString& text, std::string& bytes) {
  bytes.clear();
  for (QChar c : text) {
    char16_t u = c.unicode();
    if (u < 0x80) {
      bytes += static_cast<char>(u);
      continue;
    }
    bool found = false;
    for (unsigned b = 0x80; b <= 0xFF && !found; ++b) {
      found = Windows1252Char(static_cast<unsigned char>(b)) == u;
      if (found)
        bytes += static_cast<char>(b);
    }
    if (!found)
      return false;
  }
  return true;
}
}  // namespace

QString EightBitText::FromWindows1252(std::string_view bytes) {
  QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
  QChar* out = text.data();
  for (char c : bytes)
    *out++ = QChar(Windows1252Char(static_cast<unsigned char>(c)));
  return text;
}

QString EightBitText::Decode(std::string_view bytes) {
  auto size = static_cast<qsizetype>(bytes.size());
  switch (EncodingOfCell(bytes)) {
    case CellEncoding::Ascii:
      return QString::fromLatin1(bytes.data(), size);
    case CellEncoding::Utf8:
      return QString::fromUtf8(bytes.data(), size);
    case CellEncoding::Windows1252:
      break;
  }
  return FromWindows1252(bytes);
}

// The whole cell decides how it is shown, as it does where it is copied; only its head is decoded.
QString EightBitText::DecodeFirst(std::string_view bytes, size_t most) {
  if (bytes.size() <= most)
    return Decode(bytes);
  std::string_view head = bytes.substr(0, most);
  switch (EncodingOfCell(bytes)) {
    case CellEncoding::Ascii:
      return QString::fromLatin1(head.data(), static_cast<qsizetype>(head.size()));
    case CellEncoding::Utf8:
      // Cut before a character that the limit would split.
      head = bytes.substr(0, Utf8Boundary(bytes, most));
      return QString::fromUtf8(head.data(), static_cast<qsizetype>(head.size()));
    case CellEncoding::Windows1252:
      break;
  }
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
