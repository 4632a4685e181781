// Pixel rows of the tests' icon, also compiled into the test program's resources.
#pragma once

#include <cstdint>

constexpr int kTestIconId = 128;
extern const char* const kTestIcon32[32];
extern const char* const kTestIcon16[16];
extern const uint32_t kTestPalette[16];
