#include "platform/win32/native/ModalLoop.h"

#include <windows.h>

namespace native {
namespace {
bool ForDialog(HWND dialog, HWND target) {
  return target == dialog || IsChild(dialog, target);
}
}  // namespace

bool ModalLoop::Run(Handle dialog, Handle owner, Handle accelerators, MessageFilter* filter) {
  HWND window = static_cast<HWND>(dialog);
  HWND ownerWindow = static_cast<HWND>(owner);
  if (!IsWindow(window))
    return false;
  running_ = true;
  ended_ = false;
  dialog_ = dialog;
  bool ownerWasEnabled = ownerWindow && !EnableWindow(ownerWindow, FALSE);
  bool ended = false;
  MSG msg;
  while (!ended_) {
    if (!IsWindow(window))
      break;
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1)
      break;
    if (got == 0) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    Message seen{msg.hwnd, msg.message, msg.wParam, msg.lParam, GetKeyState(VK_CONTROL) < 0};
    if (filter && filter->PreTranslate(seen))
      continue;
    if (accelerators && ForDialog(window, msg.hwnd) &&
        TranslateAcceleratorW(window, static_cast<HACCEL>(accelerators), &msg))
      continue;
    if (IsDialogMessageW(window, &msg))
      continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  ended = ended_;
  // The owner comes back before the dialog goes, so that the activation returns to it.
  if (ownerWasEnabled)
    EnableWindow(ownerWindow, TRUE);
  running_ = false;
  dialog_ = nullptr;
  return ended;
}

void ModalLoop::End(int result) {
  result_ = result;
  ended_ = true;
  // Wakes a loop that waits for a message, when the end comes from outside its messages.
  if (dialog_)
    PostMessageA(static_cast<HWND>(dialog_), WM_NULL, 0, 0);
}

}  // namespace native
