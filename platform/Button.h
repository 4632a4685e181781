// A push button or check box.
#pragma once

#include "platform/Wnd.h"

constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;

class CButton : public CWnd {
 public:
  int GetCheck() const { return checked_; }
  void SetCheck(int check);
  // The user clicks it: a check box toggles, then the parent hears BN_CLICKED.
  void Click();

  void Accept(ControlVisitor& visitor) override;

 protected:
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  bool IsCheckBox() const { return (GetStyle() & 0xF) == BS_AUTOCHECKBOX; }

  int checked_ = 0;
};
