#include "platform/Button.h"

#include "platform/Backend.h"

void CButton::SetCheck(int check) {
  checked_ = check ? 1 : 0;
  CurrentBackend().ControlChanged(*this);
}

void CButton::Click() {
  if ((GetStyle() & 0xF) == BS_AUTOCHECKBOX)
    SetCheck(!checked_);
  if (CWnd* parent = GetParent()) {
    parent->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID()), BN_CLICKED),
                        reinterpret_cast<LPARAM>(this));
  }
}
