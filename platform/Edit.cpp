#include "platform/Edit.h"

#include "platform/Backend.h"
#include "platform/ControlVisitor.h"

// A backend that shows the box enforces the limit as the user types, so it hears of a new one.
void CEdit::LimitText(int maxChars) {
  limit_ = maxChars;
  CurrentBackend().Show(*this, &WindowPeer::StateChanged);
}

void CEdit::Type(const std::string& text) {
  size_t keep = limit_ > 0 ? static_cast<size_t>(limit_) : text.size();
  SetWindowText(text.substr(0, keep));
}

void CEdit::TypeForms(const std::vector<std::string>& forms) {
  if (forms.empty())
    return;
  otherForms_.assign(forms.begin() + 1, forms.end());
  typedText_ = forms.front();
  SetWindowText(typedText_);
}

std::vector<std::string> CEdit::GetWindowTextForms() const {
  std::vector<std::string> forms{text_};
  if (text_ == typedText_)
    forms.insert(forms.end(), otherForms_.begin(), otherForms_.end());
  return forms;
}

void CEdit::Accept(ControlVisitor& visitor) {
  if (style_ & ES_MULTILINE) {
    visitor.MultiLineEdit(*this);
    return;
  }
  visitor.Edit(*this);
}

LRESULT CEdit::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      limit_ = kDefaultLimit;
      return 0;
    case EM_LIMITTEXT:
      LimitText(static_cast<int>(wParam));
      return 0;
    default:
      return CWnd::DefWindowProc(message, wParam, lParam);
  }
}
