#include "platform/posix/DesktopFileType.h"

std::string MimeTypeOfExtension(const std::string& extension) {
  if (extension.empty())
    return std::string();
  std::string type = "application/x-";
  for (char c : extension) {
    bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    bool digit = c >= '0' && c <= '9';
    if (!letter && !digit && c != '+' && c != '-' && c != '.' && c != '_')
      return std::string();
    type += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return type;
}
