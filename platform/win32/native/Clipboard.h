// The window system's clipboard, for text.
#pragma once

#include <string>

#include "platform/win32/native/NativeTypes.h"

namespace native {

class Clipboard {
 public:
  // Empties the clipboard and puts the text on it for `owner`, as the code page's bytes (CF_TEXT)
  // and as wide characters (CF_UNICODETEXT), with CR LF for each LF: `codePage` as it is, `utf8`
  // made wide. False when the clipboard cannot be had or holds nothing afterwards.
  static bool PutText(Handle owner, const std::string& codePage, const std::string& utf8);
};

}  // namespace native
