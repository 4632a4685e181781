// A window's system menu as a pop-up. No window manager on Linux shows an application's own
// system menu, so the window shows it itself: on Alt+Space, and on a right-click in the empty part
// of its menu bar.
#pragma once

#include <QMenu>

#include "platform/Win32.h"

class CMenu;
class CWnd;

class SystemMenu : public QMenu {
 public:
  // The items of `window`'s system menu, enabled as its state allows, as Windows greys them.
  SystemMenu(CWnd& window, QWidget* parent);

  // Shows the menu at `where` until the user picks or leaves it: the picked command, or 0.
  UINT Track(const QPoint& where);

 private:
  void Fill(const CMenu& menu, const CWnd& window);
};
