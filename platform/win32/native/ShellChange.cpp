#include "platform/win32/native/ShellChange.h"

#include <shlobj.h>
#include <windows.h>

namespace native {

void NotifyAssociationsChanged() {
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

void AddToRecentDocuments(const char* path) {
  SHAddToRecentDocs(SHARD_PATHA, path);
}

std::string FullPathName(const char* name) {
  DWORD length = GetFullPathNameA(name, 0, nullptr, nullptr);
  if (length == 0)
    return std::string();
  std::string full(length, '\0');
  length = GetFullPathNameA(name, length, full.data(), nullptr);
  if (length == 0 || length >= full.size())
    return std::string();
  full.resize(length);
  return full;
}

}  // namespace native
