#include "platform/qt/TopWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>
#include <algorithm>

#include "platform/Dialog.h"
#include "platform/WorkProgress.h"
#include "platform/qt/ControlPeer.h"
#include "platform/qt/EightBitText.h"
#include "platform/qt/FileDropTarget.h"
#include "platform/qt/IconRenderer.h"
#include "platform/qt/MenuBar.h"
#include "platform/qt/PeerFactory.h"
#include "platform/qt/SystemMenu.h"
#include "platform/qt/VirtualKey.h"
#include "platform/qt/WorkOverlay.h"

namespace {
QRect ToQRect(const RECT& r) {
  return QRect(r.left, r.top, r.Width(), r.Height());
}

RECT ToRect(const QRect& r) {
  return RECT{r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
}

bool IsDialogKey(int key) {
  return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}

bool IsSystemMenuKey(const MSG& msg) {
  return msg.wParam == VK_SPACE && msg.alt && !msg.ctrl;
}
}  // namespace

TopWindow::TopWindow(CDialog& dialog, QWidget* owner) : QDialog(owner), dialog_(dialog) {
  DWORD style = dialog.GetStyle();
  Qt::WindowFlags flags = (IsOwned() ? Qt::Dialog : Qt::Window) | Qt::CustomizeWindowHint;
  if (style & WS_CAPTION)
    flags |= Qt::WindowTitleHint;
  if (style & WS_SYSMENU)
    flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
  if (style & WS_MINIMIZEBOX)
    flags |= Qt::WindowMinimizeButtonHint;
  if (style & WS_MAXIMIZEBOX)
    flags |= Qt::WindowMaximizeButtonHint;
  setWindowFlags(flags);
  setWindowModality(IsOwned() ? Qt::ApplicationModal : Qt::NonModal);
  setSizeGripEnabled(false);
  client_ = new QWidget(this);
  dropTarget_ = new FileDropTarget(*this);
  workOverlay_ = new WorkOverlay(*this);
  if (const CMenu* menu = dialog.GetMenu())
    menuBar_ = new MenuBar(*this, *menu);
  BuildControls();
}

TopWindow::~TopWindow() {
  destroying_ = true;
  if (loop_)
    loop_->exit();
  // Children die after this body; none of them may call back into a half-destroyed window.
  for (QObject* child : findChildren<QObject*>())
    child->blockSignals(true);
}

bool TopWindow::IsOwned() const {
  return dialog_.GetParent() != nullptr;
}

int TopWindow::MenuBarHeight(int width) const {
  return menuBar_ ? menuBar_->HeightFor(width) : 0;
}

bool TopWindow::Accepting() const {
  return !destroying_ && dialog_.IsRunning() && !dialog_.HasEnded();
}

void TopWindow::Feed(MSG msg) {
  if (!Accepting())
    return;
  if (CWorkProgress::Running()) {
    workOverlay_->Defer(msg);
    return;
  }
  if (!msg.hwnd)
    msg.hwnd = &dialog_;
  dialog_.PumpMessage(msg);
}

void TopWindow::FeedKeyDown(const MSG& msg) {
  Feed(msg);
  // A key that the program's loop leaves alone reaches the window system's own handling.
  if (IsSystemMenuKey(msg) && Accepting())
    Feed(MSG{nullptr, WM_SYSCOMMAND, SC_KEYMENU, ' '});
}

void TopWindow::ShowSystemMenu(const QPoint& where) {
  SystemMenu menu(dialog_, this);
  UINT command = menu.Track(where);
  if (command != 0)
    Feed(MSG{nullptr, WM_SYSCOMMAND, command, 0});
}

void TopWindow::MenuChanged() {
  if (const CMenu* menu = dialog_.GetMenu(); menu && menuBar_)
    menuBar_->ShowChecks(*menu);
}

void TopWindow::DropTargetChanged() {
  dropTarget_->Follow();
}

// Long work.

void TopWindow::WorkChanged(bool running) {
  workOverlay_->Follow(running);
  for (ControlPeer* peer : peers_)
    peer->WorkChanged(running);
  // The window system's reports that came meanwhile are taken now.
  if (!running)
    ReportPlacement();
}

void TopWindow::ProgressChanged(int filled) {
  workOverlay_->ShowProgress(filled);
}

// Controls.

void TopWindow::BuildControls() {
  PeerFactory factory(*this, client_);
  QWidget* previous = nullptr;
  for (CWnd* control : dialog_.Children()) {
    ControlPeer& peer = factory.Make(*control);
    control->peer = &peer;
    peers_.push_back(&peer);
    // Tab order is template order, through the controls that are tab stops.
    QWidget& widget = peer.Widget();
    if ((control->GetStyle() & WS_TABSTOP) && widget.focusPolicy() != Qt::NoFocus) {
      if (previous)
        QWidget::setTabOrder(previous, &widget);
      previous = &widget;
    }
    peer.Place();
    peer.Sync();
  }
}

QWidget* TopWindow::WidgetOf(int controlId) const {
  for (ControlPeer* peer : peers_) {
    if (peer->Control().GetDlgCtrlID() == controlId)
      return &peer->Widget();
  }
  return nullptr;
}

ControlPeer* TopWindow::PeerHolding(const QObject* object) const {
  for (ControlPeer* peer : peers_) {
    const QWidget& widget = peer->Widget();
    for (const QObject* o = object; o; o = o->parent()) {
      if (o == &widget)
        return peer;
    }
  }
  return nullptr;
}

void TopWindow::FocusFirstTabStop() {
  for (ControlPeer* peer : peers_) {
    QWidget& widget = peer->Widget();
    if ((peer->Control().GetStyle() & WS_TABSTOP) && widget.isVisible() &&
        widget.focusPolicy() != Qt::NoFocus) {
      widget.setFocus(Qt::OtherFocusReason);
      return;
    }
  }
}

// Title and icon.

QString TopWindow::TitleText(const std::string& text) {
  // Qt reads "[*]" in a title as the place of a modified-mark; doubled, it stands for itself.
  return EightBitText::Decode(text).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
}

void TopWindow::TextChanged() {
  setWindowTitle(TitleText(dialog_.GetWindowText()));
}

void TopWindow::IconChanged() {
  setWindowIcon(IconRenderer::ToQIcon({dialog_.GetIcon(TRUE), dialog_.GetIcon(FALSE)}));
}

// Showing, placing and the modal loop.

void TopWindow::LayOutFrame() {
  int menuHeight = MenuBarHeight(width());
  if (menuBar_)
    menuBar_->setGeometry(0, 0, width(), menuHeight);
  client_->setGeometry(0, menuHeight, width(), std::max(0, height() - menuHeight));
}

// A placement kept from a screen that is gone, or edited by hand, can lie off every screen; the
// window then opens on the primary screen, at its size as far as that screen allows.
QRect TopWindow::OnAScreen(const QRect& rect) {
  for (QScreen* screen : QGuiApplication::screens()) {
    if (screen->availableGeometry().intersects(rect))
      return rect;
  }
  QScreen* primary = QGuiApplication::primaryScreen();
  if (!primary)
    return rect;
  QRect area = primary->availableGeometry();
  QRect placed(QPoint(0, 0), rect.size().boundedTo(area.size()));
  placed.moveCenter(area.center());
  return placed;
}

void TopWindow::ShowFromPlatform() {
  TextChanged();
  IconChanged();
  MenuChanged();
  for (ControlPeer* peer : peers_) {
    peer->Place();
    peer->Sync();
  }
  WINDOWPLACEMENT placement;
  dialog_.GetWindowPlacement(&placement);
  QRect rect = OnAScreen(ToQRect(placement.rcNormalPosition));
  applying_ = true;
  setGeometry(rect);
  if (!(dialog_.GetStyle() & WS_THICKFRAME))
    setFixedSize(rect.size());
  LayOutFrame();
  shown_ = true;
  if (placement.showCmd == SW_SHOWMAXIMIZED) {
    showMaximized();
  } else if (placement.showCmd == SW_SHOWMINIMIZED) {
    showMinimized();
  } else {
    show();
  }
  applying_ = false;
  activateWindow();
  FocusFirstTabStop();
  ReportPlacement();
}

bool TopWindow::RunLoop() {
  QEventLoop loop;
  loop_ = &loop;
  // A window that has just been shown paints first, and that message, like every other, passes
  // the program's pre-translation.
  QTimer::singleShot(0, this, [this] { Feed(MSG{nullptr, WM_PAINT, 0, 0, false}); });
  loop.exec(QEventLoop::DialogExec);
  loop_ = nullptr;
  return dialog_.HasEnded();
}

void TopWindow::EndLoop() {
  if (loop_)
    loop_->exit();
}

void TopWindow::RectChanged() {
  if (dialog_.TakingReport() || destroying_)
    return;
  WINDOWPLACEMENT placement;
  dialog_.GetWindowPlacement(&placement);
  QRect rect = ToQRect(placement.rcNormalPosition);
  applying_ = true;
  if (!shown_) {
    setGeometry(OnAScreen(rect));
  } else if (!dialog_.IsWindowVisible()) {
    hide();
  } else if (placement.showCmd == SW_SHOWMINIMIZED) {
    if (!isMinimized())
      showMinimized();
  } else if (placement.showCmd == SW_SHOWMAXIMIZED) {
    if (!isMaximized())
      showMaximized();
  } else {
    if (isMinimized() || isMaximized() || !isVisible())
      showNormal();
    if (geometry() != rect)
      setGeometry(rect);
  }
  applying_ = false;
  // What the window system made of it, which may be nothing at all.
  if (dialog_.IsWindowVisible())
    ReportPlacement();
}

bool TopWindow::ShownMaximized() const {
  return isMaximized() && size() != normalGeometry().size();
}

// A minimised or maximised window whose normal place Qt does not know keeps the platform's.
void TopWindow::ReportPlacement() {
  if (!shown_ || applying_ || destroying_ || dialog_.HasEnded() || CWorkProgress::Running())
    return;
  WINDOWPLACEMENT placement;
  dialog_.GetWindowPlacement(&placement);
  UINT show = isMinimized()      ? SW_SHOWMINIMIZED
              : ShownMaximized() ? SW_SHOWMAXIMIZED
                                 : SW_SHOWNORMAL;
  RECT normal = placement.rcNormalPosition;
  if (show == SW_SHOWNORMAL) {
    normal = ToRect(geometry());
  } else if (QRect before = normalGeometry(); before.isValid() && !before.isEmpty()) {
    normal = ToRect(before);
  }
  dialog_.ReportPlacement(show, normal, POINT{client_->width(), client_->height()});
}

// Qt events.

void TopWindow::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  LayOutFrame();
  ReportPlacement();
}

void TopWindow::moveEvent(QMoveEvent* event) {
  QDialog::moveEvent(event);
  ReportPlacement();
}

void TopWindow::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange)
    ReportPlacement();
}

void TopWindow::FeedKey(UINT key, Qt::KeyboardModifiers modifiers) {
  // The message goes to the control that has the focus, as the window system addresses it.
  ControlPeer* focused = PeerHolding(QApplication::focusWidget());
  FeedKeyDown(VirtualKey::KeyDown(focused ? &focused->Control() : nullptr, key, modifiers));
}

void TopWindow::keyPressEvent(QKeyEvent* event) {
  UINT key = VirtualKey::FromQtKey(event->key());
  MSG press = VirtualKey::KeyDown(nullptr, key, event->modifiers());
  // In the main window every key passes the program's loop (its accelerators); in a dialog the
  // dialog manager's two keys and the system menu's key do.
  bool dialogKey = (IsDialogKey(event->key()) && !press.ctrl) || IsSystemMenuKey(press);
  if (key != 0 && (!IsOwned() || dialogKey)) {
    event->accept();
    FeedKey(key, event->modifiers());
    return;
  }
  QWidget::keyPressEvent(event);
}

bool TopWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !shown_)
    return QDialog::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  // Enter and Escape belong to the dialog, not to the control that has the focus: a line edit or
  // a combo box would otherwise take them for itself.
  if (IsDialogKey(key->key()) && !(key->modifiers() & Qt::ControlModifier)) {
    if (ControlPeer* peer = PeerHolding(watched); peer && peer->KeepsDialogKeys())
      return false;
    FeedKey(VirtualKey::FromQtKey(key->key()), key->modifiers());
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void TopWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
  if (shown_ && !destroying_)
    RequestClose();
}

void TopWindow::reject() {
  RequestClose();
}

void TopWindow::RequestClose() {
  if (!IsOwned()) {
    // The close box of a window: a system command, which the platform turns into IDCANCEL.
    Feed(MSG{nullptr, WM_SYSCOMMAND, SC_CLOSE, 0, false});
    return;
  }
  CWnd* cancel = dialog_.GetDlgItem(IDCANCEL);
  Feed(MSG{nullptr, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(IDCANCEL), BN_CLICKED),
           reinterpret_cast<LPARAM>(cancel), false});
}
