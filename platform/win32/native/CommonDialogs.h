// The window system's own dialogs: the message box and the file-open dialog.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/win32/native/NativeTypes.h"

namespace native {

struct OpenFileRequest {
  Handle owner = nullptr;
  // (description, pattern) pairs; the first is chosen at the start.
  std::vector<std::pair<std::string, std::string>> filters;
  // A folder to start in. A path that names a file starts in the file's folder.
  std::string initialDir;
  unsigned flags = 0;  // OFN_* bits
};

class CommonDialogs {
 public:
  // `type` holds the MB_* bits; the result is the button pressed (IDOK ...), 0 on failure.
  static int ShowMessage(Handle owner, const std::string& text, const std::string& caption,
                         unsigned type);
  // True with the chosen file's full path; false when cancelled or failed.
  static bool AskFileToOpen(const OpenFileRequest& request, std::string* path);
};

}  // namespace native
