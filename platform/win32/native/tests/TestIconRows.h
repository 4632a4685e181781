// Pixel rows of the tests' icon, also compiled into the test program's resources.
#pragma once

#include <cstdint>

#include "platform/win32/native/NativeTypes.h"

constexpr int kTestIconId = 128;
extern const char* const kTestIcon32[32];
extern const char* const kTestIcon16[16];
extern const uint32_t kTestPalette[16];

// The rows of `size` (32 or 16) as the pixels that the shim takes, in the tests' palette.
native::IconPixels TestIconPixels(int size);
