#include "platform/win32/native/NativeIcon.h"

#include <windows.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace native {

NativeIcon::~NativeIcon() {
  Release();
}

NativeIcon::NativeIcon(NativeIcon&& other) noexcept : icon_(std::exchange(other.icon_, nullptr)) {}

NativeIcon& NativeIcon::operator=(NativeIcon&& other) noexcept {
  if (this != &other) {
    Release();
    icon_ = std::exchange(other.icon_, nullptr);
  }
  return *this;
}

void NativeIcon::Release() {
  if (icon_)
    DestroyIcon(static_cast<HICON>(icon_));
  icon_ = nullptr;
}

bool NativeIcon::Build(const IconPixels& pixels) {
  Release();
  const int size = pixels.size;
  if (size <= 0 || pixels.rgba.size() != static_cast<size_t>(size) * static_cast<size_t>(size) * 4)
    return false;
  // Colour as top-down 32-bit pixels whose alpha is zero, so that the mask decides transparency.
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP colour = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!colour)
    return false;
  auto* out = static_cast<uint32_t*>(bits);
  // The mask: one bit a pixel, set where transparent, rows padded to 16 bits.
  const size_t maskStride = static_cast<size_t>((size + 15) / 16 * 2);
  std::vector<uint8_t> mask(maskStride * static_cast<size_t>(size), 0);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      size_t at = static_cast<size_t>(y) * static_cast<size_t>(size) + static_cast<size_t>(x);
      const uint8_t* pixel = &pixels.rgba[at * 4];
      if (pixel[3] == 0) {
        out[at] = 0;
        mask[static_cast<size_t>(y) * maskStride + static_cast<size_t>(x / 8)] |=
            static_cast<uint8_t>(0x80 >> (x % 8));
      } else {
        // 0x00RRGGBB is BGRA in memory.
        out[at] = uint32_t{pixel[0]} << 16 | uint32_t{pixel[1]} << 8 | pixel[2];
      }
    }
  }
  GdiFlush();
  HBITMAP maskBitmap = CreateBitmap(size, size, 1, 1, mask.data());
  if (!maskBitmap) {
    DeleteObject(colour);
    return false;
  }
  ICONINFO parts{TRUE, 0, 0, maskBitmap, colour};
  icon_ = CreateIconIndirect(&parts);
  DeleteObject(maskBitmap);
  DeleteObject(colour);
  return icon_ != nullptr;
}

bool NativeIcon::Load(int id, int size) {
  Release();
  icon_ = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size,
                     LR_DEFAULTCOLOR);
  return icon_ != nullptr;
}

}  // namespace native
