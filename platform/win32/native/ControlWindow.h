// One control of a dialog, by its window: static texts and icons, push buttons, check boxes, edit
// boxes and combo boxes. Every call on a null window fails or gives the empty answer.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win32/native/NativeTypes.h"

namespace native {

class ControlWindow {
 public:
  explicit ControlWindow(Handle window) : window_(window) {}
  Handle Window() const { return window_; }

  // In the code page: the program's own texts.
  bool SetText(const std::string& text);
  std::string Text() const;
  // As UTF-16: what a file's cells show and what the user types.
  bool SetWideText(const std::u16string& text);
  std::u16string WideText() const;
  // The text of an edit box of several lines, whose lines the window system ends with CR LF, as
  // lines ended by LF.
  bool SetLines(const std::u16string& text);
  std::u16string Lines() const;
  bool SetChecked(bool checked);
  bool IsChecked() const;
  bool Enable(bool enabled);
  bool Focus();
  // Limits what the user can type into an edit box; 0 lets the box hold as much as it can.
  bool LimitText(int characters);
  bool SetIcon(Handle icon);
  // In the client area of the dialog.
  bool Move(const Rect& rect, bool repaint);

  // Combo boxes. ComboAdd returns the new item's index, or -1.
  int ComboAdd(const std::u16string& text);
  void ComboClear();
  int ComboCount() const;
  // An index outside the list selects nothing and empties the edit part.
  void ComboSelect(int index);
  int ComboSelection() const;
  // Whether its list is dropped down, so that Enter and Escape are the list's.
  bool ComboDropped() const;

 private:
  intptr_t Send(unsigned message, uintptr_t wParam = 0, intptr_t lParam = 0) const;

  Handle window_;
};

}  // namespace native
