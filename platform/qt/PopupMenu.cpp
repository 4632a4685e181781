#include "platform/qt/PopupMenu.h"

#include "platform/qt/EightBitText.h"

PopupMenu::PopupMenu(const CMenu& menu, QWidget* parent, const Enabled& enabled) : QMenu(parent) {
  Fill(this, menu, enabled);
}

void PopupMenu::Fill(QMenu* into, const CMenu& menu, const Enabled& enabled) {
  for (const CMenu::Item& item : menu.Items()) {
    if (item.state & MF_SEPARATOR) {
      into->addSeparator();
      continue;
    }
    bool on = enabled ? enabled(item) : !(item.state & MF_GRAYED);
    if (item.popup) {
      QMenu* submenu = into->addMenu(EightBitText::Decode(item.text));
      submenu->menuAction()->setEnabled(on);
      Fill(submenu, *item.popup, enabled);
      continue;
    }
    QAction* action = into->addAction(EightBitText::Decode(item.text));
    action->setData(item.id);
    action->setEnabled(on);
  }
}

UINT PopupMenu::Track(const QPoint& where) {
  QAction* picked = exec(where);
  return picked ? picked->data().toUInt() : 0;
}
