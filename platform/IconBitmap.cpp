#include "platform/IconBitmap.h"

#include <cstring>

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  return -1;
}

const IconImage* SourceImage(const Icon* icon, int size) {
  const IconImage* largest = nullptr;
  for (const IconImage& image : icon->images) {
    if (image.size == size)
      return &image;
    if (image.size > 0 && (!largest || image.size > largest->size))
      largest = &image;
  }
  return largest;
}

}  // namespace

IconBitmap RenderIconBitmap(const Icon* icon, int size) {
  IconBitmap bitmap;
  const IconImage* image = icon && size > 0 ? SourceImage(icon, size) : nullptr;
  if (!image)
    return bitmap;
  bitmap.size = size;
  bitmap.rgba.assign(static_cast<size_t>(size) * size * 4, 0);
  for (int y = 0; y < size; ++y) {
    size_t sourceY = static_cast<size_t>(y) * image->size / size;
    if (sourceY >= image->rows.size())
      continue;
    const char* row = image->rows[sourceY];
    // A short or damaged row leaves the rest transparent rather than reading past it.
    size_t length = std::strlen(row);
    for (int x = 0; x < size; ++x) {
      size_t sourceX = static_cast<size_t>(x) * image->size / size;
      int index = sourceX < length ? HexDigit(row[sourceX]) : -1;
      if (index < 0)
        continue;
      DWORD rgb = kIconPalette[index];
      uint8_t* pixel = &bitmap.rgba[(static_cast<size_t>(y) * size + x) * 4];
      pixel[0] = static_cast<uint8_t>(rgb >> 16);
      pixel[1] = static_cast<uint8_t>(rgb >> 8);
      pixel[2] = static_cast<uint8_t>(rgb);
      pixel[3] = 0xFF;
    }
  }
  return bitmap;
}
