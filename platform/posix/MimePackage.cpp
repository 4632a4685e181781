#include "platform/posix/MimePackage.h"

#include "platform/posix/Utf8.h"

namespace {

// The description's 8-bit text as XML character data in UTF-8. Bytes that do not read as UTF-8
// are taken as Latin-1; control characters, which XML cannot hold, are dropped.
std::string XmlText(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '&' || c == '<' || c == '>' || c == '"') {
      out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : "&quot;";
    } else if (c < 0x20 || c == 0x7F) {
      continue;
    } else if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      size_t length = Utf8SequenceLength(text, i);
      if (length > 0) {
        out.append(text, i, length);
        i += length - 1;
      } else {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
      }
    }
  }
  return out;
}

}  // namespace

std::string MimePackageText(const std::vector<DesktopFileType>& types,
                            const std::string& iconName) {
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
  for (const DesktopFileType& type : types) {
    // The extension and the MIME type hold only letters, digits and "+-._".
    out += "  <mime-type type=\"" + type.mimeType + "\">\n";
    out += "    <comment>" + XmlText(type.description) + "</comment>\n";
    if (type.icon && !iconName.empty())
      out += "    <icon name=\"" + iconName + "\"/>\n";
    out += "    <glob pattern=\"*." + type.extension + "\"/>\n";
    out += "  </mime-type>\n";
  }
  return out + "</mime-info>\n";
}
