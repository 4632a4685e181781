#include "platform/Dialog.h"

#include <algorithm>
#include <cstdio>

#include "platform/App.h"
#include "platform/Backend.h"
#include "platform/Button.h"
#include "platform/ComboBox.h"
#include "platform/Edit.h"
#include "platform/KeyState.h"
#include "platform/ListCtrl.h"
#include "platform/WorkProgress.h"

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

namespace {
// An object of the template row's window class, for a control that the program did not bind.
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

void CDialog::BindControls() {
  bound_.clear();
  CDataExchange binding(this, false, true);
  DoDataExchange(&binding);
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
  // A bound object becomes the first control with its id; the others are the dialog's own.
  std::vector<std::pair<int, CWnd*>> unused = bound_;
  for (const ControlTemplate& row : source.controls) {
    RECT pixels = ToPixels(row.x, row.y, row.cx, row.cy);
    auto bound = std::find_if(unused.begin(), unused.end(),
                              [&](const std::pair<int, CWnd*>& b) { return b.first == row.id; });
    if (bound == unused.end()) {
      AddControl(MakeControl(row.kind), row, pixels);
      continue;
    }
    AddControl(*bound->second, row, pixels);
    unused.erase(bound);
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
  CWorkProgress::EndForModal();
  CWinApp* app = AfxGetApp();
  CWnd* owner = requestedParent_;
  if (!owner && app && app->m_pMainWnd != this)
    owner = app->m_pMainWnd;
  parent_ = owner;
  ended_ = false;
  result_ = IDCANCEL;
  BindControls();
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
  KeyStateScope keys(msg);
  if (PreTranslateInput(msg))
    return;
  msg.hwnd->SendMessage(msg.message, msg.wParam, msg.lParam);
}

BOOL CDialog::PreTranslateInput(MSG& msg) {
  if (!msg.hwnd)
    msg.hwnd = this;
  for (CWnd* w = msg.hwnd; w; w = (w->GetStyle() & WS_CHILD) ? w->GetParent() : nullptr) {
    if (w->PreTranslateMessage(&msg))
      return TRUE;
  }
  return FALSE;
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
  for (auto& [boundId, boundObject] : bound_) {
    if (boundId == id) {
      boundObject = &object;
      return;
    }
  }
  bound_.emplace_back(id, &object);
}

// The window's controls are built into the bound objects, so the exchanges after the binding
// pass find them in place.
void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
  if (pDX->binding)
    pDX->m_pDlgWnd->BindControl(id, control);
}

void DDX_Check(CDataExchange* pDX, int id, int& value) {
  if (pDX->binding)
    return;
  CWnd* button = pDX->m_pDlgWnd->GetDlgItem(id);
  pDX->m_idLastControl = id;
  if (!button)
    return;
  if (pDX->m_bSaveAndValidate) {
    value = static_cast<int>(button->SendMessage(BM_GETCHECK));
  } else {
    button->SendMessage(BM_SETCHECK, static_cast<WPARAM>(value));
  }
}

void DDX_Text(CDataExchange* pDX, int id, std::vector<std::string>& forms) {
  if (pDX->binding)
    return;
  CWnd* control = pDX->m_pDlgWnd->GetDlgItem(id);
  pDX->m_idLastControl = id;
  if (!control)
    return;
  if (pDX->m_bSaveAndValidate) {
    forms = control->GetWindowTextForms();
  } else {
    control->SetWindowText(forms.empty() ? std::string() : forms.front());
  }
}

void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int maxChars) {
  if (pDX->binding)
    return;
  if (!pDX->m_bSaveAndValidate) {
    if (CWnd* edit = pDX->m_pDlgWnd->GetDlgItem(pDX->m_idLastControl))
      edit->SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(maxChars));
    return;
  }
  if (static_cast<int>(value.size()) <= maxChars)
    return;
  char text[64];
  std::snprintf(text, sizeof text, "Enter no more than %d characters.", maxChars);
  pDX->m_pDlgWnd->MessageBox(text);
  pDX->failed = true;
}
