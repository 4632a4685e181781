#include "view/RowListView.h"

#include <cstring>
#include <mutex>
#include <vector>

#include "platform/App.h"
#include "table/TableFile.h"
#include "table/Workers.h"
#include "view/LongWork.h"
#include "view/RowSort.h"

namespace {
const char kNoText[] = "";
constexpr size_t kRowGrain = size_t{1} << 14;
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
    const char* text = table_ ? table_->FieldText(row, info->item.iSubItem) : kNoText;
    info->item.pszText = const_cast<char*>(text);
  }
  *result = 0;
}

const char* RowListView::CellText(LPARAM row, int32_t k) const {
  return table_ ? table_->FieldText(reinterpret_cast<const char*>(row), k) : kNoText;
}

std::span<const char> RowListView::TextBytes() const {
  if (!table_ || !table_->Buffer().data)
    return {};
  return {table_->Buffer().data, static_cast<size_t>(table_->Buffer().length)};
}

void RowListView::CollectLongestTexts(LongestTexts& longest) {
  if (!table_) {
    CListCtrl::CollectLongestTexts(longest);
    return;
  }
  std::span<const LPARAM> rows = ItemData();
  auto columns = static_cast<int32_t>(longest.Columns());
  std::mutex merging;
  const LongestTexts empty = longest.Fresh();
  Workers::ForRange(rows.size(), kRowGrain, [&](size_t begin, size_t end) {
    LongestTexts mine = empty;
    std::vector<const char*> texts(static_cast<size_t>(columns));
    std::vector<size_t> lengths(static_cast<size_t>(columns));
    for (size_t i = begin; i < end; ++i) {
      auto row = reinterpret_cast<const char*>(rows[i]);
      int32_t fields = table_->RowFields(row, columns, texts.data(), lengths.data());
      for (int32_t k = 0; k < fields; ++k) {
        if (lengths[static_cast<size_t>(k)] != 0)
          mine.Offer(static_cast<size_t>(k), texts[static_cast<size_t>(k)],
                     lengths[static_cast<size_t>(k)]);
      }
    }
    std::lock_guard<std::mutex> lock(merging);
    longest.Merge(mine);
  });
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
  LongWork work(*this);
  CWinApp* app = AfxGetApp();
  app->BeginWaitCursor();
  SortParams params{column, ascending, table_};
  BOOL sorted = SortItems(&RowListView::CompareRows, reinterpret_cast<LPARAM>(&params),
                          table_ ? &RowListView::SortRows : nullptr);
  // The title shows the order the items are in now; a Duplicates run leaves them in it too.
  SetSortArrow(column, ascending ? HDF_SORTUP : HDF_SORTDOWN);
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
