#include "view/RowOperations.h"

#include "table/TableFile.h"
#include "view/RowListView.h"
#include "view/TextFold.h"

namespace {
// The one match rule of Pick and Find: with exact on, the field equals the match ignoring case;
// with exact off, it contains the match ignoring case.
bool Matches(const char* text, const char* match, bool exact) {
  return exact ? CompareIgnoringCase(text, match) == 0 : ContainsIgnoringCase(text, match);
}

bool SameIgnoringCase(RowListView& list, int first, int second, int32_t column) {
  return CompareIgnoringCase(list.GetItemText(first, column), list.GetItemText(second, column)) ==
         0;
}
}  // namespace

bool IsColumnOf(const TableFile& table, int32_t column) {
  return column >= 0 && column < table.columnCount;
}

bool ListAllRows(RowListView& list, const TableFile& table) {
  if (!list.SetItemCount(list.GetItemCount() + table.DataRowCount()))
    return false;
  for (int32_t i = 0; i < table.DataRowCount(); ++i) {
    LVITEM item;
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = i;
    item.iSubItem = 0;
    item.pszText = LPSTR_TEXTCALLBACK;
    item.lParam = reinterpret_cast<LPARAM>(table.DataRow(i));
    if (list.InsertItem(&item) < 0)
      return false;
  }
  return true;
}

void KeepMatchingRows(RowListView& list, int32_t column, const char* match, bool exact) {
  for (int i = 0; i < list.GetItemCount();) {
    if (Matches(list.GetItemText(i, column), match, exact)) {
      ++i;
    } else {
      list.DeleteItem(i);
    }
  }
}

bool SelectNextMatch(RowListView& list, int32_t column, const char* match, bool exact) {
  int count = list.GetItemCount();
  int selected = list.GetNextItem(-1, LVNI_SELECTED);
  int start = (selected < 0 || selected >= count) ? 0 : selected + 1;
  for (int i = start; i < list.GetItemCount(); ++i) {
    if (Matches(list.GetItemText(i, column), match, exact)) {
      list.SelectAndReveal(i);
      return true;
    }
  }
  return false;
}

void KeepDuplicateRows(RowListView& list, int32_t column) {
  list.SortByColumn(column, 1);
  for (int i = 0; i < list.GetItemCount();) {
    int n = list.GetItemCount();
    bool keep = i < n - 1 && SameIgnoringCase(list, i + 1, i, column);
    if (!keep && i > 0)
      keep = SameIgnoringCase(list, i - 1, i, column);
    if (keep) {
      ++i;
    } else {
      list.DeleteItem(i);
    }
  }
}
