#include "platform/qt/SystemMenu.h"

#include "platform/Menu.h"
#include "platform/Wnd.h"
#include "platform/qt/EightBitText.h"

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

SystemMenu::SystemMenu(CWnd& window, QWidget* parent) : QMenu(parent) {
  if (const CMenu* menu = window.GetSystemMenu(FALSE))
    Fill(*menu, window);
}

void SystemMenu::Fill(const CMenu& menu, const CWnd& window) {
  for (const CMenu::Item& item : menu.Items()) {
    if (item.state & MF_SEPARATOR) {
      addSeparator();
      continue;
    }
    QAction* action = addAction(EightBitText::Decode(item.text));
    action->setData(item.id);
    action->setEnabled(Allowed(item.id, window));
  }
}

UINT SystemMenu::Track(const QPoint& where) {
  QAction* picked = exec(where);
  return picked ? picked->data().toUInt() : 0;
}
