// A pop-up menu built from a platform menu, with its submenus, separators and greyed items; the
// text after a tab in an item is the key hint shown at its right.
#pragma once

#include <QMenu>
#include <functional>

#include "platform/Menu.h"

class PopupMenu : public QMenu {
 public:
  // `enabled` says which items can be picked; by default those that are not greyed.
  using Enabled = std::function<bool(const CMenu::Item& item)>;
  PopupMenu(const CMenu& menu, QWidget* parent, const Enabled& enabled = nullptr);

  // Shows the menu at `where` until the user picks or leaves it: the picked command, or 0.
  UINT Track(const QPoint& where);

 private:
  static void Fill(QMenu* into, const CMenu& menu, const Enabled& enabled);
};
