// An icon made from rows of 16-colour pixels, or loaded from the program's own resources.
#pragma once

#include <cstdint>
#include <span>

#include "platform/win32/native/NativeTypes.h"

namespace native {

class NativeIcon {
 public:
  NativeIcon() = default;
  ~NativeIcon();
  NativeIcon(NativeIcon&& other) noexcept;
  NativeIcon& operator=(NativeIcon&& other) noexcept;
  NativeIcon(const NativeIcon&) = delete;
  NativeIcon& operator=(const NativeIcon&) = delete;

  // `palette` holds 0xRRGGBB colours. False, with no icon, when a row is missing, has another
  // length or holds a character that is neither a hex digit nor '.'.
  bool Build(const IconPixels& pixels, std::span<const uint32_t, 16> palette);
  // The icon resource `id` at `size` pixels.
  bool Load(int id, int size);
  Handle Get() const { return icon_; }

 private:
  void Release();

  Handle icon_ = nullptr;
};

}  // namespace native
