#include "view/RowListView.h"

#include <cstring>
#include <memory>
#include <vector>

#include "platform/App.h"
#include "platform/LongestTextsPool.h"
#include "table/FieldWalk.h"
#include "table/TableFile.h"
#include "table/Workers.h"
#include "view/LongWork.h"
#include "view/RowSort.h"

namespace {
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
    std::string_view text = CellText(info->item.lParam, info->item.iSubItem);
    // The text lies in the file's bytes, where no NUL ends it; it is not copied.
    info->item.pszText = const_cast<char*>(text.data());
    info->cchText = static_cast<int>(text.size());
  }
  *result = 0;
}

std::string_view RowListView::CellText(LPARAM row, int32_t k) const {
  return table_ ? table_->FieldText(static_cast<int32_t>(row), k) : std::string_view();
}

std::span<const char> RowListView::TextBytes() const {
  if (!table_ || !table_->Buffer().Data())
    return {};
  return {table_->Buffer().Data(), static_cast<size_t>(table_->Buffer().Length())};
}

// Rows listed in file order, as after a load, are walked along their bytes; others row by row.
void RowListView::CollectLongestTexts(LongestTexts& longest) {
  if (!table_) {
    CListCtrl::CollectLongestTexts(longest);
    return;
  }
  ListItemView rows = ItemData();
  const char* data = table_->Buffer().Data();
  // The rows of the load that gathered them: every row after the titles, in file order.
  bool loaded = !rows.Stored() && !rows.empty() && rows[0] == 1 &&
                rows.size() + 1 == static_cast<size_t>(table_->lineCount);
  bool handed = loaded && widthScan_.HandOver(longest, data);
  // Only the first fit after the load has them; the items change after it.
  widthScan_.Forget();
  if (handed)
    return;
  auto columns = static_cast<int32_t>(longest.Columns());
  LongestTextsPool pool(longest);
  Workers::ForRange(rows.size(), kRowGrain, [&](size_t begin, size_t end) {
    std::unique_ptr<LongestTexts> mine = pool.Take();
    if (!rows.Stored()) {
      auto first = static_cast<int32_t>(rows[begin]);
      auto last = static_cast<int32_t>(rows[end - 1]) + 1;
      fields::WalkFields(data + table_->RowStart(first), data + table_->RowStart(last), false,
                         [&](int32_t column, const char* text, size_t length, bool printable,
                             const fields::FieldNondigits& nondigits) {
                           if (column < columns)
                             mine->Offer(static_cast<size_t>(column), text, length, printable,
                                         nondigits);
                         });
    } else {
      std::vector<std::string_view> texts(static_cast<size_t>(columns));
      for (size_t i = begin; i < end; ++i) {
        int32_t fields = table_->RowFields(static_cast<int32_t>(rows[i]), columns, texts.data());
        for (int32_t k = 0; k < fields; ++k) {
          std::string_view text = texts[static_cast<size_t>(k)];
          if (!text.empty())
            mine->Offer(static_cast<size_t>(k), text.data(), text.size());
        }
      }
    }
    pool.Give(std::move(mine));
  });
  pool.MergeInto(longest);
}

void RowListView::SelectAndReveal(int index) {
  SetItemState(index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  EnsureVisible(index, FALSE);
}

int RowListView::CompareRows(LPARAM first, LPARAM second, LPARAM sortValue) {
  const auto* params = reinterpret_cast<const SortParams*>(sortValue);
  std::string_view a = params->table->FieldText(static_cast<int32_t>(first), params->column);
  std::string_view b = params->table->FieldText(static_cast<int32_t>(second), params->column);
  int order = a.compare(b);  // compares as unsigned char
  int result = order < 0 ? -1 : order > 0 ? 1 : 0;
  return params->ascending ? result : -result;
}

void RowListView::SortRows(int32_t* items, size_t count, LPARAM sortValue) {
  const auto* params = reinterpret_cast<const SortParams*>(sortValue);
  SortRowsByField(items, count, *params->table, params->column, params->ascending == 0,
                  params->prefixes);
}

BOOL RowListView::SortByColumn(int32_t column, int32_t ascending, FieldPrefixes* prefixes) {
  LongWork work(*this);
  CWinApp* app = AfxGetApp();
  app->BeginWaitCursor();
  SortParams params{column, ascending, table_, prefixes};
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
