// The hourglass shown while the program works. Nested Begin/End pairs count; the shim's windows
// keep showing it over their client areas until the last End.
#pragma once

namespace native {

class WaitCursor {
 public:
  static void Begin();
  static void End();
  static bool Active();
  // Sets the cursor a window shows now, as WM_SETCURSOR asks: true when the wait cursor was set.
  static bool Apply();
};

}  // namespace native
