#include "platform/Wnd.h"

#include <algorithm>

#include "platform/App.h"
#include "platform/Backend.h"
#include "platform/ControlVisitor.h"
#include "platform/KeyState.h"
#include "platform/WorkProgress.h"

namespace {
CWnd* lockedWindow = nullptr;

// The low bits of a static control's style say what it shows.
constexpr DWORD kStaticTypeMask = 0x1F;

}  // namespace

CWnd::~CWnd() {
  if (lockedWindow == this)
    lockedWindow = nullptr;
}

void CWnd::SetWindowText(const std::string& text) {
  text_ = text;
  CurrentBackend().WindowTextChanged(*this);
}

HICON CWnd::SetIcon(HICON icon, BOOL big) {
  HICON& slot = big ? bigIcon_ : smallIcon_;
  HICON previous = slot;
  slot = icon;
  CurrentBackend().Show(*this, &WindowPeer::IconChanged);
  return previous;
}

void CWnd::DragAcceptFiles(BOOL accept) {
  exStyle_ = accept ? exStyle_ | WS_EX_ACCEPTFILES : exStyle_ & ~WS_EX_ACCEPTFILES;
  CurrentBackend().Show(*this, &WindowPeer::DropTargetChanged);
}

BOOL CWnd::IsWindowVisible() const {
  if (!visible_)
    return FALSE;
  if ((style_ & WS_CHILD) && parent_)
    return parent_->IsWindowVisible();
  return TRUE;
}

void CWnd::ShowWindow(UINT showCmd) {
  visible_ = showCmd != SW_HIDE;
  if (showCmd == SW_SHOWMINIMIZED || showCmd == SW_SHOWMAXIMIZED || showCmd == SW_SHOWNORMAL) {
    placement_.showCmd = showCmd;
  }
  CurrentBackend().Show(*this, &WindowPeer::RectChanged);
  if (!visible_)
    return;
  SendSize(IsZoomed() ? SIZE_MAXIMIZED : IsIconic() ? SIZE_MINIMIZED : SIZE_RESTORED);
}

void CWnd::SendSize(UINT type) {
  RECT client;
  GetClientRect(&client);
  sizedClient_ = POINT{client.Width(), client.Height()};
  SendMessage(WM_SIZE, type,
              static_cast<LPARAM>(MAKEWPARAM(static_cast<WORD>(client.Width()),
                                             static_cast<WORD>(client.Height()))));
}

RECT CWnd::CurrentRect() const {
  if (!(style_ & WS_CHILD) && IsZoomed())
    return CurrentBackend().WorkArea();
  return placement_.rcNormalPosition;
}

void CWnd::GetWindowRect(RECT* rect) const {
  *rect = CurrentRect();
}

void CWnd::GetClientRect(RECT* rect) const {
  RECT outer = CurrentRect();
  *rect = RECT{0, 0, outer.Width(), outer.Height()};
  if (style_ & WS_CHILD)
    return;
  RECT insets = CurrentBackend().NonClientInsets(*this);
  rect->right =
      RECT::Clamp(std::max<int64_t>(0, int64_t{outer.Width()} - insets.left - insets.right));
  rect->bottom =
      RECT::Clamp(std::max<int64_t>(0, int64_t{outer.Height()} - insets.top - insets.bottom));
}

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
  placement_.rcNormalPosition = RECT{x, y, x + width, y + height};
  moved_ = true;
  CurrentBackend().Show(*this, &WindowPeer::RectChanged);
  if (repaint)
    CurrentBackend().Show(*this, &WindowPeer::Redraw);
  SendSize(SIZE_RESTORED);
}

BOOL CWnd::GetWindowPlacement(WINDOWPLACEMENT* placement) const {
  *placement = placement_;
  placement->length = sizeof(WINDOWPLACEMENT);
  placement->flags = 0;
  placement->ptMinPosition = POINT{-1, -1};
  placement->ptMaxPosition = POINT{-1, -1};
  return TRUE;
}

BOOL CWnd::SetWindowPlacement(const WINDOWPLACEMENT* placement) {
  placement_.rcNormalPosition = placement->rcNormalPosition;
  placement_.showCmd =
      placement->showCmd == SW_SHOWMINIMIZED || placement->showCmd == SW_SHOWMAXIMIZED
          ? placement->showCmd
          : SW_SHOWNORMAL;
  visible_ = placement->showCmd != SW_HIDE;
  moved_ = true;
  CurrentBackend().Show(*this, &WindowPeer::RectChanged);
  SendSize(IsZoomed() ? SIZE_MAXIMIZED : IsIconic() ? SIZE_MINIMIZED : SIZE_RESTORED);
  return TRUE;
}

void CWnd::ReportPlacement(UINT showCmd, const RECT& normal, POINT clientSize) {
  if (reporting_)
    return;
  if (showCmd == placement_.showCmd && normal == placement_.rcNormalPosition &&
      clientSize.x == sizedClient_.x && clientSize.y == sizedClient_.y) {
    return;
  }
  WINDOWPLACEMENT placement;
  GetWindowPlacement(&placement);
  placement.showCmd = showCmd;
  placement.rcNormalPosition = normal;
  reporting_ = true;
  SetWindowPlacement(&placement);
  // The client size reported stands, even where the platform reckons the frame otherwise, so
  // that the same report is not taken again.
  sizedClient_ = clientSize;
  reporting_ = false;
}

BOOL CWnd::RedrawWindow(UINT /*flags*/) {
  CurrentBackend().Show(*this, &WindowPeer::Redraw);
  return TRUE;
}

// The window system's items, as the frame styles allow them.
void CWnd::FillSystemMenu(CMenu& menu) const {
  bool sizable = (style_ & WS_THICKFRAME) != 0;
  bool minimizes = !(style_ & WS_CHILD) && (style_ & WS_MINIMIZEBOX);
  bool maximizes = !(style_ & WS_CHILD) && (style_ & WS_MAXIMIZEBOX);
  if (minimizes || maximizes)
    menu.AppendMenu(MF_STRING, SC_RESTORE, "&Restore");
  menu.AppendMenu(MF_STRING, SC_MOVE, "&Move");
  if (sizable)
    menu.AppendMenu(MF_STRING, SC_SIZE, "&Size");
  if (minimizes)
    menu.AppendMenu(MF_STRING, SC_MINIMIZE, "Mi&nimize");
  if (maximizes)
    menu.AppendMenu(MF_STRING, SC_MAXIMIZE, "Ma&ximize");
  menu.AppendMenu(MF_SEPARATOR);
  menu.AppendMenu(MF_STRING, SC_CLOSE, "&Close\tAlt+F4");
}

CMenu* CWnd::GetSystemMenu(BOOL revert) {
  if (revert) {
    systemMenu_.reset();
    return nullptr;
  }
  if (!systemMenu_) {
    systemMenu_ = std::make_unique<CMenu>(this);
    FillSystemMenu(*systemMenu_);
  }
  return systemMenu_.get();
}

CWnd* CWnd::GetDlgItem(int id) const {
  for (CWnd* child : children_) {
    if (child->id_ == id)
      return child;
  }
  return nullptr;
}

int CWnd::MessageBox(const char* text, const char* caption, UINT type) {
  std::string title = caption ? std::string(caption) : AfxGetApp()->m_pszAppName;
  CWorkProgress::EndForModal();
  return CurrentBackend().MessageBox(*this, text ? text : "", title, type);
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  Current saved = current_;
  current_ = Current{message, wParam, lParam};
  LRESULT result = WindowProc(message, wParam, lParam);
  current_ = saved;
  return result;
}

BOOL CWnd::PreTranslateMessage(MSG* /*msg*/) {
  return FALSE;
}

BOOL CWnd::DestroyWindow() {
  visible_ = false;
  if (lockedWindow == this)
    lockedWindow = nullptr;
  RemoveChildren();
  return TRUE;
}

BOOL CWnd::LockWindowUpdate() {
  if (lockedWindow && lockedWindow != this)
    return FALSE;
  lockedWindow = this;
  return TRUE;
}

void CWnd::UnlockWindowUpdate() {
  CWnd* was = lockedWindow;
  lockedWindow = nullptr;
  if (was)
    was->OnLockReleased();
}

bool CWnd::IsDrawingLocked() const {
  for (const CWnd* w = this; w; w = w->parent_) {
    if (w == lockedWindow)
      return true;
  }
  return false;
}

void CWnd::Accept(ControlVisitor& visitor) {
  if ((style_ & kStaticTypeMask) == SS_ICON) {
    visitor.Icon(*this);
    return;
  }
  visitor.StaticText(*this);
}

void CWnd::AddControl(CWnd& control, const ControlTemplate& source, RECT pixels) {
  control.id_ = source.id;
  control.style_ = source.style | WS_CHILD;
  control.exStyle_ = source.exStyle;
  control.text_ = source.text ? source.text : "";
  control.parent_ = this;
  control.visible_ = (source.style & WS_VISIBLE) != 0;
  control.moved_ = false;
  control.placement_ = WINDOWPLACEMENT();
  control.placement_.rcNormalPosition = pixels;
  children_.push_back(&control);
  control.SendMessage(WM_CREATE);
}

void CWnd::AddControl(std::unique_ptr<CWnd> control, const ControlTemplate& source, RECT pixels) {
  CWnd& raw = *control;
  ownedChildren_.push_back(std::move(control));
  AddControl(raw, source, pixels);
}

void CWnd::RemoveChildren() {
  for (CWnd* child : children_) {
    child->parent_ = nullptr;
    child->visible_ = false;
    child->peer = nullptr;
  }
  children_.clear();
  ownedChildren_.clear();
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) {
    return OnCommand(wParam, lParam) ? 1 : DefWindowProc(message, wParam, lParam);
  }
  if (message == WM_NOTIFY) {
    LRESULT result = 0;
    if (OnNotify(wParam, lParam, &result))
      return result;
    return DefWindowProc(message, wParam, lParam);
  }
  if (const MessageMapEntry* entry = FindEntry(message, 0, 0)) {
    return entry->thunk(*this, wParam, lParam);
  }
  return DefWindowProc(message, wParam, lParam);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  UINT id = LOWORD(wParam);
  // Menus and accelerators both arrive as plain commands; only controls carry their own code.
  int code = lParam == 0 ? 0 : HIWORD(wParam);
  if (lParam != 0) {
    CWnd* control = reinterpret_cast<CWnd*>(lParam);
    if (control->OnChildNotify(WM_COMMAND, wParam, lParam, nullptr))
      return TRUE;
  }
  return OnCmdMsg(id, code) ? TRUE : FALSE;
}

// A control's own map sees its notification first; what it does not reflect goes to this
// window's map.
BOOL CWnd::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
  NMHDR* header = reinterpret_cast<NMHDR*>(lParam);
  if (!header)
    return FALSE;
  if (header->hwndFrom && header->hwndFrom->OnChildNotify(WM_NOTIFY, wParam, lParam, result))
    return TRUE;
  const MessageMapEntry* entry = FindEntry(WM_NOTIFY, header->code, header->idFrom);
  if (!entry)
    return FALSE;
  *result = entry->thunk(*this, wParam, lParam);
  return TRUE;
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message != WM_NOTIFY)
    return FALSE;
  const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
  const MessageMapEntry* entry = FindEntry(WM_NOTIFY, header->code, 0);
  if (!entry)
    return FALSE;
  LRESULT r = entry->thunk(*this, wParam, lParam);
  if (result)
    *result = r;
  return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ICONERASEBKGND)
    CurrentBackend().EraseIconBackground(*this);
  // The menu key and Shift+F10 ask for the window's context menu, which a child leaves to its
  // parent when it has none of its own.
  bool shift = GetKeyState(VK_SHIFT) < 0;
  if (message == WM_KEYDOWN && (wParam == VK_APPS || (wParam == VK_F10 && shift)))
    SendMessage(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(this), -1);
  if (message == WM_CONTEXTMENU && (style_ & WS_CHILD) && parent_)
    parent_->SendMessage(message, wParam, lParam);
  if (message != WM_SYSCOMMAND)
    return 0;
  if (CurrentBackend().DefaultSystemCommand(*this, static_cast<UINT>(wParam)))
    return 0;
  switch (wParam & 0xFFF0) {
    case SC_CLOSE:
      SendMessage(WM_CLOSE);
      break;
    case SC_MINIMIZE:
      ShowWindow(SW_SHOWMINIMIZED);
      break;
    case SC_MAXIMIZE:
      ShowWindow(SW_SHOWMAXIMIZED);
      break;
    case SC_RESTORE:
      ShowWindow(SW_SHOWNORMAL);
      break;
    case SC_MOVE:
    case SC_SIZE:
      CurrentBackend().BeginMoveOrSize(*this, wParam & 0xFFF0);
      break;
    case SC_KEYMENU:
      CurrentBackend().ShowSystemMenu(*this);
      break;
    default:
      break;
  }
  return 0;
}

LRESULT CWnd::Default() {
  return DefWindowProc(current_.message, current_.wParam, current_.lParam);
}
