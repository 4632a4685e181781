// What a backend keeps for one window that it shows: the widget, or whatever else it draws with.
// The backend hands each change of the window's state on to it; the platform only holds it.
#pragma once

#include "platform/Backend.h"

class WindowPeer {
 public:
  virtual ~WindowPeer() = default;

  virtual void TextChanged() {}
  virtual void RectChanged() {}
  // A control's own state: a check mark, a combo's entries, an edit's limit.
  virtual void StateChanged() {}
  virtual void ListChanged(ListChange /*what*/) {}
  virtual void IconChanged() {}
  virtual void MenuChanged() {}
  virtual void Redraw() {}
};
