#include "platform/qt/VirtualKey.h"

UINT VirtualKey::FromQtKey(int key) {
  // Letters and digits have the same codes in both: the upper-case ASCII character.
  if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
    return static_cast<UINT>(key);
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
    return kF1 + static_cast<UINT>(key - Qt::Key_F1);
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return VK_RETURN;
    case Qt::Key_Escape:
      return VK_ESCAPE;
    case Qt::Key_Control:
      return VK_CONTROL;
    case Qt::Key_Shift:
      return kShift;
    case Qt::Key_Alt:
      return kMenu;
    case Qt::Key_Backspace:
      return kBack;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return kTab;
    case Qt::Key_Space:
      return kSpace;
    case Qt::Key_PageUp:
      return kPrior;
    case Qt::Key_PageDown:
      return kNext;
    case Qt::Key_End:
      return kEnd;
    case Qt::Key_Home:
      return kHome;
    case Qt::Key_Left:
      return kLeft;
    case Qt::Key_Up:
      return kUp;
    case Qt::Key_Right:
      return kRight;
    case Qt::Key_Down:
      return kDown;
    case Qt::Key_Insert:
      return kInsert;
    case Qt::Key_Delete:
      return kDelete;
    case Qt::Key_Menu:
      return kApps;
    default:
      return 0;
  }
}

MSG VirtualKey::KeyDown(CWnd* target, UINT key, Qt::KeyboardModifiers modifiers) {
  MSG msg{target, WM_KEYDOWN, key, 0};
  msg.ctrl = modifiers.testFlag(Qt::ControlModifier);
  msg.shift = modifiers.testFlag(Qt::ShiftModifier);
  msg.alt = modifiers.testFlag(Qt::AltModifier);
  return msg;
}
