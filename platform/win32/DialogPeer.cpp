#include "platform/win32/DialogPeer.h"

#include "platform/Button.h"
#include "platform/ComboBox.h"
#include "platform/ControlVisitor.h"
#include "platform/Dialog.h"
#include "platform/DropFiles.h"
#include "platform/Edit.h"
#include "platform/ListCtrl.h"
#include "platform/WorkProgress.h"
#include "platform/win32/ControlPeer.h"
#include "platform/win32/IconCache.h"
#include "platform/win32/ListPeer.h"
#include "platform/win32/NativeDescriptions.h"
#include "platform/win32/native/Metrics.h"

namespace {
// The peer that shows a control: the list has one of its own.
class PeerMaker : public ControlVisitor {
 public:
  PeerMaker(DialogPeer& dialog, IconCache& icons, TextMeasure& measure, native::Handle window)
      : dialog_(dialog), icons_(icons), measure_(measure), window_(window) {}

  std::unique_ptr<WindowPeer> made;
  ControlPeer* simple = nullptr;

  void StaticText(CWnd& control) override { Simple(control); }
  void Icon(CWnd& control) override { Simple(control); }
  void PushButton(CButton& control) override { Simple(control); }
  void CheckBox(CButton& control) override { Simple(control); }
  void Edit(CEdit& control) override { Simple(control); }
  void MultiLineEdit(CEdit& control) override { Simple(control); }
  void ComboBox(CComboBox& control) override { Simple(control); }
  void ListView(CListCtrl& control) override {
    auto list = std::make_unique<ListPeer>(control, dialog_.Window(), measure_);
    if (list->Attach())
      made = std::move(list);
  }

 private:
  void Simple(CWnd& control) {
    auto peer = std::make_unique<ControlPeer>(control, window_, dialog_.Dialog(), icons_);
    simple = peer.get();
    made = std::move(peer);
  }

  DialogPeer& dialog_;
  IconCache& icons_;
  TextMeasure& measure_;
  native::Handle window_;
};

// The window system counts a top-level window's normal place from the top left of the work area;
// the platform counts it on the screen.
RECT ToScreen(const native::Rect& r) {
  native::Rect area = native::Metrics::WorkArea();
  return RECT{r.left + area.left, r.top + area.top, r.right + area.left, r.bottom + area.top};
}

native::Rect ToWorkArea(const RECT& r) {
  native::Rect area = native::Metrics::WorkArea();
  return native::Rect{r.left - area.left, r.top - area.top, r.right - area.left,
                      r.bottom - area.top};
}

bool IsDialogKey(const native::Message& message) {
  return message.message == WM_KEYDOWN &&
         (message.wParam == VK_RETURN || message.wParam == VK_ESCAPE);
}
}  // namespace

DialogPeer::DialogPeer(IconCache& icons, TextMeasure& measure, CDialog& dialog)
    : icons_(icons), measure_(measure), dialog_(dialog) {}

DialogPeer::~DialogPeer() {
  // The controls' peers go first: the list still talks to its window as it goes.
  controls_.clear();
  peers_.clear();
  window_.Destroy();
}

bool DialogPeer::Create(native::Handle owner) {
  const DialogTemplate* source = dialog_.Template();
  if (!source)
    return false;
  native::DialogDescription layout = DescribeDialog(*source);
  layout.caption = dialog_.GetWindowText();
  native::Handle menu = nullptr;
  if (const CMenu* bar = dialog_.GetMenu()) {
    if (!menu_.Build(DescribeMenuBar(*bar)))
      return false;
    menu = menu_.Get();
  }
  if (!window_.Create(layout, owner, this, menu))
    return false;
  if (menu)
    menu_.Attached();
  MakeControlPeers();
  return true;
}

// The window's controls were made from the same template rows as the platform's, in the same
// order.
void DialogPeer::MakeControlPeers() {
  std::vector<native::Handle> windows = window_.Controls();
  const std::vector<CWnd*>& children = dialog_.Children();
  for (size_t i = 0; i < children.size() && i < windows.size(); ++i) {
    PeerMaker maker(*this, icons_, measure_, windows[i]);
    children[i]->Accept(maker);
    if (!maker.made)
      continue;
    children[i]->peer = maker.made.get();
    controls_.push_back(Control{windows[i], children[i], maker.simple});
    // The platform places the controls by its own reckoning of dialog units.
    maker.made->RectChanged();
    if (maker.simple)
      maker.simple->Sync();
    peers_.push_back(std::move(maker.made));
  }
}

const DialogPeer::Control* DialogPeer::ControlOf(native::Handle window) const {
  for (const Control& control : controls_) {
    if (control.window == window)
      return &control;
  }
  return nullptr;
}

void DialogPeer::Show() {
  TextChanged();
  IconChanged();
  MenuChanged();
  ApplyPlacement();
  shown_ = true;
  window_.FocusFirstControl();
  ReportPlacement();
}

bool DialogPeer::RunLoop(native::Handle owner) {
  return loop_.Run(Handle(), owner, nullptr, this);
}

// Every message for the window or its controls passes the program's pre-translation before the
// window system sees it; what the program takes goes no further.
bool DialogPeer::PreTranslate(const native::Message& message) {
  native::Handle held = nullptr;
  if (!window_.Holds(message.window, &held) || !dialog_.IsRunning() || dialog_.HasEnded())
    return false;
  const Control* control = held ? ControlOf(held) : nullptr;
  if (KeyStaysWithControl(message, control))
    return false;
  // A drop's handle is the shell's, which the platform cannot read: the drop itself comes with
  // the platform's own when the window handles it (OnDropFiles).
  WPARAM wParam = message.message == WM_DROPFILES ? 0 : message.wParam;
  MSG msg{control ? control->platform : &dialog_, message.message, wParam, message.lParam,
          message.ctrl};
  const native::Message* outer = offered_;
  offered_ = &message;
  BOOL taken = dialog_.PreTranslateInput(msg);
  offered_ = outer;
  return taken != FALSE;
}

bool DialogPeer::KeyStaysWithControl(const native::Message& message, const Control* control) const {
  return IsDialogKey(message) && control && control->peer && control->peer->Window().ComboDropped();
}

// Title, icons, menus.

void DialogPeer::TextChanged() {
  if (window_.Text() != dialog_.GetWindowText())
    window_.SetText(dialog_.GetWindowText());
}

void DialogPeer::IconChanged() {
  window_.SetIcons(icons_.Get(dialog_.GetIcon(TRUE), 32), icons_.Get(dialog_.GetIcon(FALSE), 16));
}

void DialogPeer::MenuChanged() {
  if (const CMenu* bar = dialog_.GetMenu()) {
    for (const native::MenuRow& row : DescribeMenuBar(*bar)) {
      if (row.kind == native::MenuRow::Kind::Item && menu_.IsChecked(row.id) != row.checked)
        menu_.SetChecked(row.id, row.checked);
    }
  }
  // The system menu only grows: items the program appended since are appended to the real one.
  const std::vector<CMenu::Item>& system = dialog_.GetSystemMenu(FALSE)->Items();
  for (; systemMenuRows_ < system.size(); ++systemMenuRows_)
    window_.AppendSystemMenu(DescribeMenuItem(system[systemMenuRows_]));
}

void DialogPeer::DropTargetChanged() {
  window_.AcceptFiles((dialog_.GetExStyle() & WS_EX_ACCEPTFILES) != 0);
}

void DialogPeer::Redraw() {
  window_.Redraw();
}

// Long work.

void DialogPeer::WorkChanged(bool running) {
  working_ = running;
  if (!running)
    work_.Show(Handle(), nullptr, -1, ProgressRule::kFull);
}

// The bar lies over the list, the control without a peer of the simple kind.
void DialogPeer::ProgressChanged(int filled) {
  native::Handle list = nullptr;
  for (const Control& control : controls_) {
    if (!control.peer && !list)
      list = control.window;
  }
  work_.Show(Handle(), list, filled, ProgressRule::kFull);
}

void DialogPeer::DrawPending() {
  work_.DrawPending(Handle(), !working_);
}

// Placement.

void DialogPeer::RectChanged() {
  if (!dialog_.TakingReport())
    ApplyPlacement();
}

void DialogPeer::ApplyPlacement() {
  applying_ = true;
  if (!dialog_.IsWindowVisible()) {
    window_.Show(SW_HIDE);
  } else {
    WINDOWPLACEMENT placement;
    dialog_.GetWindowPlacement(&placement);
    native::Placement shown;
    shown.showCmd = placement.showCmd;
    shown.minX = shown.minY = shown.maxX = shown.maxY = -1;
    shown.normal = ToWorkArea(placement.rcNormalPosition);
    window_.SetPlacement(shown);
  }
  applying_ = false;
}

void DialogPeer::ReportPlacement() {
  if (!shown_ || applying_ || dialog_.HasEnded() || !window_.IsVisible())
    return;
  native::Placement real;
  if (!window_.GetPlacement(&real))
    return;
  UINT show = real.showCmd == SW_SHOWMINIMIZED   ? SW_SHOWMINIMIZED
              : real.showCmd == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED
                                                 : SW_SHOWNORMAL;
  native::Rect client = window_.ClientRect();
  dialog_.ReportPlacement(show, ToScreen(real.normal), POINT{client.Width(), client.Height()});
}

void DialogPeer::OnSize(unsigned /*type*/, int /*width*/, int /*height*/) {
  ReportPlacement();
}

void DialogPeer::OnMove() {
  ReportPlacement();
}

// Commands and system commands.

bool DialogPeer::OnCommand(int id, int code, native::Handle control) {
  if (!control) {
    // A menu, an accelerator, or the dialog manager's IDOK and IDCANCEL.
    dialog_.SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), static_cast<WORD>(code)), 0);
    return true;
  }
  const Control* source = ControlOf(control);
  return source && source->peer && source->peer->UserChanged(code);
}

bool DialogPeer::OnSysCommand(unsigned command) {
  unsigned outer = systemCommand_;
  bool outerDefault = systemDefault_;
  systemCommand_ = command;
  systemDefault_ = false;
  dialog_.SendMessage(WM_SYSCOMMAND, command, 0);
  bool handled = !systemDefault_;
  systemCommand_ = outer;
  systemDefault_ = outerDefault;
  return handled;
}

bool DialogPeer::OnContextMenu(native::Handle window, int x, int y) {
  const Control* control = ControlOf(window);
  CWnd& target = control ? *control->platform : dialog_;
  target.SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(&target),
                     MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
  return true;
}

bool DialogPeer::LeaveSystemCommandToDefault(unsigned command) {
  // Closing stays the platform's: it becomes IDCANCEL, which help mode may stop.
  if (systemCommand_ == 0 || command != systemCommand_ || (command & 0xFFF0) == SC_CLOSE)
    return false;
  systemDefault_ = true;
  return true;
}

// Painting.

bool DialogPeer::OnPaint(native::PaintSurface& surface) {
  native::PaintSurface* outer = surface_;
  surface_ = &surface;
  dialog_.SendMessage(WM_PAINT);
  surface_ = outer;
  return false;
}

void DialogPeer::OnDropFiles(const std::vector<std::string>& files) {
  DropFiles drop{files};
  dialog_.SendMessage(WM_DROPFILES, reinterpret_cast<WPARAM>(&drop), 0);
}

native::Handle DialogPeer::DragIcon() {
  LRESULT icon = dialog_.SendMessage(WM_QUERYDRAGICON);
  return icons_.Get(reinterpret_cast<HICON>(icon), 32);
}
