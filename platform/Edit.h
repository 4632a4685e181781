// A single-line edit box with a length limit on what the user can type.
#pragma once

#include <string>

#include "platform/Wnd.h"

constexpr UINT EM_LIMITTEXT = 0x00C5;

class CEdit : public CWnd {
 public:
  void LimitText(int maxChars);
  int GetLimitText() const { return limit_; }
  // The user types: the text is replaced, and stops at the limit.
  void Type(const std::string& text);

  void Accept(ControlVisitor& visitor) override;

 protected:
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  static constexpr int kDefaultLimit = 30000;

  int limit_ = kDefaultLimit;
};
