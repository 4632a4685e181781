#include "platform/Module.h"

#include <unistd.h>

#include <cstring>

namespace {

std::string standIn;

std::string ProgramFile() {
  if (!standIn.empty())
    return standIn;
  std::string path(256, '\0');
  while (true) {
    ssize_t n = readlink("/proc/self/exe", path.data(), path.size());
    if (n < 0)
      return std::string();
    if (static_cast<size_t>(n) < path.size()) {
      path.resize(static_cast<size_t>(n));
      return path;
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace

DWORD GetModuleFileNameA(HMODULE module, char* buffer, DWORD size) {
  if (module || !buffer || size == 0)
    return 0;
  std::string path = ProgramFile();
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
