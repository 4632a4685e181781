// An icon resource as plain pixels, for files that other programs read (PNG now; an .ico would
// start from the same pixels).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/Resources.h"

struct IconBitmap {
  int size = 0;
  // size * size pixels, row by row from the top, each as the bytes red, green, blue, alpha.
  std::vector<uint8_t> rgba;
};

// The icon at `size` pixels: its image of that size, or else its largest image scaled by nearest
// neighbour. An empty bitmap when the icon is null or has no image.
IconBitmap RenderIconBitmap(const Icon* icon, int size);
