// Encodes pixels as a PNG file: 8-bit RGBA, no interlace, the image data deflated in stored
// (uncompressed) blocks, which every reader takes and which needs no compressor.
#pragma once

#include <cstdint>
#include <string>

#include "platform/IconBitmap.h"

// The whole file; empty for an empty bitmap.
std::string EncodePng(const IconBitmap& bitmap);

// The checksums the format uses, for any bytes.
uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0);
uint32_t Adler32(const uint8_t* data, size_t size);
