#include "platform/qt/EightBitText.h"

#include "platform/CellText.h"
#include "platform/TypedText.h"

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
  return ::TypedForms(Encode(text), text.normalized(QString::NormalizationForm_D).toStdString());
}
