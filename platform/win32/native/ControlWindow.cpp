#include "platform/win32/native/ControlWindow.h"

#include <windows.h>

namespace native {
namespace {
const wchar_t* Wide(const std::u16string& text) {
  static_assert(sizeof(wchar_t) == sizeof(char16_t));
  return reinterpret_cast<const wchar_t*>(text.c_str());
}
}  // namespace

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

bool ControlWindow::SetWideText(const std::u16string& text) {
  return window_ && SetWindowTextW(static_cast<HWND>(window_), Wide(text));
}

std::u16string ControlWindow::WideText() const {
  if (!window_)
    return std::u16string();
  HWND control = static_cast<HWND>(window_);
  int length = GetWindowTextLengthW(control);
  std::u16string text(static_cast<size_t>(length) + 1, u'\0');
  length = GetWindowTextW(control, reinterpret_cast<wchar_t*>(text.data()), length + 1);
  text.resize(static_cast<size_t>(length > 0 ? length : 0));
  return text;
}

bool ControlWindow::SetLines(const std::u16string& text) {
  std::u16string lines;
  lines.reserve(text.size() + text.size() / 16);
  for (char16_t c : text) {
    if (c == u'\n')
      lines += u'\r';
    lines += c;
  }
  return SetWideText(lines);
}

std::u16string ControlWindow::Lines() const {
  std::u16string text = WideText();
  std::u16string lines;
  lines.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (!(text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n'))
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

int ControlWindow::ComboAdd(const std::u16string& text) {
  intptr_t index = window_ ? SendMessageW(static_cast<HWND>(window_), CB_ADDSTRING, 0,
                                          reinterpret_cast<LPARAM>(Wide(text)))
                           : -1;
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
