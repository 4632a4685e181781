// The tool tips of a report list: a cell or a column title too narrow for its text shows the
// whole text when the pointer rests on it, in the characters the list shows.
#pragma once

#include <string>

#include "platform/win32/native/ListSource.h"
#include "platform/win32/native/NativeTypes.h"

namespace native {

class ListTips {
 public:
  ListTips() = default;
  ~ListTips();
  ListTips(const ListTips&) = delete;
  ListTips& operator=(const ListTips&) = delete;

  // Watches `list` and its header, whose texts come from `source`; false when the system cannot.
  bool Attach(Handle list, ListSource* source);
  void Detach();

  // The pointer moved over the list (header false) or its header, to `x`, `y` in its client area.
  void Hover(bool header, int x, int y);

 private:
  // The text that the tip shows for a cell or a title there, or an empty text where none is cut.
  std::wstring CellTip(int x, int y) const;
  std::wstring TitleTip(int x, int y) const;
  // The tip's text for one of the two areas, as the area changes under the pointer.
  void ShowText(bool header, const std::wstring& text);

  Handle list_ = nullptr;
  Handle header_ = nullptr;
  Handle tip_ = nullptr;
  ListSource* source_ = nullptr;
  std::wstring text_;  // what the tip shows now
};

}  // namespace native
