#include "platform/win32/native/ControlWindow.h"

#include <windows.h>

namespace native {

intptr_t ControlWindow::Send(unsigned message, uintptr_t wParam, intptr_t lParam) const {
  return window_ ? SendMessageA(static_cast<HWND>(window_), message, wParam, lParam) : -1;
}

bool ControlWindow::SetText(const std::string& text) {
  return window_ && SetWindowTextA(static_cast<HWND>(window_), text.c_str());
}

std::string ControlWindow::Text() const {
  if (!window_)
    return std::string();
  HWND control = static_cast<HWND>(window_);
  int length = GetWindowTextLengthA(control);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  length = GetWindowTextA(control, text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  return text;
}

bool ControlWindow::SetLines(const std::string& text) {
  std::string lines;
  lines.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n')
      lines += '\r';
    lines += c;
  }
  return SetText(lines);
}

std::string ControlWindow::Lines() const {
  std::string text = Text();
  std::string lines;
  lines.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
      lines += text[i];
  }
  return lines;
}

bool ControlWindow::SetChecked(bool checked) {
  return Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED) == 0;
}

bool ControlWindow::IsChecked() const {
  return Send(BM_GETCHECK) == BST_CHECKED;
}

bool ControlWindow::Enable(bool enabled) {
  if (!window_)
    return false;
  EnableWindow(static_cast<HWND>(window_), enabled ? TRUE : FALSE);
  return true;
}

bool ControlWindow::Focus() {
  return window_ && SetFocus(static_cast<HWND>(window_)) != nullptr;
}

bool ControlWindow::LimitText(int characters) {
  return Send(EM_LIMITTEXT, static_cast<uintptr_t>(characters)) != -1;
}

bool ControlWindow::SetIcon(Handle icon) {
  if (!window_)
    return false;
  Send(STM_SETICON, reinterpret_cast<WPARAM>(icon));
  return true;
}

bool ControlWindow::Move(const Rect& rect, bool repaint) {
  return window_ && MoveWindow(static_cast<HWND>(window_), rect.left, rect.top, rect.Width(),
                               rect.Height(), repaint ? TRUE : FALSE);
}

int ControlWindow::ComboAdd(const std::string& text) {
  intptr_t index = Send(CB_ADDSTRING, 0, reinterpret_cast<intptr_t>(text.c_str()));
  return index < 0 ? -1 : static_cast<int>(index);
}

void ControlWindow::ComboClear() {
  Send(CB_RESETCONTENT);
}

int ControlWindow::ComboCount() const {
  intptr_t count = Send(CB_GETCOUNT);
  return count < 0 ? 0 : static_cast<int>(count);
}

void ControlWindow::ComboSelect(int index) {
  // Not every implementation clears the choice for an index past the end, as -1 does.
  if (index < 0 || index >= ComboCount())
    index = -1;
  Send(CB_SETCURSEL, static_cast<uintptr_t>(static_cast<intptr_t>(index)));
}

int ControlWindow::ComboSelection() const {
  return static_cast<int>(Send(CB_GETCURSEL));
}

bool ControlWindow::ComboDropped() const {
  return Send(CB_GETDROPPEDSTATE) > 0;
}

}  // namespace native
