#include "platform/FullPath.h"
#include "platform/win32/native/ShellChange.h"

std::string SystemFullPath(const char* fileName) {
  return native::FullPathName(fileName);
}
