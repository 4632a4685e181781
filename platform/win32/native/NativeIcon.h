// An icon made from pixels, or loaded from the program's own resources.
#pragma once

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

  // False, with no icon, when the pixels do not make the square.
  bool Build(const IconPixels& pixels);
  // The icon resource `id` at `size` pixels.
  bool Load(int id, int size);
  Handle Get() const { return icon_; }

 private:
  void Release();

  Handle icon_ = nullptr;
};

}  // namespace native
