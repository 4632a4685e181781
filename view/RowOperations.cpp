#include "view/RowOperations.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <span>
#include <string_view>
#include <vector>

#include "table/TableFile.h"
#include "table/Workers.h"
#include "view/RowListView.h"
#include "view/RowPrefetch.h"
#include "view/RowSort.h"
#include "view/TextFold.h"
#include "view/TextMatcher.h"

namespace {
// Rows one thread takes at a time in a walk over the list.
constexpr size_t kRowGrain = size_t{1} << 14;
// Find looks through this many rows per thread before it checks for a hit, so that a hit near the
// selection is found without walking the whole list.
constexpr size_t kFindWindow = size_t{1} << 16;

// How far ahead a walk over sorted rows asks for their first bytes.
constexpr size_t kPrefixAhead = 32;

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && SameIgnoringCase(a.data(), b.data(), a.size());
}

// A to Z as a to z in each byte of a word; bytes from 0x80 up stay.
uint64_t FoldWord(uint64_t word) {
  constexpr uint64_t kOnes = 0x0101010101010101ULL;
  constexpr uint64_t kHigh = kOnes << 7;
  uint64_t low = word & ~kHigh;
  uint64_t fromA = low + kOnes * (0x80 - 'A');
  uint64_t pastZ = low + kOnes * (0x80 - 'Z' - 1);
  return word | ((fromA & ~pastZ & ~word & kHigh) >> 2);
}

enum class Prefixed { Same, Different, Unknown };

// Two fields by their first 24 bytes, ignoring case. A field holds no NUL, so a word whose last
// byte is zero holds the end of its text, and of the other's when they are equal.
Prefixed SameByPrefix(const FieldPrefixes& prefixes, int32_t a, int32_t b) {
  for (size_t w = 0; w < FieldPrefixes::kWords; ++w) {
    uint64_t word = prefixes.Word(a, w);
    if (FoldWord(word) != FoldWord(prefixes.Word(b, w)))
      return Prefixed::Different;
    if ((word & 0xFF) == 0)
      return Prefixed::Same;
  }
  return Prefixed::Unknown;
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
  return list.AppendItemRun(table.DataRow(0), count);
}

void KeepMatchingRows(RowListView& list, int32_t column, const std::vector<std::string>& forms,
                      bool exact) {
  ListItemView rows = list.ItemData();
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
  ListItemView rows = list.ItemData();
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
  FieldPrefixes prefixes;
  // Without room to hold the items one by one, nothing can be sorted or kept.
  if (!list.SortByColumn(column, 1, &prefixes))
    return;
  ListItemView rows = list.ItemData();
  size_t n = rows.size();
  std::vector<uint8_t> equalsNext(n, 0);
  std::vector<uint8_t> keep(n, 0);
  size_t ranges = Workers::RangeCount(n, kRowGrain);
  auto rangeBegin = [&](size_t r) { return Workers::RangeStart(n, ranges, r); };
  // Whether the fields of the rows at places a and b are equal ignoring case: most are told apart,
  // or found equal, by their first 24 bytes alone; only the rest are read.
  auto same = [&](size_t a, size_t b) {
    auto rowA = static_cast<int32_t>(rows[a]);
    auto rowB = static_cast<int32_t>(rows[b]);
    if (!prefixes.empty()) {
      Prefixed found = SameByPrefix(prefixes, rowA, rowB);
      if (found != Prefixed::Unknown)
        return found == Prefixed::Same;
    }
    return SameText(list.CellText(rowA, column), list.CellText(rowB, column));
  };
  // The index of the last kept row after a step; n while none is known.
  auto step = [&](size_t i, size_t last) {
    bool kept =
        equalsNext[i] || (last != n && (last + 1 == i ? equalsNext[last] != 0 : same(last, i)));
    keep[i] = kept;
    return kept ? i : last;
  };
  std::vector<size_t> settledFrom(ranges);
  std::vector<size_t> keptAtEnd(ranges, n);
  // One walk per range compares each row with the next, and settles the rows from the first that
  // equals its next one.
  Workers::ForEach(ranges, [&](size_t r) {
    size_t begin = rangeBegin(r), end = rangeBegin(r + 1);
    size_t from = end;
    size_t last = n;
    for (size_t i = begin; i < end; ++i) {
      if (!prefixes.empty() && i + kPrefixAhead < n)
        __builtin_prefetch(prefixes.Address(static_cast<int32_t>(rows[i + kPrefixAhead])));
      if (i + 1 < n)
        equalsNext[i] = same(i, i + 1);
      if (from == end && equalsNext[i])
        from = i;
      if (from != end)
        last = step(i, last);
    }
    settledFrom[r] = from;
    keptAtEnd[r] = last;
  });
  size_t last = n;
  for (size_t r = 0; r < ranges; ++r) {
    for (size_t i = rangeBegin(r); i < settledFrom[r]; ++i)
      last = step(i, last);
    if (settledFrom[r] < rangeBegin(r + 1))
      last = keptAtEnd[r];
  }
  list.KeepItems(keep);
}
