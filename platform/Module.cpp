#include "platform/Module.h"

#include <cstring>

namespace {
std::string standIn;
}  // namespace

DWORD GetModuleFileNameA(HMODULE module, char* buffer, DWORD size) {
  if (module || !buffer || size == 0)
    return 0;
  std::string path = standIn.empty() ? SystemProgramFile() : standIn;
  if (path.empty())
    return 0;
  if (path.size() < size) {
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return static_cast<DWORD>(path.size());
  }
  std::memcpy(buffer, path.data(), size - 1);
  buffer[size - 1] = '\0';
  return size;
}

void SetModuleFileName(const std::string& path) {
  standIn = path;
}
