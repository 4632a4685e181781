// A pop-up menu that the window system shows until the user picks an item or leaves it.
#pragma once

#include <vector>

#include "platform/win32/native/NativeTypes.h"

namespace native {

class PopupMenu {
 public:
  // Shows the entries for `owner` at the screen point (x, y), or, when both are -1, where the
  // keyboard focus is: at the focused item of a focused list, else at the focused window. The
  // command picked, or 0.
  static unsigned Track(Handle owner, const std::vector<PopupEntry>& entries, int x, int y);
};

}  // namespace native
