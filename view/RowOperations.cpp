#include "view/RowOperations.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <span>
#include <vector>

#include "table/TableFile.h"
#include "table/Workers.h"
#include "view/RowListView.h"
#include "view/TextFold.h"
#include "view/TextMatcher.h"

namespace {
// Rows one thread takes at a time in a walk over the list.
constexpr size_t kRowGrain = size_t{1} << 14;
// How far ahead a walk over sorted rows, which lie scattered over the buffer, asks for a row.
constexpr size_t kPrefetchDistance = 16;
// Find looks through this many rows per thread before it checks for a hit, so that a hit near the
// selection is found without walking the whole list.
constexpr size_t kFindWindow = size_t{1} << 16;

bool SameIgnoringCase(const char* a, const char* b) {
  return CompareIgnoringCase(a, b) == 0;
}
}  // namespace

bool IsColumnOf(const TableFile& table, int32_t column) {
  return column >= 0 && column < table.columnCount;
}

bool ListAllRows(RowListView& list, const TableFile& table) {
  // The rows come in file order: no title shows a sorted order any more.
  list.SetSortArrow(-1, 0);
  auto count = static_cast<size_t>(table.DataRowCount());
  // A table that failed to load has no row index at all.
  if (count == 0)
    return true;
  const char* const* rows = table.rowStarts + (table.headers ? 1 : 0);
  return list.AppendItems(count, [&](std::span<LPARAM> slots) {
    Workers::ForRange(count, kRowGrain, [&](size_t begin, size_t end) {
      std::memcpy(slots.data() + begin, rows + begin, (end - begin) * sizeof(LPARAM));
    });
  });
}

void KeepMatchingRows(RowListView& list, int32_t column, const std::vector<std::string>& forms,
                      bool exact) {
  std::span<const LPARAM> rows = list.ItemData();
  std::vector<uint8_t> keep(rows.size());
  const TextMatcher matcher(forms, exact, list.TextBytes());
  Workers::ForRange(rows.size(), kRowGrain, [&](size_t begin, size_t end) {
    for (size_t i = begin; i < end; ++i)
      keep[i] = matcher.Matches(list.CellText(rows[i], column));
  });
  list.KeepItems(keep);
}

bool SelectNextMatch(RowListView& list, int32_t column, const std::vector<std::string>& forms,
                     bool exact) {
  int count = list.GetItemCount();
  int selected = list.GetNextItem(-1, LVNI_SELECTED);
  int start = (selected < 0 || selected >= count) ? 0 : selected + 1;
  std::span<const LPARAM> rows = list.ItemData();
  const TextMatcher matcher(forms, exact, list.TextBytes());
  // Windows of rows in list order; within one, every thread looks at its own ranges, and the
  // first hit of the window is the least row that any of them found.
  size_t window = kFindWindow * Workers::Count();
  for (auto from = static_cast<size_t>(start); from < rows.size(); from += window) {
    size_t to = std::min(rows.size(), from + window);
    std::atomic<size_t> first{to};
    Workers::ForRange(to - from, kRowGrain, [&](size_t begin, size_t end) {
      for (size_t i = from + begin; i < from + end && i < first.load(); ++i) {
        if (matcher.Matches(list.CellText(rows[i], column))) {
          for (size_t seen = first.load(); i < seen && !first.compare_exchange_weak(seen, i);) {
          }
          return;
        }
      }
    });
    if (first < to) {
      list.SelectAndReveal(static_cast<int>(first));
      return true;
    }
  }
  return false;
}

// The walk keeps a row when its text equals the next row's or the last kept row's, ignoring case.
// Whether a row equals the next is known for every row at once; the last kept row matters only
// after rows that were removed, and once a row equals its next one, it is kept whatever came
// before. So each range of rows is settled on its own from its first such row on, every range at
// once, and only the rows before that wait for the ranges before them.
void KeepDuplicateRows(RowListView& list, int32_t column) {
  list.SortByColumn(column, 1);
  std::span<const LPARAM> rows = list.ItemData();
  size_t n = rows.size();
  std::vector<const char*> texts(n);
  std::vector<uint8_t> equalsNext(n, 0);
  std::vector<uint8_t> keep(n, 0);
  size_t ranges = Workers::RangeCount(n, kRowGrain);
  auto rangeBegin = [&](size_t r) { return Workers::RangeStart(n, ranges, r); };
  // The index of the last kept row after a step; n while none is known.
  auto step = [&](size_t i, size_t lastKept) {
    bool kept =
        equalsNext[i] ||
        (lastKept != n && (lastKept + 1 == i ? equalsNext[lastKept] != 0
                                             : SameIgnoringCase(texts[lastKept], texts[i])));
    keep[i] = kept;
    return kept ? i : lastKept;
  };
  std::vector<size_t> settledFrom(ranges);
  std::vector<size_t> lastKeptAtEnd(ranges, n);
  // One walk per range finds each row's text, compares it with the one before while both are in
  // the cache, and settles the rows from the first that equals its next one.
  Workers::ForEach(ranges, [&](size_t r) {
    size_t begin = rangeBegin(r), end = rangeBegin(r + 1);
    size_t from = end;
    size_t lastKept = n;
    const char* next = list.CellText(rows[begin], column);
    for (size_t i = begin; i < end; ++i) {
      if (i + kPrefetchDistance < n)
        __builtin_prefetch(reinterpret_cast<const void*>(rows[i + kPrefetchDistance]));
      texts[i] = next;
      if (i + 1 < n) {
        next = list.CellText(rows[i + 1], column);
        equalsNext[i] = SameIgnoringCase(next, texts[i]);
      }
      if (from == end && equalsNext[i])
        from = i;
      if (from != end)
        lastKept = step(i, lastKept);
    }
    settledFrom[r] = from;
    lastKeptAtEnd[r] = lastKept;
  });
  size_t lastKept = n;
  for (size_t r = 0; r < ranges; ++r) {
    for (size_t i = rangeBegin(r); i < settledFrom[r]; ++i)
      lastKept = step(i, lastKept);
    if (settledFrom[r] < rangeBegin(r + 1))
      lastKept = lastKeptAtEnd[r];
  }
  list.KeepItems(keep);
}
