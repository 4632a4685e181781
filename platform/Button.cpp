#include "platform/Button.h"

#include "platform/Backend.h"
#include "platform/ControlVisitor.h"

void CButton::SetCheck(int check) {
  checked_ = check ? 1 : 0;
  CurrentBackend().Show(*this, &WindowPeer::StateChanged);
}

void CButton::Click() {
  if (IsCheckBox())
    SetCheck(!checked_);
  if (CWnd* parent = GetParent()) {
    parent->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID()), BN_CLICKED),
                        reinterpret_cast<LPARAM>(this));
  }
}

void CButton::Accept(ControlVisitor& visitor) {
  if (IsCheckBox()) {
    visitor.CheckBox(*this);
    return;
  }
  visitor.PushButton(*this);
}

LRESULT CButton::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      checked_ = 0;
      return 0;
    case BM_GETCHECK:
      return checked_;
    case BM_SETCHECK:
      SetCheck(static_cast<int>(wParam));
      return 0;
    default:
      return CWnd::DefWindowProc(message, wParam, lParam);
  }
}
