#include "platform/Edit.h"

void CEdit::Type(const std::string& text) {
  size_t keep = limit_ > 0 ? static_cast<size_t>(limit_) : text.size();
  SetWindowText(text.substr(0, keep));
}
