#include "view/RowListView.h"

#include <cstring>

#include "platform/App.h"
#include "table/TableFile.h"
#include "view/RowSort.h"

namespace {
const char kNoText[] = "";
}

BEGIN_MESSAGE_MAP(RowListView, CListCtrl)
ON_NOTIFY_REFLECT(LVN_GETDISPINFO, OnGetDispInfo)
ON_NOTIFY_REFLECT(LVN_COLUMNCLICK, OnColumnClick)
END_MESSAGE_MAP()

RowListView::RowListView() = default;

RowListView::~RowListView() = default;

void RowListView::OnGetDispInfo(NMHDR* notification, LRESULT* result) {
  auto* info = reinterpret_cast<NMLVDISPINFO*>(notification);
  if (info->item.mask & LVIF_TEXT) {
    const char* row = reinterpret_cast<const char*>(info->item.lParam);
    const char* text = table_ ? table_->FieldText(row, info->item.iSubItem) : kNoText;
    info->item.pszText = const_cast<char*>(text);
  }
  *result = 0;
}

void RowListView::GetItemTexts(int item, int count, const char** texts, size_t* lengths) {
  if (!table_) {
    CListCtrl::GetItemTexts(item, count, texts, lengths);
    return;
  }
  table_->FieldTexts(reinterpret_cast<const char*>(GetItemData(item)), count, texts, lengths);
}

void RowListView::SelectAndReveal(int index) {
  SetItemState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  EnsureVisible(index, FALSE);
}

int RowListView::CompareRows(LPARAM first, LPARAM second, LPARAM sortValue) {
  const auto* params = reinterpret_cast<const SortParams*>(sortValue);
  const char* a = params->table->FieldText(reinterpret_cast<const char*>(first), params->column);
  const char* b = params->table->FieldText(reinterpret_cast<const char*>(second), params->column);
  int order = std::strcmp(a, b);  // compares as unsigned char
  int result = order < 0 ? -1 : order > 0 ? 1 : 0;
  return params->ascending ? result : -result;
}

void RowListView::SortRows(LPARAM* items, size_t count, LPARAM sortValue) {
  const auto* params = reinterpret_cast<const SortParams*>(sortValue);
  SortRowsByField(items, count, *params->table, params->column, params->ascending == 0);
}

BOOL RowListView::SortByColumn(int32_t column, int32_t ascending) {
  CWinApp* app = AfxGetApp();
  app->BeginWaitCursor();
  SortParams params{column, ascending, table_};
  BOOL sorted = SortItems(&RowListView::CompareRows, reinterpret_cast<LPARAM>(&params),
                          table_ ? &RowListView::SortRows : nullptr);
  app->EndWaitCursor();
  return sorted;
}

void RowListView::OnColumnClick(NMHDR* notification, LRESULT* result) {
  int32_t k = reinterpret_cast<NMLISTVIEW*>(notification)->iSubItem;
  if (k != lastSortColumn) {
    nextAscending = true;
    lastSortColumn = k;
  }
  SortByColumn(k, nextAscending ? 1 : 0);
  nextAscending = !nextAscending;
  *result = 0;
}
