#include "platform/FullPath.h"

#include <cstring>

DWORD GetFullPathNameA(const char* fileName, DWORD size, char* buffer, char** filePart) {
  if (!fileName || !*fileName)
    return 0;
  std::string full = SystemFullPath(fileName);
  if (full.empty())
    return 0;
  auto length = static_cast<DWORD>(full.size());
  if (!buffer || length >= size)
    return length + 1;
  std::memcpy(buffer, full.c_str(), full.size() + 1);
  if (filePart) {
    size_t slash = full.find_last_of("/\\");
    *filePart = buffer + (slash == std::string::npos ? 0 : slash + 1);
  }
  return length;
}
