#include "platform/qt/MenuBar.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QMouseEvent>

#include "platform/Menu.h"
#include "platform/qt/EightBitText.h"
#include "platform/qt/TopWindow.h"

MenuBar::MenuBar(TopWindow& window, const CMenu& menu) : QMenuBar(&window), window_(window) {
  // A global menu bar outside the window would leave the client area's size unknown.
  setNativeMenuBar(false);
  for (const CMenu::Item& top : menu.Items()) {
    if (top.popup)
      Fill(addMenu(EightBitText::Decode(top.text)), *top.popup);
  }
}

void MenuBar::Fill(QMenu* into, const CMenu& menu) {
  for (const CMenu::Item& item : menu.Items()) {
    if (item.state & MF_SEPARATOR) {
      into->addSeparator();
    } else if (item.popup) {
      Fill(into->addMenu(EightBitText::Decode(item.text)), *item.popup);
    } else {
      // The text after "\t" is a hint that the menu shows at the right. It is no shortcut: keys
      // reach the program through its own accelerator table.
      QAction* action = into->addAction(EightBitText::Decode(item.text));
      UINT id = item.id;
      action->setData(id);
      connect(action, &QAction::triggered, this, [this, id] {
        window_.Feed(
            MSG{nullptr, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), NOTIFY_MENU), 0, false});
        // Qt flips a check mark by itself; the menu shows what the program decided.
        window_.MenuChanged();
      });
    }
  }
}

void MenuBar::ShowChecks(const CMenu& menu) {
  for (QAction* action : findChildren<QAction*>()) {
    if (!action->data().isValid())
      continue;
    UINT state = menu.GetMenuState(action->data().toUInt(), MF_BYCOMMAND);
    bool checked = state != MENU_NOT_FOUND && (state & MF_CHECKED);
    // Only a checked item shows the check column's mark; an unchecked one shows nothing.
    action->setCheckable(checked);
    action->setChecked(checked);
  }
}

int MenuBar::HeightFor(int width) const {
  int height = heightForWidth(width);
  return height >= 0 ? height : sizeHint().height();
}

void MenuBar::mousePressEvent(QMouseEvent* event) {
  QPoint at = event->position().toPoint();
  if (event->button() != Qt::RightButton || actionAt(at)) {
    QMenuBar::mousePressEvent(event);
    return;
  }
  event->accept();
  window_.ShowSystemMenu(event->globalPosition().toPoint());
}

// The press has shown the system menu already; the context-menu request that follows it is spent.
void MenuBar::contextMenuEvent(QContextMenuEvent* event) {
  if (actionAt(event->pos())) {
    QMenuBar::contextMenuEvent(event);
    return;
  }
  event->accept();
}
