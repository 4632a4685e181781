#include "platform/win32/native/DialogControls.h"

#include <windows.h>

namespace native {

ControlWindow DialogControls::Of(int id) const {
  return ControlWindow(dialog_ ? GetDlgItem(static_cast<HWND>(dialog_), id) : nullptr);
}

}  // namespace native
