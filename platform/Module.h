// The running program's own file, as GetModuleFileNameA reports it.
#pragma once

#include <string>

#include "platform/Win32.h"

using HMODULE = void*;

// Puts the full path of the program's file (module null; there are no other modules) into
// `buffer`, ended by a NUL. Returns the path's length without the NUL when the path fits. When it
// does not, the buffer holds the first size - 1 bytes and a NUL, and the result is `size`: a
// result equal to `size` means the path was cut. Returns 0 when there is no path to give (another
// module, no buffer, size 0).
DWORD GetModuleFileNameA(HMODULE module, char* buffer, DWORD size);

// Makes GetModuleFileNameA report `path`, for a program run inside another one (the script driver,
// tests); the empty path goes back to the real file.
void SetModuleFileName(const std::string& path);

// The running program's file as the system names it, or "" when it cannot say: one definition for
// each system, beside its backend.
std::string SystemProgramFile();
