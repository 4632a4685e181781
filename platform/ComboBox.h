// A combo box: a list of strings, kept in the order added, and the selected entry.
#pragma once

#include <string>
#include <vector>

#include "platform/Wnd.h"

class CComboBox : public CWnd {
 public:
  int AddString(const std::string& text);
  // Selects an entry; an index outside the list selects nothing and empties the edit part.
  int SetCurSel(int index);
  int GetCurSel() const { return selected_; }
  int GetCount() const { return static_cast<int>(items_.size()); }
  const std::string& GetItemText(int index) const { return items_[static_cast<size_t>(index)]; }

  // The user picks entry `index` from the list: the parent hears CBN_SELCHANGE.
  void Pick(int index);

  void Accept(ControlVisitor& visitor) override;

 protected:
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  std::vector<std::string> items_;
  int selected_ = CB_ERR;
};
