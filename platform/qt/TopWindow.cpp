#include "platform/qt/TopWindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <functional>

#include "platform/App.h"
#include "platform/Button.h"
#include "platform/ComboBox.h"
#include "platform/Dialog.h"
#include "platform/Edit.h"
#include "platform/qt/ComboControl.h"
#include "platform/qt/EditControl.h"
#include "platform/qt/EightBitText.h"
#include "platform/qt/IconRenderer.h"
#include "platform/qt/ListControl.h"
#include "platform/qt/VirtualKey.h"

namespace {
QRect ToQRect(const RECT& r) {
  return QRect(r.left, r.top, r.Width(), r.Height());
}

RECT ToRect(const QRect& r) {
  return RECT{r.x(), r.y(), r.x() + r.width(), r.y() + r.height()};
}

// A static text without SS_NOPREFIX shows "&x" as an underlined x and "&&" as "&"; the labels
// here show plain text, so the marks go.
std::string WithoutMnemonics(const std::string& text) {
  std::string plain;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size())
      ++i;
    else if (text[i] == '&')
      continue;
    plain += text[i];
  }
  return plain;
}

bool IsDialogKey(int key) {
  return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape;
}

// The icon that an SS_ICON static shows: the resource its text names ("128" or "#128"), else the
// icon of the window it belongs to, else the application's.
HICON IconOfStatic(const CWnd& control, const CDialog& dialog) {
  const std::string& name = control.GetWindowText();
  std::string digits = !name.empty() && name[0] == '#' ? name.substr(1) : name;
  if (!digits.empty() && digits.size() < 10 &&
      digits.find_first_not_of("0123456789") == std::string::npos) {
    return LoadIcon(static_cast<int>(std::strtol(digits.c_str(), nullptr, 10)));
  }
  for (const CWnd* w = &dialog; w; w = w->GetParent()) {
    if (HICON icon = w->GetIcon(TRUE))
      return icon;
  }
  CWinApp* app = AfxGetApp();
  return app && app->m_pMainWnd ? app->m_pMainWnd->GetIcon(TRUE) : nullptr;
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
  if (dialog.GetMenu())
    BuildMenuBar();
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

CWnd* TopWindow::Control(int index) const {
  const std::vector<CWnd*>& children = dialog_.Children();
  if (index < 0 || static_cast<size_t>(index) >= children.size())
    return nullptr;
  return children[static_cast<size_t>(index)];
}

QWidget* TopWindow::ControlWidget(int index) const {
  if (index < 0 || static_cast<size_t>(index) >= controls_.size())
    return nullptr;
  return controls_[static_cast<size_t>(index)];
}

int TopWindow::IndexOf(const CWnd& control) const {
  const std::vector<CWnd*>& children = dialog_.Children();
  for (size_t i = 0; i < children.size() && i < controls_.size(); ++i) {
    if (children[i] == &control)
      return static_cast<int>(i);
  }
  return -1;
}

ListControl* TopWindow::FirstList() const {
  for (QWidget* w : controls_) {
    if (auto* list = dynamic_cast<ListControl*>(w))
      return list;
  }
  return nullptr;
}

int TopWindow::MenuBarHeight(int width) const {
  if (!menuBar_)
    return 0;
  int height = menuBar_->heightForWidth(width);
  return height >= 0 ? height : menuBar_->sizeHint().height();
}

bool TopWindow::Accepting() const {
  return !destroying_ && dialog_.IsRunning() && !dialog_.HasEnded();
}

void TopWindow::Feed(MSG msg) {
  if (!Accepting())
    return;
  if (!msg.hwnd)
    msg.hwnd = &dialog_;
  dialog_.PumpMessage(msg);
}

// Menus.

void TopWindow::BuildMenuBar() {
  menuBar_ = new QMenuBar(this);
  // A global menu bar outside the window would leave the client area's size unknown.
  menuBar_->setNativeMenuBar(false);
  std::function<void(QMenu*, const CMenu&)> fill = [&](QMenu* into, const CMenu& menu) {
    for (const CMenu::Item& item : menu.Items()) {
      if (item.state & MF_SEPARATOR) {
        into->addSeparator();
      } else if (item.popup) {
        fill(into->addMenu(EightBitText::Decode(item.text)), *item.popup);
      } else {
        // The text after "\t" is a hint that the menu shows at the right. It is no shortcut:
        // keys reach the program through its own accelerator table.
        QAction* action = into->addAction(EightBitText::Decode(item.text));
        UINT id = item.id;
        action->setData(id);
        connect(action, &QAction::triggered, this, [this, id] {
          Feed(MSG{nullptr, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), NOTIFY_MENU), 0, false});
          // Qt flips a check mark by itself; the menu shows what the program decided.
          SyncMenuChecks();
        });
      }
    }
  };
  for (const CMenu::Item& top : dialog_.GetMenu()->Items()) {
    if (!top.popup)
      continue;
    fill(menuBar_->addMenu(EightBitText::Decode(top.text)), *top.popup);
  }
}

void TopWindow::SyncMenuChecks() {
  CMenu* menu = dialog_.GetMenu();
  if (!menuBar_ || !menu)
    return;
  for (QAction* action : menuBar_->findChildren<QAction*>()) {
    if (!action->data().isValid())
      continue;
    UINT state = menu->GetMenuState(action->data().toUInt(), MF_BYCOMMAND);
    bool checked = state != MENU_NOT_FOUND && (state & MF_CHECKED);
    // Only a checked item shows the check column's mark; an unchecked one shows nothing.
    action->setCheckable(checked);
    action->setChecked(checked);
  }
}

// Controls.

void TopWindow::BuildControls() {
  const std::vector<CWnd*>& children = dialog_.Children();
  controls_.assign(children.size(), nullptr);
  QWidget* previous = nullptr;
  for (size_t i = 0; i < children.size(); ++i) {
    int index = static_cast<int>(i);
    QWidget* widget = MakeControl(index, *children[i]);
    controls_[i] = widget;
    children[i]->peer = widget;
    // Tab order is template order, through the controls that are tab stops.
    if ((children[i]->GetStyle() & WS_TABSTOP) && widget->focusPolicy() != Qt::NoFocus) {
      if (previous)
        QWidget::setTabOrder(previous, widget);
      previous = widget;
    }
    PlaceControl(index);
    SyncControl(index);
  }
}

QWidget* TopWindow::MakeControl(int index, CWnd& control) {
  DWORD style = control.GetStyle();
  QWidget* widget = nullptr;
  switch (control.Kind()) {
    case ControlKind::Static: {
      auto* label = new QLabel(client_);
      label->setTextFormat(Qt::PlainText);
      label->setWordWrap(true);
      label->setAlignment(Qt::AlignLeft |
                          ((style & SS_CENTERIMAGE) ? Qt::AlignVCenter : Qt::AlignTop));
      widget = label;
      break;
    }
    case ControlKind::Icon: {
      auto* label = new QLabel(client_);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      widget = label;
      break;
    }
    case ControlKind::Button: {
      auto* button = new QPushButton(client_);
      button->setAutoDefault(true);
      button->setDefault((style & 0xF) == BS_DEFPUSHBUTTON);
      connect(button, &QPushButton::clicked, this, [this, index] {
        CWnd* platform = Control(index);
        if (!platform)
          return;
        Feed(MSG{nullptr, WM_COMMAND,
                 MAKEWPARAM(static_cast<WORD>(platform->GetDlgCtrlID()), BN_CLICKED),
                 reinterpret_cast<LPARAM>(platform), false});
      });
      widget = button;
      break;
    }
    case ControlKind::CheckBox: {
      auto* box = new QCheckBox(client_);
      if (style & BS_LEFTTEXT)
        box->setLayoutDirection(Qt::RightToLeft);
      connect(box, &QCheckBox::clicked, this, [this, index] {
        auto* button = dynamic_cast<CButton*>(Control(index));
        if (button && Accepting())
          button->Click();
        SyncControl(index);
      });
      box->installEventFilter(this);
      widget = box;
      break;
    }
    case ControlKind::Edit: {
      auto* edit = new EditControl(client_);
      edit->typed = [this, index](const std::string& bytes) {
        CWnd* platform = Control(index);
        if (platform && Accepting())
          platform->SetWindowText(bytes);
      };
      edit->installEventFilter(this);
      widget = edit;
      break;
    }
    case ControlKind::ComboBox: {
      auto* combo = new ComboControl(client_);
      combo->picked = [this, index](int entry) {
        auto* platform = dynamic_cast<CComboBox*>(Control(index));
        if (platform && Accepting())
          platform->Pick(entry);
      };
      combo->installEventFilter(this);
      combo->lineEdit()->installEventFilter(this);
      widget = combo;
      break;
    }
    case ControlKind::ListView:
      widget = new ListControl(*this, index, client_);
      break;
  }
  if (!widget)
    widget = new QWidget(client_);
  widget->setVisible((style & WS_VISIBLE) != 0);
  return widget;
}

void TopWindow::PlaceControl(int index) {
  CWnd* control = Control(index);
  QWidget* widget = ControlWidget(index);
  if (!control || !widget)
    return;
  RECT r;
  control->GetWindowRect(&r);
  QRect placed = ToQRect(r);
  // A drop-down combo's template height includes its open list; closed, it is one line high.
  if (control->Kind() == ControlKind::ComboBox)
    placed.setHeight(widget->sizeHint().height());
  // This desktop's font and check mark are wider than the ones the template was drawn for; a
  // check box grows rather than cut off its text.
  if (control->Kind() == ControlKind::CheckBox)
    placed.setWidth(std::max(placed.width(), widget->sizeHint().width()));
  widget->setGeometry(placed);
}

void TopWindow::SyncControl(int index) {
  CWnd* control = Control(index);
  QWidget* widget = ControlWidget(index);
  if (!control || !widget)
    return;
  switch (control->Kind()) {
    case ControlKind::Static: {
      const std::string& text = control->GetWindowText();
      static_cast<QLabel*>(widget)->setText(EightBitText::Decode(
          (control->GetStyle() & SS_NOPREFIX) ? text : WithoutMnemonics(text)));
      break;
    }
    case ControlKind::Icon: {
      QImage image = IconRenderer::Render(IconOfStatic(*control, dialog_), 32);
      static_cast<QLabel*>(widget)->setPixmap(QPixmap::fromImage(image));
      break;
    }
    case ControlKind::Button:
      static_cast<QPushButton*>(widget)->setText(EightBitText::Decode(control->GetWindowText()));
      break;
    case ControlKind::CheckBox: {
      auto* box = static_cast<QCheckBox*>(widget);
      QSignalBlocker quiet(box);
      box->setText(EightBitText::Decode(control->GetWindowText()));
      if (auto* button = dynamic_cast<CButton*>(control))
        box->setChecked(button->GetCheck() != 0);
      break;
    }
    case ControlKind::Edit: {
      auto* edit = static_cast<EditControl*>(widget);
      if (auto* platform = dynamic_cast<CEdit*>(control))
        edit->SetByteLimit(platform->GetLimitText());
      edit->ShowText(control->GetWindowText());
      break;
    }
    case ControlKind::ComboBox:
      if (auto* platform = dynamic_cast<CComboBox*>(control))
        static_cast<ComboControl*>(widget)->ShowState(*platform);
      break;
    case ControlKind::ListView:
      break;
  }
}

void TopWindow::FocusFirstTabStop() {
  for (size_t i = 0; i < controls_.size(); ++i) {
    CWnd* control = Control(static_cast<int>(i));
    QWidget* widget = controls_[i];
    if (control && (control->GetStyle() & WS_TABSTOP) && widget->isVisible() &&
        widget->focusPolicy() != Qt::NoFocus) {
      widget->setFocus(Qt::OtherFocusReason);
      return;
    }
  }
}

// Title and icon.

QString TopWindow::TitleText(const std::string& text) {
  // Qt reads "[*]" in a title as the place of a modified-mark; doubled, it stands for itself.
  return EightBitText::Decode(text).replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
}

void TopWindow::SyncTitle() {
  setWindowTitle(TitleText(dialog_.GetWindowText()));
}

void TopWindow::SyncIcon() {
  QIcon icon;
  for (HICON source : {dialog_.GetIcon(TRUE), dialog_.GetIcon(FALSE)}) {
    if (!source)
      continue;
    for (const IconImage& image : source->images)
      icon.addPixmap(QPixmap::fromImage(IconRenderer::Render(source, image.size)));
  }
  setWindowIcon(icon);
}

// Showing, placing and the modal loop.

void TopWindow::LayOutFrame() {
  int menuHeight = MenuBarHeight(width());
  if (menuBar_)
    menuBar_->setGeometry(0, 0, width(), menuHeight);
  client_->setGeometry(0, menuHeight, width(), std::max(0, height() - menuHeight));
}

void TopWindow::ShowFromPlatform() {
  SyncTitle();
  SyncIcon();
  SyncMenuChecks();
  for (size_t i = 0; i < controls_.size(); ++i) {
    PlaceControl(static_cast<int>(i));
    SyncControl(static_cast<int>(i));
    if (auto* list = dynamic_cast<ListControl*>(controls_[i]))
      list->SyncAll();
  }
  WINDOWPLACEMENT placement;
  dialog_.GetWindowPlacement(&placement);
  QRect rect = ToQRect(placement.rcNormalPosition);
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
  SyncPlacementFromQt();
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

void TopWindow::ApplyPlacement() {
  if (reporting_ || destroying_)
    return;
  WINDOWPLACEMENT placement;
  dialog_.GetWindowPlacement(&placement);
  QRect rect = ToQRect(placement.rcNormalPosition);
  applying_ = true;
  if (!shown_) {
    setGeometry(rect);
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
}

void TopWindow::SyncPlacementFromQt() {
  if (!shown_ || applying_ || reporting_ || destroying_ || dialog_.HasEnded())
    return;
  WINDOWPLACEMENT placement;
  dialog_.GetWindowPlacement(&placement);
  UINT show = isMinimized() ? SW_SHOWMINIMIZED : isMaximized() ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
  RECT normal = placement.rcNormalPosition;
  if (show == SW_SHOWNORMAL) {
    normal = ToRect(geometry());
  } else if (QRect before = normalGeometry(); before.isValid() && !before.isEmpty()) {
    normal = ToRect(before);
  }
  QSize client = client_->size();
  if (show == placement.showCmd && normal == placement.rcNormalPosition && client == lastClient_)
    return;
  lastClient_ = client;
  placement.showCmd = show;
  placement.rcNormalPosition = normal;
  reporting_ = true;
  // The platform takes the new placement and sends the window WM_SIZE, so it lays itself out.
  dialog_.SetWindowPlacement(&placement);
  reporting_ = false;
}

// Qt events.

void TopWindow::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  LayOutFrame();
  SyncPlacementFromQt();
}

void TopWindow::moveEvent(QMoveEvent* event) {
  QDialog::moveEvent(event);
  SyncPlacementFromQt();
}

void TopWindow::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange)
    SyncPlacementFromQt();
}

void TopWindow::FeedKey(UINT key, bool ctrl) {
  // The message goes to the control that has the focus, as the window system addresses it.
  CWnd* target = nullptr;
  if (QWidget* focus = QApplication::focusWidget()) {
    for (size_t i = 0; i < controls_.size(); ++i) {
      if (controls_[i] == focus || controls_[i]->isAncestorOf(focus))
        target = Control(static_cast<int>(i));
    }
  }
  Feed(MSG{target, WM_KEYDOWN, key, 0, ctrl});
}

void TopWindow::keyPressEvent(QKeyEvent* event) {
  UINT key = VirtualKey::FromQtKey(event->key());
  bool ctrl = (event->modifiers() & Qt::ControlModifier) != 0;
  // In the main window every key passes the program's loop (its accelerators); in a dialog the
  // dialog manager's two keys do.
  if (key != 0 && (!IsOwned() || (IsDialogKey(event->key()) && !ctrl))) {
    event->accept();
    FeedKey(key, ctrl);
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
    auto* combo = dynamic_cast<QComboBox*>(watched);
    if (!combo && watched->parent())
      combo = dynamic_cast<QComboBox*>(watched->parent());
    if (combo && combo->view() && combo->view()->isVisible())
      return false;
    FeedKey(VirtualKey::FromQtKey(key->key()), false);
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
