// The dialog's simple controls, reached by id (ControlWindow does the work). Their notifications
// come through the dialog's WM_COMMAND.
#pragma once

#include <string>

#include "platform/win32/native/ControlWindow.h"
#include "platform/win32/native/NativeTypes.h"

namespace native {

class DialogControls {
 public:
  explicit DialogControls(Handle dialog) : dialog_(dialog) {}

  // The first control with the id.
  ControlWindow Of(int id) const;

  bool SetText(int id, const std::string& text) { return Of(id).SetText(text); }
  std::string Text(int id) const { return Of(id).Text(); }
  bool SetChecked(int id, bool checked) { return Of(id).SetChecked(checked); }
  bool IsChecked(int id) const { return Of(id).IsChecked(); }
  bool Enable(int id, bool enabled) { return Of(id).Enable(enabled); }
  bool Focus(int id) { return Of(id).Focus(); }
  bool LimitText(int id, int characters) { return Of(id).LimitText(characters); }
  bool SetIcon(int id, Handle icon) { return Of(id).SetIcon(icon); }

  int ComboAdd(int id, const std::u16string& text) { return Of(id).ComboAdd(text); }
  void ComboClear(int id) { Of(id).ComboClear(); }
  int ComboCount(int id) const { return Of(id).ComboCount(); }
  void ComboSelect(int id, int index) { Of(id).ComboSelect(index); }
  int ComboSelection(int id) const { return Of(id).ComboSelection(); }

 private:
  Handle dialog_;
};

}  // namespace native
