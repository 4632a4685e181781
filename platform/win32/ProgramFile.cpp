#include "platform/Module.h"
#include "platform/win32/native/ProgramPath.h"

std::string SystemProgramFile() {
  return native::ProgramPath();
}
