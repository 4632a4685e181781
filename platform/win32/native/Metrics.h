// Measures of the screen, of window frames and of text, as the window system gives them.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win32/native/NativeTypes.h"

namespace native {

class Metrics {
 public:
  static int SystemMetric(int index);
  // The part of the primary screen that windows are maximized to.
  static Rect WorkArea();
  // How far the frame, the caption and a menu bar of a top-level window with these styles reach
  // beyond its client area on each side.
  static Rect FrameInsets(uint32_t style, uint32_t exStyle, bool hasMenu);
  // Width in pixels of a text in the font of `window`, or in the default font of the user
  // interface when `window` is null.
  static int TextWidth(Handle window, const std::u16string& text);
};

}  // namespace native
