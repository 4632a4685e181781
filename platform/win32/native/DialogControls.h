// The dialog's simple controls, reached by id: static texts and icons, push buttons, check boxes,
// edit boxes and combo boxes. Their notifications come through the dialog's WM_COMMAND.
#pragma once

#include <string>

#include "platform/win32/native/NativeTypes.h"

namespace native {

class DialogControls {
 public:
  explicit DialogControls(Handle dialog) : dialog_(dialog) {}

  bool SetText(int id, const std::string& text);
  std::string Text(int id) const;
  bool SetChecked(int id, bool checked);
  bool IsChecked(int id) const;
  bool Enable(int id, bool enabled);
  bool Focus(int id);
  // Limits what the user can type into an edit box.
  bool LimitText(int id, int characters);
  bool SetIcon(int id, Handle icon);

  // Combo boxes. ComboAdd returns the new item's index, or -1.
  int ComboAdd(int id, const std::string& text);
  void ComboClear(int id);
  int ComboCount(int id) const;
  // An index outside the list selects nothing and empties the edit part.
  void ComboSelect(int id, int index);
  int ComboSelection(int id) const;

 private:
  intptr_t Send(int id, unsigned message, uintptr_t wParam = 0, intptr_t lParam = 0) const;

  Handle dialog_;
};

}  // namespace native
