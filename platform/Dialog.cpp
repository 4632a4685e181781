#include "platform/Dialog.h"

#include <cstdio>

#include "platform/App.h"
#include "platform/Backend.h"
#include "platform/Button.h"
#include "platform/ComboBox.h"
#include "platform/Edit.h"
#include "platform/ListCtrl.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

namespace {
std::unique_ptr<CWnd> MakeControl(ControlKind kind) {
  switch (kind) {
    case ControlKind::ComboBox:
      return std::make_unique<CComboBox>();
    case ControlKind::Edit:
      return std::make_unique<CEdit>();
    case ControlKind::Button:
    case ControlKind::CheckBox:
      return std::make_unique<CButton>();
    case ControlKind::ListView:
      return std::make_unique<CListCtrl>();
    case ControlKind::Static:
    case ControlKind::Icon:
      break;
  }
  return std::make_unique<CWnd>();
}
}  // namespace

CDialog::CDialog(int templateId, CWnd* parent)
    : templateId_(templateId), requestedParent_(parent) {}

const DialogTemplate* CDialog::Template() const {
  return FindDialogTemplate(templateId_);
}

RECT CDialog::ToPixels(int x, int y, int cx, int cy) const {
  POINT base = CurrentBackend().DialogBaseUnits();
  LONG left = x * base.x / 4;
  LONG top = y * base.y / 8;
  return RECT{left, top, left + cx * base.x / 4, top + cy * base.y / 8};
}

void CDialog::CreateFromTemplate(const DialogTemplate& source) {
  RemoveChildren();
  text_ = source.caption ? source.caption : "";
  style_ = source.style;
  exStyle_ = source.exStyle;
  visible_ = false;
  moved_ = false;
  placement_ = WINDOWPLACEMENT();
  if (source.menuId != 0) {
    if (const MenuTemplate* menu = FindMenuTemplate(source.menuId))
      SetMenu(CMenu::Load(*menu, this));
  }
  RECT client = ToPixels(source.x, source.y, source.cx, source.cy);
  RECT insets = CurrentBackend().NonClientInsets(*this);
  placement_.rcNormalPosition =
      RECT{client.left, client.top, client.right + insets.left + insets.right,
           client.bottom + insets.top + insets.bottom};
  for (const ControlTemplate& row : source.controls) {
    AddControl(MakeControl(row.kind), row, ToPixels(row.x, row.y, row.cx, row.cy));
  }
}

void CDialog::CentreOver(const CWnd* owner) {
  RECT area = CurrentBackend().WorkArea();
  if (owner)
    owner->GetWindowRect(&area);
  RECT r = placement_.rcNormalPosition;
  // An owner placed anywhere at all must not carry the sums past what a LONG holds.
  int64_t x = area.left + (int64_t{area.Width()} - r.Width()) / 2;
  int64_t y = area.top + (int64_t{area.Height()} - r.Height()) / 2;
  placement_.rcNormalPosition =
      RECT{RECT::Clamp(x), RECT::Clamp(y), RECT::Clamp(x + r.Width()), RECT::Clamp(y + r.Height())};
}

int CDialog::DoModal() {
  const DialogTemplate* source = Template();
  if (!source)
    return -1;
  CWinApp* app = AfxGetApp();
  CWnd* owner = requestedParent_;
  if (!owner && app && app->m_pMainWnd != this)
    owner = app->m_pMainWnd;
  parent_ = owner;
  ended_ = false;
  result_ = IDCANCEL;
  CreateFromTemplate(*source);
  Backend& backend = CurrentBackend();
  if (!backend.CreateDialogWindow(*this)) {
    RemoveChildren();
    return -1;
  }
  running_ = true;
  OnInitDialog();
  if (!ended_) {
    // A window that initialisation neither showed nor moved opens centred.
    if (!visible_ && !moved_)
      CentreOver(owner);
    visible_ = true;
    backend.ShowDialogWindow(*this);
    SendMessage(WM_SHOWWINDOW, TRUE, 0);
  }
  bool alive = ended_ || backend.RunModalLoop(*this);
  running_ = false;
  if (!alive) {
    // The process is gone: nothing of the shutdown runs.
    RemoveChildren();
    return -1;
  }
  DestroyWindow();
  return result_;
}

void CDialog::EndDialog(int result) {
  result_ = result;
  ended_ = true;
  CurrentBackend().EndModalLoop(*this);
}

BOOL CDialog::DestroyWindow() {
  CurrentBackend().DestroyDialogWindow(*this);
  return CWnd::DestroyWindow();
}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
  CDataExchange dx(this, saveAndValidate != FALSE);
  DoDataExchange(&dx);
  return dx.failed ? FALSE : TRUE;
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE))
    return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() {
  EndDialog(IDCANCEL);
}

void CDialog::PumpMessage(MSG& msg) {
  if (!msg.hwnd)
    msg.hwnd = this;
  for (CWnd* w = msg.hwnd; w; w = (w->GetStyle() & WS_CHILD) ? w->GetParent() : nullptr) {
    if (w->PreTranslateMessage(&msg))
      return;
  }
  msg.hwnd->SendMessage(msg.message, msg.wParam, msg.lParam);
}

void CDialog::SendDialogKey(int id) {
  CWnd* button = GetDlgItem(id);
  WORD code = BN_CLICKED;
  SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), code),
              reinterpret_cast<LPARAM>(button));
}

// The dialog manager's keys: Enter is the default button, Escape is Cancel. A dialog without such
// buttons gets the command with no control handle.
BOOL CDialog::PreTranslateMessage(MSG* msg) {
  if (msg->message != WM_KEYDOWN || msg->ctrl)
    return FALSE;
  if (msg->wParam == VK_RETURN) {
    SendDialogKey(IDOK);
    return TRUE;
  }
  if (msg->wParam == VK_ESCAPE) {
    SendDialogKey(IDCANCEL);
    return TRUE;
  }
  return FALSE;
}

bool CDialog::OnCmdMsg(UINT id, int code) {
  if (CWnd::OnCmdMsg(id, code))
    return true;
  CWinApp* app = AfxGetApp();
  return app && app->OnCmdMsg(id, code);
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CLOSE) {
    SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    return 0;
  }
  return CWnd::DefWindowProc(message, wParam, lParam);
}

void CDialog::BindControl(int id, CWnd& object) {
  for (size_t i = 0; i < children_.size(); ++i) {
    CWnd* placeholder = children_[i];
    if (placeholder->GetDlgCtrlID() != id || placeholder == &object)
      continue;
    object.Attach(*placeholder);
    children_[i] = &object;
    for (auto it = ownedChildren_.begin(); it != ownedChildren_.end(); ++it) {
      if (it->get() == placeholder) {
        ownedChildren_.erase(it);
        break;
      }
    }
    return;
  }
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
  if (control.GetParent() == pDX->m_pDlgWnd && control.GetDlgCtrlID() == id)
    return;
  pDX->m_pDlgWnd->BindControl(id, control);
}

void DDX_Check(CDataExchange* pDX, int id, int& value) {
  auto* button = dynamic_cast<CButton*>(pDX->m_pDlgWnd->GetDlgItem(id));
  pDX->m_idLastControl = id;
  if (!button)
    return;
  if (pDX->m_bSaveAndValidate) {
    value = button->GetCheck();
  } else {
    button->SetCheck(value);
  }
}

void DDX_Text(CDataExchange* pDX, int id, std::string& value) {
  CWnd* control = pDX->m_pDlgWnd->GetDlgItem(id);
  pDX->m_idLastControl = id;
  if (!control)
    return;
  if (pDX->m_bSaveAndValidate) {
    value = control->GetWindowText();
  } else {
    control->SetWindowText(value);
  }
}

void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int maxChars) {
  auto* edit = dynamic_cast<CEdit*>(pDX->m_pDlgWnd->GetDlgItem(pDX->m_idLastControl));
  if (!pDX->m_bSaveAndValidate) {
    if (edit)
      edit->LimitText(maxChars);
    return;
  }
  if (static_cast<int>(value.size()) <= maxChars)
    return;
  char text[64];
  std::snprintf(text, sizeof text, "Enter no more than %d characters.", maxChars);
  pDX->m_pDlgWnd->MessageBox(text);
  pDX->failed = true;
}
