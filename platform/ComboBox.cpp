#include "platform/ComboBox.h"

#include "platform/Backend.h"
#include "platform/ControlVisitor.h"

int CComboBox::AddString(const std::string& text) {
  items_.push_back(text);
  CurrentBackend().Show(*this, &WindowPeer::StateChanged);
  return GetCount() - 1;
}

int CComboBox::SetCurSel(int index) {
  bool inside = index >= 0 && index < GetCount();
  selected_ = inside ? index : CB_ERR;
  text_ = inside ? items_[static_cast<size_t>(index)] : std::string();
  CurrentBackend().Show(*this, &WindowPeer::StateChanged);
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

void CComboBox::Accept(ControlVisitor& visitor) {
  visitor.ComboBox(*this);
}

// A combo box is created empty, whatever an earlier window of the same object listed.
LRESULT CComboBox::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_CREATE)
    return CWnd::DefWindowProc(message, wParam, lParam);
  items_.clear();
  selected_ = CB_ERR;
  return 0;
}
