// An edit box, of one line or of several (ES_MULTILINE), with a length limit on what the user
// can type; a limit of 0 is none.
#pragma once

#include <string>
#include <vector>

#include "platform/Wnd.h"

constexpr UINT EM_LIMITTEXT = 0x00C5;

class CEdit : public CWnd {
 public:
  void LimitText(int maxChars);
  int GetLimitText() const { return limit_; }
  // The user types: the text is replaced, and stops at the limit.
  void Type(const std::string& text);
  // The user types characters that more than one text of bytes shows: the window text becomes
  // the first of `forms`, and the others are kept beside it.
  void TypeForms(const std::vector<std::string>& forms);
  std::vector<std::string> GetWindowTextForms() const override;

  void Accept(ControlVisitor& visitor) override;

 protected:
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  static constexpr int kDefaultLimit = 30000;

  int limit_ = kDefaultLimit;
  std::string typedText_;
  std::vector<std::string> otherForms_;
};
