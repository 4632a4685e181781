#include "platform/Accelerators.h"

#include "platform/Backend.h"
#include "platform/Wnd.h"

BOOL TranslateAccelerator(CWnd* window, HACCEL table, const MSG* msg) {
  if (!window || !table || msg->message != WM_KEYDOWN)
    return FALSE;
  if (int native = CurrentBackend().TranslateAccelerator(*window, table, *msg); native >= 0)
    return native;
  for (const ACCEL& entry : table->entries) {
    // A modifier that the entry names must be down, and one that it does not name must be up.
    bool wantsCtrl = (entry.fVirt & FCONTROL) != 0;
    bool wantsShift = (entry.fVirt & FSHIFT) != 0;
    bool wantsAlt = (entry.fVirt & FALT) != 0;
    if (entry.key != msg->wParam || wantsCtrl != msg->ctrl || wantsShift != msg->shift ||
        wantsAlt != msg->alt) {
      continue;
    }
    window->SendMessage(WM_COMMAND, MAKEWPARAM(entry.cmd, NOTIFY_ACCELERATOR), 0);
    return TRUE;
  }
  return FALSE;
}
