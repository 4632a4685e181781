#include "platform/ComboBox.h"

#include "platform/Backend.h"

int CComboBox::AddString(const std::string& text) {
  items_.push_back(text);
  CurrentBackend().ControlChanged(*this);
  return GetCount() - 1;
}

int CComboBox::SetCurSel(int index) {
  bool inside = index >= 0 && index < GetCount();
  selected_ = inside ? index : CB_ERR;
  text_ = inside ? items_[static_cast<size_t>(index)] : std::string();
  CurrentBackend().ControlChanged(*this);
  return inside ? index : CB_ERR;
}

void CComboBox::Pick(int index) {
  if (index < 0 || index >= GetCount())
    return;
  SetCurSel(index);
  if (CWnd* parent = GetParent()) {
    parent->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(GetDlgCtrlID()), CBN_SELCHANGE),
                        reinterpret_cast<LPARAM>(this));
  }
}
