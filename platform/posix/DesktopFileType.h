// A file type as the desktop's files describe it, taken from the file-type keys.
#pragma once

#include <string>

#include "platform/Resources.h"

struct DesktopFileType {
  std::string extension;  // without the dot, as its key names it
  std::string mimeType;
  std::string description;
  const Icon* icon = nullptr;  // null: the type has no icon
  std::string program;         // the program that opens files of the type; empty: none does
};

// "application/x-" and the extension in lower case; empty for an extension that cannot be part of
// a MIME type name (it may hold only letters, digits, '+', '-', '.' and '_').
std::string MimeTypeOfExtension(const std::string& extension);
