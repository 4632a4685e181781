#include "platform/win32/ListPeer.h"

#include <algorithm>

#include "platform/CellText.h"
#include "platform/ListCtrl.h"
#include "platform/win32/TextMeasure.h"
#include "platform/win32/native/ControlWindow.h"

ListPeer::ListPeer(CListCtrl& list, native::DialogWindow& window, TextMeasure& measure)
    : list_(list), window_(window), measure_(measure) {}

ListPeer::~ListPeer() {
  measure_.MeasureWith(nullptr);
}

bool ListPeer::Attach() {
  if (!report_.Attach(window_, list_.GetDlgCtrlID(), this))
    return false;
  measure_.MeasureWith(report_.Window());
  ShowColumns();
  ShowItems();
  return true;
}

void ListPeer::ListChanged(ListChange what) {
  switch (what) {
    case ListChange::Columns:
      ShowColumns();
      break;
    case ListChange::Items:
      ShowItems();
      break;
    case ListChange::Selection:
      ShowSelection();
      break;
    case ListChange::Reveal:
      report_.EnsureVisible(list_.RevealedItem(), false);
      break;
    case ListChange::SortArrow:
      ShowSortArrow();
      break;
  }
}

void ListPeer::RectChanged() {
  RECT r;
  list_.GetWindowRect(&r);
  native::ControlWindow(report_.Window())
      .Move(native::Rect{r.left, r.top, r.right, r.bottom}, true);
}

// Only what differs is sent: a retitled column keeps its place, and widths that did not change
// cost nothing, however many columns there are.
void ListPeer::ShowColumns() {
  const int count = list_.GetColumnCount();
  while (static_cast<int>(columns_.size()) > count) {
    report_.DeleteColumn(static_cast<int>(columns_.size()) - 1);
    columns_.pop_back();
  }
  for (int k = 0; k < count; ++k) {
    std::pair<std::string, int> column{list_.GetColumnHeading(k), list_.GetColumnWidth(k)};
    if (k >= static_cast<int>(columns_.size())) {
      report_.InsertColumn(k, CellUtf16(column.first), column.second);
      columns_.push_back(column);
    } else if (columns_[static_cast<size_t>(k)] != column) {
      report_.SetColumn(k, CellUtf16(column.first), column.second);
      columns_[static_cast<size_t>(k)] = column;
    }
  }
  // A column inserted or retitled comes without the arrow.
  ShowSortArrow();
  if (list_.GetExtendedStyle() != extendedStyle_) {
    extendedStyle_ = list_.GetExtendedStyle();
    report_.SetExtendedStyle(extendedStyle_);
  }
}

void ListPeer::ShowSortArrow() {
  int arrow = list_.SortArrow();
  report_.SetSortArrow(list_.SortArrowColumn(), arrow == HDF_SORTUP     ? 1
                                                : arrow == HDF_SORTDOWN ? -1
                                                                        : 0);
}

void ListPeer::ShowItems() {
  if (report_.ItemCount() != list_.GetItemCount())
    report_.SetItemCount(list_.GetItemCount());
  // The texts behind the items may have changed (a sort, a new file) even when their count did not.
  report_.Refresh();
  ShowSelection();
}

void ListPeer::ShowSelection() {
  int selected = list_.GetNextItem(-1, LVNI_SELECTED);
  if (report_.Selected() != selected)
    report_.Select(selected);
}

std::u16string_view ListPeer::ItemText(int item, int column) {
  shownText_ = CellUtf16(list_.GetItemText(item, column));
  return shownText_;
}

void ListPeer::ColumnClicked(int column) {
  list_.UserClickTitle(column);
}

void ListPeer::KeyDown(unsigned key, bool ctrl, bool shift, bool alt) {
  list_.TellKeyDown(MSG{&list_, WM_KEYDOWN, key, 0, ctrl, shift, alt});
}

void ListPeer::DoubleClicked(int item) {
  list_.TellDoubleClick(item);
}

void ListPeer::ItemSelected(int item) {
  list_.SendMessage(WM_LBUTTONDOWN, 0, item);
}
