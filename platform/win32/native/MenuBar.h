// A menu bar built from a flat description, with check marks read and set by command id.
#pragma once

#include <vector>

#include "platform/win32/native/NativeTypes.h"

namespace native {

class MenuBar {
 public:
  MenuBar() = default;
  // A bar that was never attached to a window is destroyed here; an attached one goes with its
  // window.
  ~MenuBar();
  MenuBar(const MenuBar&) = delete;
  MenuBar& operator=(const MenuBar&) = delete;

  bool Build(const std::vector<MenuRow>& rows);
  Handle Get() const { return menu_; }
  // The window takes the bar over.
  void Attached() { attached_ = true; }

  // Searches every pop-up. False when no item has the id.
  bool SetChecked(unsigned id, bool checked);
  bool IsChecked(unsigned id) const;

 private:
  Handle menu_ = nullptr;
  bool attached_ = false;
};

}  // namespace native
