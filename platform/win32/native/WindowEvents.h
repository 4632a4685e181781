// What a dialog window reports to its owner object. Every handler has a default that leaves the
// message to the window system.
#pragma once

#include <string>
#include <vector>

#include "platform/win32/native/NativeTypes.h"
#include "platform/win32/native/PaintSurface.h"

namespace native {

class WindowEvents {
 public:
  virtual ~WindowEvents() = default;
  // A command from a menu (code 0), an accelerator (code 1) or a control (its notification
  // code, and the control's window). IDOK and IDCANCEL also come from the dialog manager (Enter,
  // Escape, the close box), with no control.
  virtual bool OnCommand(int /*id*/, int /*code*/, Handle /*control*/) { return false; }
  // A system-menu command, low four bits included; false leaves it to the default handling.
  virtual bool OnSysCommand(unsigned /*command*/) { return false; }
  virtual void OnSize(unsigned /*type*/, int /*width*/, int /*height*/) {}
  virtual void OnMove() {}
  virtual void OnShow(bool /*shown*/) {}
  // False: the window paints itself as usual.
  virtual bool OnPaint(PaintSurface& /*surface*/) { return false; }
  // Files dropped on the window from the desktop, full paths in the order given.
  virtual void OnDropFiles(const std::vector<std::string>& /*files*/) {}
  // The context menu asked for in `window`, the dialog or one of its controls, at the screen
  // point (x, y), or from the keyboard (-1, -1); false leaves it to the default handling.
  virtual bool OnContextMenu(Handle /*window*/, int /*x*/, int /*y*/) { return false; }
  // The icon shown while the minimised window is dragged; null for the default.
  virtual Handle DragIcon() { return nullptr; }
};

}  // namespace native
