#include "platform/qt/StaticTextPeer.h"

#include <string>

#include "platform/Wnd.h"
#include "platform/qt/EightBitText.h"

namespace {
// A static text without SS_NOPREFIX shows "&x" as an underlined x and "&&" as "&"; the labels
// here show plain text, so the marks go.
std::string WithoutMnemonics(const std::string& text) {
  std::string plain;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size())
      ++i;
    else if (text[i] == '&')
      continue;
    plain += text[i];
  }
  return plain;
}
}  // namespace

StaticTextPeer::StaticTextPeer(CWnd& control, TopWindow& window, QWidget* parent)
    : QLabel(parent), ControlPeer(control, window) {
  setTextFormat(Qt::PlainText);
  setWordWrap(true);
  setAlignment(Qt::AlignLeft |
               ((control.GetStyle() & SS_CENTERIMAGE) ? Qt::AlignVCenter : Qt::AlignTop));
}

void StaticTextPeer::Sync() {
  const std::string& text = control_.GetWindowText();
  setText(
      EightBitText::Decode((control_.GetStyle() & SS_NOPREFIX) ? text : WithoutMnemonics(text)));
}
