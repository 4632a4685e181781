#include "view/RowListView.h"

#include <cstring>

#include "platform/App.h"
#include "table/TableFile.h"

namespace {
// Eight bytes of a field from byte 8 * chunk on, big-endian, so that keys order as the texts do.
// The list asks for a chunk only when the earlier ones held no NUL, so the text reaches that far.
uint64_t RowSortKey(LPARAM row, LPARAM sortValue, int chunk) {
  const auto* params = reinterpret_cast<const SortParams*>(sortValue);
  const auto* text = reinterpret_cast<const unsigned char*>(
                         TableFile::FieldText(reinterpret_cast<const char*>(row), params->column)) +
                     8 * static_cast<size_t>(chunk);
  uint64_t key = 0;
  int i = 0;
  for (; i < 8 && text[i]; ++i)
    key = (key << 8) | text[i];
  // An empty rest keeps the key 0; a shift by the full 64 bits would be undefined.
  return i == 0 ? 0 : key << (8 * (8 - i));
}
}  // namespace

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
    info->item.pszText = const_cast<char*>(TableFile::FieldText(row, info->item.iSubItem));
  }
  *result = 0;
}

void RowListView::GetItemTexts(int item, int count, const char** texts, size_t* lengths) {
  TableFile::FieldTexts(reinterpret_cast<const char*>(GetItemData(item)), count, texts, lengths);
}

void RowListView::SelectAndReveal(int index) {
  SetItemState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  EnsureVisible(index, FALSE);
}

int RowListView::CompareRows(LPARAM first, LPARAM second, LPARAM sortValue) {
  const auto* params = reinterpret_cast<const SortParams*>(sortValue);
  const char* a = TableFile::FieldText(reinterpret_cast<const char*>(first), params->column);
  const char* b = TableFile::FieldText(reinterpret_cast<const char*>(second), params->column);
  int order = std::strcmp(a, b);  // compares as unsigned char
  int result = order < 0 ? -1 : order > 0 ? 1 : 0;
  return params->ascending ? result : -result;
}

BOOL RowListView::SortByColumn(int32_t column, int32_t ascending) {
  CWinApp* app = AfxGetApp();
  app->BeginWaitCursor();
  SortParams params{column, ascending};
  BOOL sorted = SortItems(&RowListView::CompareRows, reinterpret_cast<LPARAM>(&params), &RowSortKey,
                          ascending ? FALSE : TRUE);
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
