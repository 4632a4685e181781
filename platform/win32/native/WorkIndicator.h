// What a window shows of long work that runs on the user-interface thread: a progress bar over one
// of its controls and the progress of its task bar button. Between the work's reports the window
// is drawn where it needs to be, without the controls that the work may be changing.
#pragma once

#include "platform/win32/native/NativeTypes.h"

namespace native {

class WorkIndicator {
 public:
  WorkIndicator() = default;
  ~WorkIndicator();
  WorkIndicator(const WorkIndicator&) = delete;
  WorkIndicator& operator=(const WorkIndicator&) = delete;

  // Shows `filled` out of `full` in a bar across the middle of `over`, a control of `window`, and
  // on the window's task bar button; a negative fill takes both away.
  void Show(Handle window, Handle over, int filled, int full);
  // Draws what waits to be drawn in `window`: with its controls, or only the window itself and the
  // bar. Meanwhile the system sees the program take its messages, which wait in the queue.
  void DrawPending(Handle window, bool withControls);

 private:
  void Hide();

  Handle window_ = nullptr;
  Handle bar_ = nullptr;
  void* taskbar_ = nullptr;  // ITaskbarList3, once made
};

}  // namespace native
