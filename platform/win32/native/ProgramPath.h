// The full path of the running program file, and the command line it was started with.
#pragma once

#include <string>

namespace native {

// Empty when the window system cannot tell it.
std::string ProgramPath();
// The whole command line, program name first, as the process was given it.
std::string CommandLine();

}  // namespace native
