// The full path of the running program file.
#pragma once

#include <string>

namespace native {

// Empty when the window system cannot tell it.
std::string ProgramPath();

}  // namespace native
