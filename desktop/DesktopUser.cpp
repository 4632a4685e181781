#include "desktop/DesktopUser.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QDialogButtonBox>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <iterator>
#include <utility>

#include "platform/ListCtrl.h"
#include "platform/qt/EightBitText.h"
#include "platform/qt/ListModel.h"
#include "platform/qt/ListViewPeer.h"
#include "platform/qt/MenuBar.h"
#include "platform/qt/RowTableView.h"
#include "platform/qt/TopWindow.h"

namespace {
// The user's mouse and keyboard, as Qt's own events sent to the widgets: what a press does to the
// focus before the widget sees it, modifier keys that go down before the key and up after it, and
// the character that a key types.

// A press gives the focus to the first widget under it, from the one pressed outwards, that takes
// the focus by a click, unless one that has the focus comes first.
void GiveClickFocus(QWidget* widget, QPoint at) {
  for (QWidget* w = widget; w; w = w->parentWidget()) {
    QWidget* proxy = w->focusProxy() ? w->focusProxy() : w;
    if (w->isEnabled() && w->rect().contains(at) && (w->focusPolicy() & Qt::ClickFocus) &&
        (proxy->focusPolicy() & Qt::ClickFocus)) {
      w->setFocus(Qt::MouseFocusReason);
      return;
    }
    if (w->isWindow() || proxy->hasFocus())
      return;
    at += w->pos();
  }
}

void MouseClick(QWidget* widget, Qt::MouseButton button, QPoint at) {
  QPointer<QWidget> alive = widget;
  GiveClickFocus(widget, at);
  QPoint global = widget->mapToGlobal(at);
  QMouseEvent press(QEvent::MouseButtonPress, at, global, button, button, Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
  if (!alive)
    return;
  QMouseEvent release(QEvent::MouseButtonRelease, at, global, button, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &release);
}

// The second press of a double-click arrives as the double-click itself.
void MouseDoubleClick(QWidget* widget, QPoint at) {
  QPointer<QWidget> alive = widget;
  MouseClick(widget, Qt::LeftButton, at);
  if (!alive)
    return;
  QPoint global = widget->mapToGlobal(at);
  QMouseEvent twice(QEvent::MouseButtonDblClick, at, global, Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(widget, &twice);
  if (!alive)
    return;
  QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(widget, &release);
}

// The pointer comes to rest at `at`, where the window system reports it.
void MovePointer(QWidget* widget, QPoint at) {
  QCursor::setPos(widget->mapToGlobal(at));
  QApplication::processEvents();
}

QString TypedBy(Qt::Key key) {
  if (key >= Qt::Key_A && key <= Qt::Key_Z)
    return QString(QChar(static_cast<char16_t>('a' + (key - Qt::Key_A))));
  if (key >= Qt::Key_Space && key <= Qt::Key_AsciiTilde)
    return QString(QChar(static_cast<char16_t>(key)));
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return QStringLiteral("\r");
    case Qt::Key_Escape:
      return QString(QChar(0x1B));
    case Qt::Key_Tab:
      return QStringLiteral("\t");
    case Qt::Key_Backspace:
      return QString(QChar(0x08));
    default:
      return QString();
  }
}

void SendKey(QWidget* widget, QEvent::Type type, Qt::Key key, Qt::KeyboardModifiers modifiers,
             const QString& text = QString()) {
  QKeyEvent event(type, key, modifiers, text);
  QApplication::sendEvent(widget, &event);
}

// Shift, Ctrl and Alt go down in that order before the key, and up the other way after it.
void KeyClick(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  const std::pair<Qt::KeyboardModifier, Qt::Key> held[] = {{Qt::ShiftModifier, Qt::Key_Shift},
                                                           {Qt::ControlModifier, Qt::Key_Control},
                                                           {Qt::AltModifier, Qt::Key_Alt}};
  QPointer<QWidget> alive = widget;
  Qt::KeyboardModifiers down;
  for (auto [modifier, modifierKey] : held) {
    if (modifiers & modifier) {
      SendKey(widget, QEvent::KeyPress, modifierKey, down);
      down |= modifier;
    }
  }
  SendKey(widget, QEvent::KeyPress, key, modifiers, TypedBy(key));
  if (!alive)
    return;
  SendKey(widget, QEvent::KeyRelease, key, modifiers, TypedBy(key));
  for (auto it = std::rbegin(held); it != std::rend(held) && alive; ++it) {
    if (modifiers & it->first) {
      SendKey(widget, QEvent::KeyRelease, it->second, down);
      down &= ~Qt::KeyboardModifiers(it->first);
    }
  }
}

Qt::Key QtKey(UINT key) {
  if (key == VK_RETURN)
    return Qt::Key_Return;
  if (key == VK_ESCAPE)
    return Qt::Key_Escape;
  if (key == VK_APPS)
    return Qt::Key_Menu;
  if (key >= VK_F1 && key <= VK_F12)
    return static_cast<Qt::Key>(Qt::Key_F1 + static_cast<int>(key - VK_F1));
  return static_cast<Qt::Key>(key);  // letters share their codes
}

// Where item `item` shows in the list, scrolled into view first, or below the last row for -1;
// false when the list has no such spot.
bool ItemSpot(ListViewPeer& shown, CListCtrl& list, int item, QPoint& spot) {
  RowTableView& view = shown.View();
  ListModel& model = shown.Model();
  if (item >= 0 && item < list.GetItemCount() && model.RowOf(item) < 0)
    shown.ScrollBar().setValue(item);
  int y = -1;
  if (item >= 0 && model.RowOf(item) >= 0) {
    y = view.rowViewportPosition(model.RowOf(item)) + view.RowHeight() / 2;
  } else if (item < 0) {
    int rows = 0;
    while (rows < model.rowCount() && model.ItemAt(rows) >= 0)
      ++rows;
    y = rows * view.RowHeight() + 2;
  }
  spot = QPoint(2, y);
  return y >= 0 && y < view.viewport()->height();
}

// What a button box offers to confirm with, whichever its mode names it.
QAbstractButton* ConfirmButton(QDialogButtonBox* box) {
  for (auto which : {QDialogButtonBox::Open, QDialogButtonBox::Ok, QDialogButtonBox::Save}) {
    if (QAbstractButton* button = box->button(which))
      return button;
  }
  return nullptr;
}
}  // namespace

void DesktopUser::Click(QWidget* widget) {
  if (widget)
    MouseClick(widget, Qt::LeftButton, widget->rect().center());
}

void DesktopUser::Type(QWidget* widget, const std::string& text) {
  if (!widget)
    return;
  Click(widget);
  for (QChar c : EightBitText::Decode(text)) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &release);
  }
}

// F4 opens the list. The pointer comes to rest on the entry, which makes it current there, and
// Enter takes it; the pointer first leaves the spot, since a pointer that does not move does not
// tell the list where it is.
void DesktopUser::PickEntry(QWidget* combo, int index) {
  auto* box = qobject_cast<QComboBox*>(combo);
  if (!box || index < 0 || index >= box->count())
    return;
  KeyClick(box, Qt::Key_F4);
  QAbstractItemView* list = box->view();
  QModelIndex entry = box->model()->index(index, box->modelColumn());
  list->scrollTo(entry);
  QPoint spot = list->visualRect(entry).center();
  MovePointer(list->viewport(), spot + QPoint(1, 1));
  MovePointer(list->viewport(), spot);
  KeyClick(list, Qt::Key_Return);
}

void DesktopUser::PickMenuCommand(TopWindow& top, UINT command) {
  for (QAction* action : top.Menus()->findChildren<QAction*>()) {
    if (action->data().isValid() && action->data().toUInt() == command) {
      action->trigger();
      return;
    }
  }
}

namespace {
// Whether the menu, or a submenu of it, offers the command to be picked.
bool Offers(const QMenu* menu, UINT command) {
  for (QAction* action : menu->actions()) {
    if (!action->isEnabled() || action->isSeparator())
      continue;
    if (action->menu() ? Offers(action->menu(), command) : action->data().toUInt() == command)
      return true;
  }
  return false;
}
}  // namespace

// The command may lie in a submenu: a click on its item opens it, and the pick is made there once
// it is the menu on top. A submenu that never opens is left after a few seconds.
bool DesktopUser::PickFromMenu(UINT command, const std::function<void()>& open) {
  constexpr int kMostWaits = 3000;
  bool picked = false;
  QPointer<QMenu> opening;
  int waits = 0;
  // The menu runs a loop of its own once it is open; the pick is made from inside it.
  QTimer picker;
  picker.setInterval(1);
  QObject::connect(&picker, &QTimer::timeout, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    if (!menu || (menu == opening && ++waits < kMostWaits))
      return;
    for (QAction* action : command != 0 && menu != opening ? menu->actions() : QList<QAction*>()) {
      if (!action->isEnabled() || action->isSeparator())
        continue;
      QPoint spot = menu->actionGeometry(action).center();
      if (action->menu() && Offers(action->menu(), command)) {
        opening = menu;
        MouseClick(menu, Qt::LeftButton, spot);
        return;
      }
      if (!action->menu() && action->data().toUInt() == command) {
        picker.stop();
        picked = true;
        MouseClick(menu, Qt::LeftButton, spot);
        return;
      }
    }
    // Escape leaves only the menu on top: its parent, if any, is left in turn.
    if (!opening || menu == opening)
      picker.stop();
    KeyClick(menu, Qt::Key_Escape);
  });
  picker.start();
  open();
  return picked;
}

void DesktopUser::PickSystemCommand(TopWindow& top, UINT command) {
  MenuBar* bar = top.Menus();
  QPoint empty(bar->width() - 3, bar->height() / 2);
  bool picked = !bar->actionAt(empty) &&
                PickFromMenu(command, [&] { MouseClick(bar, Qt::RightButton, empty); });
  if (!picked)
    top.Feed(MSG{nullptr, WM_SYSCOMMAND, command, 0});
}

void DesktopUser::Place(TopWindow& top, UINT show, const RECT& normal) {
  top.showNormal();
  top.setGeometry(normal.left, normal.top, normal.right - normal.left, normal.bottom - normal.top);
  if (show == SW_SHOWMINIMIZED)
    top.showMinimized();
  else if (show == SW_SHOWMAXIMIZED)
    top.showMaximized();
}

void DesktopUser::PressKey(ListViewPeer& shown, UINT key, bool ctrl, bool shift, bool alt) {
  Qt::KeyboardModifiers modifiers;
  modifiers.setFlag(Qt::ControlModifier, ctrl);
  modifiers.setFlag(Qt::ShiftModifier, shift);
  modifiers.setFlag(Qt::AltModifier, alt);
  KeyClick(&shown.View(), QtKey(key), modifiers);
}

void DesktopUser::DropFile(TopWindow& top, const std::string& path) {
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QFile::decodeName(path.c_str()))});
  QPoint middle = top.rect().center();
  QDragEnterEvent enter(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&top, &enter);
  if (!enter.isAccepted())
    return;
  QDropEvent drop(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&top, &drop);
}

void DesktopUser::ClickTitle(ListViewPeer& shown, CListCtrl& list, int column) {
  QHeaderView* header = shown.View().horizontalHeader();
  if (column < 0 || column >= header->count() || header->sectionSize(column) == 0) {
    shown.Window().Feed(list.TitleClickMessage(column));
    return;
  }
  shown.View().horizontalScrollBar()->setValue(header->sectionPosition(column));
  int left = header->sectionViewportPosition(column);
  int right = std::min(left + header->sectionSize(column), header->viewport()->width());
  MouseClick(header->viewport(), Qt::LeftButton, QPoint((left + right) / 2, header->height() / 2));
}

// Where the list has no spot for the item, the messages that the click stands for go to the
// window directly.
void DesktopUser::ClickItem(ListViewPeer& shown, CListCtrl& list, int item, ItemClick how) {
  QPoint spot;
  if (!ItemSpot(shown, list, item, spot)) {
    TopWindow& window = shown.Window();
    UINT button = how == ItemClick::Left    ? WM_LBUTTONDOWN
                  : how == ItemClick::Right ? WM_RBUTTONDOWN
                                            : WM_LBUTTONDBLCLK;
    window.Feed(MSG{&list, button, 0, item});
    if (how == ItemClick::Right)
      window.Feed(MSG{&list, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(&list), 0});
    return;
  }
  QWidget* viewport = shown.View().viewport();
  if (how == ItemClick::Double) {
    MouseDoubleClick(viewport, spot);
    return;
  }
  MouseClick(viewport, how == ItemClick::Right ? Qt::RightButton : Qt::LeftButton, spot);
}

void DesktopUser::ChooseFile(QWidget* dialog, bool ok, const std::string& path) {
  auto* buttons = dialog->findChild<QDialogButtonBox*>();
  if (!buttons)
    return Dismiss(dialog);
  if (!ok) {
    Click(buttons->button(QDialogButtonBox::Cancel));
    return;
  }
  if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
    name->setText(QFileInfo(QFile::decodeName(path.c_str())).absoluteFilePath());
  Click(ConfirmButton(buttons));
  // A name the dialog refuses leaves it open; the user gives up.
  if (dialog->isVisible())
    Click(buttons->button(QDialogButtonBox::Cancel));
}

void DesktopUser::ConfirmBox(QWidget* box) {
  auto* buttons = box->findChild<QDialogButtonBox*>();
  if (!buttons || buttons->buttons().isEmpty())
    return Dismiss(box);
  Click(buttons->buttons().front());
}

void DesktopUser::AnswerQuestion(QWidget* box, bool yes) {
  auto* question = qobject_cast<QMessageBox*>(box);
  QAbstractButton* button =
      question ? question->button(yes ? QMessageBox::Yes : QMessageBox::No) : nullptr;
  if (!button)
    return Dismiss(box);
  Click(button);
}

void DesktopUser::Dismiss(QWidget* window) {
  KeyClick(window, Qt::Key_Escape);
}
