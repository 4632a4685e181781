#include "platform/win32/native/DialogWindow.h"

#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include "platform/win32/native/DialogTemplateBuilder.h"
#include "platform/win32/native/WaitCursor.h"

namespace native {
namespace {
HWND AsWindow(Handle window) {
  return static_cast<HWND>(window);
}

Rect FromRect(const RECT& r) {
  return Rect{r.left, r.top, r.right, r.bottom};
}

RECT ToRect(const Rect& r) {
  return RECT{r.left, r.top, r.right, r.bottom};
}

INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<DialogWindow*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, lParam);
    // The window handle is known only now; the object takes it before any other message.
    intptr_t result = 0;
    self->HandleMessage(message, reinterpret_cast<uintptr_t>(window), 0, &result);
    return TRUE;
  }
  auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self)
    return FALSE;
  intptr_t result = 0;
  if (!self->HandleMessage(message, wParam, lParam, &result))
    return FALSE;
  // This message returns its result directly; the rest through the dialog's result slot.
  if (message == WM_QUERYDRAGICON)
    return result;
  SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
  return TRUE;
}

// Painting on behalf of a handler: the paint session begins with the first drawing.
class Surface : public PaintSurface {
 public:
  explicit Surface(HWND window) : window_(window) {}
  ~Surface() override {
    if (dc_)
      EndPaint(window_, &paint_);
  }
  bool Began() const { return dc_ != nullptr; }

  Rect ClientRect() const override {
    RECT r{};
    GetClientRect(window_, &r);
    return FromRect(r);
  }
  void EraseIconBackground() override {
    SendMessageA(window_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(Dc()), 0);
  }
  bool DrawIcon(int x, int y, Handle icon) override {
    return icon && ::DrawIcon(Dc(), x, y, static_cast<HICON>(icon));
  }

 private:
  HDC Dc() {
    if (!dc_)
      dc_ = BeginPaint(window_, &paint_);
    return dc_;
  }

  HWND window_;
  HDC dc_ = nullptr;
  PAINTSTRUCT paint_{};
};
}  // namespace

DialogWindow::~DialogWindow() {
  Destroy();
}

bool DialogWindow::Create(const DialogDescription& layout, Handle owner, WindowEvents* events,
                          Handle menuBar) {
  Destroy();
  static const bool controlsReady = [] {
    INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES};
    return InitCommonControlsEx(&classes) != FALSE;
  }();
  if (!controlsReady)
    return false;
  DialogDescription hidden = layout;
  hidden.style &= ~static_cast<uint32_t>(WS_VISIBLE);
  std::vector<uint32_t> dialogTemplate = DialogTemplateBuilder::Build(hidden);
  events_ = events;
  // A Unicode dialog, so that its controls hold and hand out every character a user types or a
  // cell shows; the program's own texts still go in and out in the code page.
  HWND window = CreateDialogIndirectParamW(
      GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEW>(dialogTemplate.data()),
      AsWindow(owner), DialogProc, reinterpret_cast<LPARAM>(this));
  if (!window) {
    events_ = nullptr;
    return false;
  }
  window_ = window;
  if (menuBar) {
    RECT client{};
    GetClientRect(window, &client);
    SetMenu(window, static_cast<HMENU>(menuBar));
    AdjustWindowRectEx(&client, GetWindowLongA(window, GWL_STYLE), TRUE,
                       GetWindowLongA(window, GWL_EXSTYLE));
    SetWindowPos(window, nullptr, 0, 0, client.right - client.left, client.bottom - client.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return true;
}

void DialogWindow::Destroy() {
  if (window_) {
    HWND window = AsWindow(window_);
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
  }
  window_ = nullptr;
  events_ = nullptr;
  notifyTargets_.clear();
}

Handle DialogWindow::Control(int id) const {
  return window_ ? GetDlgItem(AsWindow(window_), id) : nullptr;
}

std::vector<Handle> DialogWindow::Controls() const {
  std::vector<Handle> controls;
  if (!window_)
    return controls;
  for (HWND child = GetWindow(AsWindow(window_), GW_CHILD); child;
       child = GetWindow(child, GW_HWNDNEXT)) {
    controls.push_back(child);
  }
  return controls;
}

bool DialogWindow::Holds(Handle window, Handle* control) const {
  HWND dialog = AsWindow(window_);
  HWND inner = AsWindow(window);
  if (!dialog || !inner)
    return false;
  *control = nullptr;
  if (inner == dialog)
    return true;
  if (!IsChild(dialog, inner))
    return false;
  // A combo box's edit part or a list's header is a window of its own inside the control.
  while (GetParent(inner) != dialog)
    inner = GetParent(inner);
  *control = inner;
  return true;
}

void DialogWindow::FocusFirstControl() {
  HWND dialog = AsWindow(window_);
  if (HWND first = GetNextDlgTabItem(dialog, nullptr, FALSE))
    SendMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
}

void DialogWindow::Show(unsigned showCmd) {
  ShowWindow(AsWindow(window_), static_cast<int>(showCmd));
}

bool DialogWindow::IsVisible() const {
  return IsWindowVisible(AsWindow(window_)) != FALSE;
}

bool DialogWindow::IsIconic() const {
  return ::IsIconic(AsWindow(window_)) != FALSE;
}

void DialogWindow::SetText(const std::string& text) {
  SetWindowTextA(AsWindow(window_), text.c_str());
}

std::string DialogWindow::Text() const {
  int length = GetWindowTextLengthA(AsWindow(window_));
  std::string text(static_cast<size_t>(length) + 1, '\0');
  length = GetWindowTextA(AsWindow(window_), text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  return text;
}

void DialogWindow::SetIcons(Handle big, Handle small) {
  SendMessageA(AsWindow(window_), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  SendMessageA(AsWindow(window_), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

void DialogWindow::AcceptFiles(bool accept) {
  DragAcceptFiles(AsWindow(window_), accept ? TRUE : FALSE);
}

bool DialogWindow::AppendSystemMenu(const MenuRow& row) {
  HMENU menu = GetSystemMenu(AsWindow(window_), FALSE);
  if (!menu)
    return false;
  if (row.kind == MenuRow::Kind::Separator)
    return AppendMenuA(menu, MF_SEPARATOR, 0, nullptr) != FALSE;
  return AppendMenuA(menu, MF_STRING, row.id, row.text.c_str()) != FALSE;
}

Rect DialogWindow::WindowRect() const {
  RECT r{};
  GetWindowRect(AsWindow(window_), &r);
  return FromRect(r);
}

Rect DialogWindow::ClientRect() const {
  RECT r{};
  GetClientRect(AsWindow(window_), &r);
  return FromRect(r);
}

void DialogWindow::Move(const Rect& rect, bool repaint) {
  MoveWindow(AsWindow(window_), rect.left, rect.top, rect.Width(), rect.Height(),
             repaint ? TRUE : FALSE);
}

bool DialogWindow::GetPlacement(Placement* placement) const {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  if (!GetWindowPlacement(AsWindow(window_), &wp))
    return false;
  placement->flags = wp.flags;
  placement->showCmd = wp.showCmd;
  placement->minX = wp.ptMinPosition.x;
  placement->minY = wp.ptMinPosition.y;
  placement->maxX = wp.ptMaxPosition.x;
  placement->maxY = wp.ptMaxPosition.y;
  placement->normal = FromRect(wp.rcNormalPosition);
  return true;
}

bool DialogWindow::SetPlacement(const Placement& placement) {
  WINDOWPLACEMENT wp{};
  wp.length = sizeof wp;
  wp.flags = placement.flags;
  wp.showCmd = placement.showCmd;
  wp.ptMinPosition = POINT{placement.minX, placement.minY};
  wp.ptMaxPosition = POINT{placement.maxX, placement.maxY};
  wp.rcNormalPosition = ToRect(placement.normal);
  return SetWindowPlacement(AsWindow(window_), &wp) != FALSE;
}

Rect DialogWindow::DialogUnitsToPixels(const Rect& units) const {
  RECT r = ToRect(units);
  MapDialogRect(AsWindow(window_), &r);
  return FromRect(r);
}

bool DialogWindow::BaseUnits(const std::string& fontName, int pointSize, int* x, int* y) {
  DialogDescription probe;
  probe.cx = 4;
  probe.cy = 8;
  probe.fontName = fontName;
  probe.pointSize = pointSize;
  probe.style = WS_POPUP;
  WindowEvents none;
  DialogWindow window;
  if (!window.Create(probe, nullptr, &none))
    return false;
  Rect units = window.DialogUnitsToPixels(Rect{0, 0, 4, 8});
  *x = units.Width();
  *y = units.Height();
  return true;
}

void DialogWindow::Redraw() {
  RedrawWindow(AsWindow(window_), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void DialogWindow::SetNotifyTarget(int id, NotifyTarget* target) {
  if (target)
    notifyTargets_[id] = target;
  else
    notifyTargets_.erase(id);
}

namespace {
// The names come in the code page's bytes, as every other text of the program.
std::vector<std::string> DroppedFiles(HDROP drop) {
  std::vector<std::string> names;
  UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    UINT length = DragQueryFileA(drop, i, nullptr, 0);
    std::string name(static_cast<size_t>(length) + 1, '\0');
    name.resize(DragQueryFileA(drop, i, name.data(), length + 1));
    names.push_back(std::move(name));
  }
  DragFinish(drop);
  return names;
}
}  // namespace

bool DialogWindow::Paint() {
  Surface surface(AsWindow(window_));
  bool painted = events_->OnPaint(surface);
  // Once begun, the session has validated the window: what the handler left is left unpainted.
  return painted || surface.Began();
}

bool DialogWindow::HandleMessage(unsigned message, uintptr_t wParam, intptr_t lParam,
                                 intptr_t* result) {
  if (message == WM_INITDIALOG) {
    window_ = reinterpret_cast<Handle>(wParam);
    return true;
  }
  if (!events_)
    return false;
  switch (message) {
    case WM_COMMAND:
      return events_->OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<Handle>(lParam));
    case WM_SYSCOMMAND:
      return events_->OnSysCommand(static_cast<unsigned>(wParam));
    case WM_SIZE:
      events_->OnSize(static_cast<unsigned>(wParam), LOWORD(lParam), HIWORD(lParam));
      return false;
    case WM_MOVE:
      events_->OnMove();
      return false;
    case WM_SHOWWINDOW:
      events_->OnShow(wParam != 0);
      return false;
    case WM_PAINT:
      return Paint();
    case WM_DROPFILES:
      events_->OnDropFiles(DroppedFiles(reinterpret_cast<HDROP>(wParam)));
      return true;
    case WM_CONTEXTMENU:
      return events_->OnContextMenu(reinterpret_cast<Handle>(wParam),
                                    static_cast<int16_t>(LOWORD(lParam)),
                                    static_cast<int16_t>(HIWORD(lParam)));
    case WM_QUERYDRAGICON:
      *result = reinterpret_cast<intptr_t>(events_->DragIcon());
      return *result != 0;
    case WM_SETCURSOR:
      *result = TRUE;
      return WaitCursor::Apply();
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      auto target = notifyTargets_.find(static_cast<int>(header->idFrom));
      return target != notifyTargets_.end() && target->second->OnNotify(lParam, result);
    }
    default:
      return false;
  }
}

}  // namespace native
