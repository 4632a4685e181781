#include "platform/win32/native/ProgramPath.h"

#include <windows.h>

#include <vector>

namespace native {

std::string ProgramPath() {
  // A path that fills the buffer may have been cut short, whatever the error code says (older
  // systems report success): try again with more room.
  for (DWORD size = MAX_PATH; size <= 32768 * 2; size *= 2) {
    std::vector<char> buffer(size);
    DWORD length = GetModuleFileNameA(nullptr, buffer.data(), size);
    if (length == 0)
      return std::string();
    if (length < size)
      return std::string(buffer.data(), length);
  }
  return std::string();
}

std::string CommandLine() {
  const char* line = GetCommandLineA();
  return line ? std::string(line) : std::string();
}

}  // namespace native
