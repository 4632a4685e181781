// A file name made into a full path, as the system makes it from the working folder.
#pragma once

#include <string>

#include "platform/Win32.h"

// Puts the full path of `fileName` into `buffer`, ended by a NUL, and returns its length without
// the NUL. When it does not fit in `size` bytes, returns the size needed, NUL included, and
// leaves the buffer alone. Returns 0 when the name cannot be made into a path (null or empty).
// With `filePart` given, it points at the last name of the path in the buffer.
DWORD GetFullPathNameA(const char* fileName, DWORD size, char* buffer, char** filePart);

// The full path as the system makes it, or "" when it cannot: one definition for each system,
// beside its backend.
std::string SystemFullPath(const char* fileName);
