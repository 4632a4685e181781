// A push button or check box.
#pragma once

#include "platform/Wnd.h"

class CButton : public CWnd {
 public:
  int GetCheck() const { return checked_; }
  void SetCheck(int check);
  // The user clicks it: a check box toggles, then the parent hears BN_CLICKED.
  void Click();

 protected:
  void ResetControl() override { checked_ = 0; }

 private:
  int checked_ = 0;
};
