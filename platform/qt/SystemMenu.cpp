#include "platform/qt/SystemMenu.h"

#include "platform/Wnd.h"

namespace {
// Whether a system command can run in the window's present state: a window that is neither
// minimised nor maximised has nothing to restore, and only such a window moves and sizes.
bool Allowed(UINT command, const CWnd& window) {
  bool normal = !window.IsIconic() && !window.IsZoomed();
  switch (command) {
    case SC_RESTORE:
      return !normal;
    case SC_MOVE:
    case SC_SIZE:
      return normal;
    case SC_MINIMIZE:
      return !window.IsIconic();
    case SC_MAXIMIZE:
      return !window.IsZoomed();
    default:
      return true;
  }
}
}  // namespace

SystemMenu::SystemMenu(CWnd& window, QWidget* parent)
    : PopupMenu(*window.GetSystemMenu(FALSE), parent,
                [&window](const CMenu::Item& item) { return Allowed(item.id, window); }) {}
