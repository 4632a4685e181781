// The window system's own dialogs: the message box and the file-open and file-save dialogs.
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
  // Given to a name typed without one; empty for none.
  std::string defaultExtension;
};

class CommonDialogs {
 public:
  // `type` holds the MB_* bits; the result is the button pressed (IDOK ...), 0 on failure.
  static int ShowMessage(Handle owner, const std::string& text, const std::string& caption,
                         unsigned type);
  // True with the chosen file's full path; false when cancelled or failed.
  static bool AskFileToOpen(const OpenFileRequest& request, std::string* path);
  // The same for a file to save to; with OFN_OVERWRITEPROMPT the dialog asks before it takes a
  // file that exists.
  static bool AskFileToSave(const OpenFileRequest& request, std::string* path);

 private:
  static bool AskFile(const OpenFileRequest& request, bool save, std::string* path);
};

}  // namespace native
