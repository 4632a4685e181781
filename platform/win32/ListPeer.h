// The report list of a dialog's real window: a virtual list view that knows only the item count
// and asks the platform list for each cell's text as it draws it, so that ten million rows cost
// the window system nothing more than ten. Header clicks and selections go to the program. Cells
// and titles are the file's: each is shown as its bytes decide (platform/CellText.h), through the
// list's UTF-16 texts.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/WindowPeer.h"
#include "platform/win32/native/ListSource.h"
#include "platform/win32/native/ReportList.h"

class CListCtrl;
class TextMeasure;
namespace native {
class DialogWindow;
}

class ListPeer : public WindowPeer, public native::ListSource {
 public:
  // Shows `list` in the real list of `window`, whose font `measure` measures in while it lives.
  ListPeer(CListCtrl& list, native::DialogWindow& window, TextMeasure& measure);
  ~ListPeer() override;

  // Takes over the real list of the dialog's window; false when it has none that is virtual.
  bool Attach();

  void ListChanged(ListChange what) override;
  void RectChanged() override;

  std::u16string_view ItemText(int item, int column) override;
  void ColumnClicked(int column) override;
  void ItemSelected(int item) override;
  void KeyDown(unsigned key, bool ctrl, bool shift, bool alt) override;
  void DoubleClicked(int item) override;

 private:
  void ShowColumns();
  void ShowItems();
  void ShowSelection();
  void ShowSortArrow();

  CListCtrl& list_;
  native::DialogWindow& window_;
  TextMeasure& measure_;
  native::ReportList report_;
  // The columns as the real list shows them: title and width.
  std::vector<std::pair<std::string, int>> columns_;
  uint32_t extendedStyle_ = 0;
  std::u16string shownText_;  // the cell the real list asked for last
};
