// A single-line edit box with a length limit on what the user can type.
#pragma once

#include <string>

#include "platform/Wnd.h"

class CEdit : public CWnd {
 public:
  void LimitText(int maxChars);
  int GetLimitText() const { return limit_; }
  // The user types: the text is replaced, and stops at the limit.
  void Type(const std::string& text);

 protected:
  void ResetControl() override { limit_ = 30000; }

 private:
  int limit_ = 30000;
};
