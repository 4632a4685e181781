// The report-style list control. Its items hold one data value each (a row reference) and no
// text: every cell's text is asked of the control's owner with LVN_GETDISPINFO when it is needed.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Backend.h"
#include "platform/ControlVisitor.h"
#include "platform/ListItems.h"
#include "platform/LongestTexts.h"
#include "platform/Wnd.h"

// An optional replacement for the comparison sort of SortItems: reorders the items' data in place
// into an order that the comparison would also give, for owners that know a faster way.
using PFNLVSORTITEMS = void (*)(int32_t* items, size_t count, LPARAM sortValue);

class CListCtrl : public CWnd {
 public:
  // Items.
  int GetItemCount() const { return static_cast<int>(items_.size()); }
  // The new item's index, or -1 when the list has no memory for one more.
  int InsertItem(const LVITEM* item);
  // Prepares the list for `count` items in all (LVM_SETITEMCOUNT), so that inserting that many
  // allocates once instead of growing step by step; FALSE when there is no memory for them.
  BOOL SetItemCount(int count);
  BOOL DeleteItem(int index);
  BOOL DeleteAllItems();
  LPARAM GetItemData(int index) const;
  // The cell's text as the owner supplies it; valid as long as the data behind the item lives.
  std::string_view GetItemText(int item, int subItem);

  // Bulk changes for owners that work on many items at once, with the outcome of the same changes
  // made item by item.
  // Appends `count` items holding the data first, first + 1, ...; FALSE, with nothing changed,
  // when there is no memory for them.
  BOOL AppendItemRun(LPARAM first, size_t count);
  // Deletes, in one pass, every item whose flag is zero: the items, selection and focus end as
  // after deleting them one by one from the first. FALSE, with nothing changed, when there is no
  // memory for the items kept.
  BOOL KeepItems(const std::vector<uint8_t>& keep);
  // Every item's data, in list order.
  ListItemView ItemData() { return items_.View(); }

  // Selection and scrolling.
  int GetNextItem(int start, int flags) const;
  BOOL SetItemState(int index, UINT state, UINT mask);
  UINT GetItemState(int index, UINT mask) const;
  BOOL EnsureVisible(int index, BOOL partialOK);
  int RevealedItem() const { return revealed_; }

  // Reorders the items with `compare` (negative: first before second); `sortValue` goes to every
  // call unchanged. Items that compare equal may end in any order. Given `sorter`, it orders the
  // items in place instead, as `compare` would. FALSE, with nothing changed, when there is no
  // memory to hold the items one by one.
  BOOL SortItems(PFNLVCOMPARE compare, LPARAM sortValue, PFNLVSORTITEMS sorter = nullptr);

  // Columns.
  int InsertColumn(int index, const char* heading, int format = LVCFMT_LEFT, int width = -1,
                   int subItem = -1);
  BOOL DeleteColumn(int index);
  BOOL SetColumnWidth(int index, int width);
  // Gives a column a new title and width in place (LVM_SETCOLUMN).
  BOOL SetColumn(int index, const char* heading, int width);
  int GetColumnWidth(int index) const;
  int GetColumnCount() const { return static_cast<int>(columns_.size()); }
  const std::string& GetColumnHeading(int index) const;

  // The arrow in a column's title that shows the order of the items, as a header item's format
  // shows it: HDF_SORTUP for ascending, HDF_SORTDOWN for descending. At most one column has one;
  // column -1 (or arrow 0) takes it away. It stays on its column as columns come and go.
  void SetSortArrow(int column, int arrow);
  int SortArrowColumn() const { return arrowColumn_; }
  int SortArrow() const { return arrowColumn_ < 0 ? 0 : arrow_; }

  DWORD GetExtendedStyle() const { return listExStyle_; }
  DWORD SetExtendedStyle(DWORD style);

  // What the user does, fed in by a backend.
  void UserClickItem(int index);  // -1 clears the selection
  // A click on the title of `column`: the list's parent hears of it as LVN_COLUMNCLICK. The
  // message is for a backend whose clicks pass the program's loop; the notification it carries
  // lives in the list until the next title click.
  MSG TitleClickMessage(int column);
  void UserClickTitle(int column);
  // What a list of the window system reports, for a backend that shows a real one, which has
  // taken the key or the click for itself already: the parent hears of a key that reached the
  // list (LVN_KEYDOWN), with the modifiers that `key` holds, and of a double-click on an item, or
  // below the last one (-1), as NM_DBLCLK.
  void TellKeyDown(const MSG& key);
  void TellDoubleClick(int item);

  void Accept(ControlVisitor& visitor) override { visitor.ListView(*this); }

  // An empty collection such as the first walk of a fit fills, for an owner that gathers the
  // texts ahead of the fit and hands them over in CollectLongestTexts.
  static LongestTexts FirstCandidates(size_t columns);

 protected:
  // Offers the texts of every item in every column to `longest`, for fitting widths. An owner that
  // can walk its rows faster than cell by cell overrides it, offering the same texts (empty ones
  // may be left out).
  virtual void CollectLongestTexts(LongestTexts& longest);

  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnLockReleased() override;

 private:
  struct Column {
    std::string heading;
    int format;
    int width;
  };

  void Changed(ListChange what);
  void Notify(NMHDR& header);
  int FitWidth(int column);
  void MeasureWidestTexts();

  ListItems items_;
  std::vector<Column> columns_;
  int selected_ = -1;
  int focused_ = -1;
  int revealed_ = -1;
  int arrowColumn_ = -1;
  int arrow_ = 0;
  DWORD listExStyle_ = 0;
  unsigned pending_ = 0;  // ListChange bits held back by the drawing lock

  // The handler that the owner reflects LVN_GETDISPINFO to, found once.
  const MessageMapEntry* dispInfoHandler_ = nullptr;
  bool dispInfoLooked_ = false;
  char scratch_[264] = {};
  NMLISTVIEW titleClick_;

  // Fitted widths of every column, measured in one pass over the items and kept until the items
  // change. A cell's text depends on its item and column number only, so retitling keeps them.
  std::vector<int> widestCache_;  // padding included
  bool widestValid_ = false;
};
