#include "platform/win32/native/DialogControls.h"

#include <windows.h>

namespace native {
namespace {
HWND Item(Handle dialog, int id) {
  return GetDlgItem(static_cast<HWND>(dialog), id);
}
}  // namespace

intptr_t DialogControls::Send(int id, unsigned message, uintptr_t wParam, intptr_t lParam) const {
  HWND control = Item(dialog_, id);
  return control ? SendMessageA(control, message, wParam, lParam) : -1;
}

bool DialogControls::SetText(int id, const std::string& text) {
  HWND control = Item(dialog_, id);
  return control && SetWindowTextA(control, text.c_str());
}

std::string DialogControls::Text(int id) const {
  HWND control = Item(dialog_, id);
  if (!control)
    return std::string();
  int length = GetWindowTextLengthA(control);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  length = GetWindowTextA(control, text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  return text;
}

bool DialogControls::SetChecked(int id, bool checked) {
  return Send(id, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED) == 0;
}

bool DialogControls::IsChecked(int id) const {
  return Send(id, BM_GETCHECK) == BST_CHECKED;
}

bool DialogControls::Enable(int id, bool enabled) {
  HWND control = Item(dialog_, id);
  if (!control)
    return false;
  EnableWindow(control, enabled ? TRUE : FALSE);
  return true;
}

bool DialogControls::Focus(int id) {
  HWND control = Item(dialog_, id);
  return control && SetFocus(control) != nullptr;
}

bool DialogControls::LimitText(int id, int characters) {
  return Send(id, EM_LIMITTEXT, static_cast<uintptr_t>(characters)) != -1;
}

bool DialogControls::SetIcon(int id, Handle icon) {
  HWND control = Item(dialog_, id);
  if (!control)
    return false;
  SendMessageA(control, STM_SETICON, reinterpret_cast<WPARAM>(icon), 0);
  return true;
}

int DialogControls::ComboAdd(int id, const std::string& text) {
  intptr_t index = Send(id, CB_ADDSTRING, 0, reinterpret_cast<intptr_t>(text.c_str()));
  return index < 0 ? -1 : static_cast<int>(index);
}

void DialogControls::ComboClear(int id) {
  Send(id, CB_RESETCONTENT);
}

int DialogControls::ComboCount(int id) const {
  intptr_t count = Send(id, CB_GETCOUNT);
  return count < 0 ? 0 : static_cast<int>(count);
}

void DialogControls::ComboSelect(int id, int index) {
  // Not every implementation clears the choice for an index past the end, as -1 does.
  if (index < 0 || index >= ComboCount(id))
    index = -1;
  Send(id, CB_SETCURSEL, static_cast<uintptr_t>(static_cast<intptr_t>(index)));
}

int DialogControls::ComboSelection(int id) const {
  return static_cast<int>(Send(id, CB_GETCURSEL));
}

}  // namespace native
