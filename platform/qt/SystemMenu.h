// A window's system menu as a pop-up. No window manager on Linux shows an application's own
// system menu, so the window shows it itself: on Alt+Space, and on a right-click in the empty part
// of its menu bar.
#pragma once

#include "platform/qt/PopupMenu.h"

class CWnd;

class SystemMenu : public PopupMenu {
 public:
  // The items of `window`'s system menu, enabled as its state allows, as Windows greys them.
  SystemMenu(CWnd& window, QWidget* parent);
};
