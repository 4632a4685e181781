#include "view/RowSort.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "table/HugePages.h"
#include "table/TableFile.h"

namespace {
struct KeyedRow {
  uint64_t key;
  LPARAM row;
};

struct FreeKeyed {
  void operator()(KeyedRow* rows) const { std::free(rows); }
};
using KeyedArray = std::unique_ptr<KeyedRow[], FreeKeyed>;

// How many chunks of eight bytes are sorted by keys before the comparison takes over.
constexpr int kKeyedChunks = 4;

// Rows lie scattered over the file's buffer; a loop that asks early for a row some way ahead does
// not wait on each in turn.
constexpr size_t kPrefetchDistance = 16;

inline void Prefetch(LPARAM row) {
  __builtin_prefetch(reinterpret_cast<const void*>(row));
  __builtin_prefetch(reinterpret_cast<const void*>(static_cast<uintptr_t>(row) + 64));
}

class FieldSorter {
 public:
  FieldSorter(const TableFile& table, int32_t column, bool descending)
      : table_(table), column_(column), descending_(descending) {}

  void Sort(LPARAM* rows, size_t count) {
    KeyedArray keyed(static_cast<KeyedRow*>(AllocateHugePages(count * sizeof(KeyedRow))));
    if (!keyed) {
      // Without room for the keys, the comparison alone sorts.
      std::sort(rows, rows + count, [this](LPARAM a, LPARAM b) { return Compare(a, b) < 0; });
      if (descending_)
        std::reverse(rows, rows + count);
      return;
    }
    for (size_t i = 0; i < count; ++i) {
      if (i + kPrefetchDistance < count)
        Prefetch(rows[i + kPrefetchDistance]);
      keyed[i] = {Key(rows[i], 0), rows[i]};
    }
    SortKeyed(keyed.get(), count);
    // Equal fields may stand in any order, so the descending order is the ascending one reversed.
    for (size_t i = 0; i < count; ++i)
      rows[i] = keyed[descending_ ? count - 1 - i : i].row;
  }

 private:
  struct Run {
    size_t start;
    size_t end;
    int chunk;
  };

  // Eight bytes of the field from byte 8 * chunk on, big-endian, so that keys order as the texts
  // do; zero past the text's end. A chunk is asked for only when the earlier ones held no NUL, so
  // the text reaches that far.
  uint64_t Key(LPARAM row, int chunk) const {
    const auto* text = reinterpret_cast<const unsigned char*>(
                           table_.FieldText(reinterpret_cast<const char*>(row), column_)) +
                       8 * static_cast<size_t>(chunk);
    uint64_t key = 0;
    int i = 0;
    for (; i < 8 && text[i]; ++i)
      key = (key << 8) | text[i];
    // An empty rest keeps the key 0; a shift by the full 64 bits would be undefined.
    return i == 0 ? 0 : key << (8 * (8 - i));
  }

  int Compare(LPARAM a, LPARAM b) const {
    return std::strcmp(table_.FieldText(reinterpret_cast<const char*>(a), column_),
                       table_.FieldText(reinterpret_cast<const char*>(b), column_));
  }

  void Rekey(KeyedRow* rows, const Run& run) const {
    for (size_t i = run.start; i < run.end; ++i) {
      if (i + kPrefetchDistance < run.end)
        Prefetch(rows[i + kPrefetchDistance].row);
      rows[i].key = Key(rows[i].row, run.chunk);
    }
  }

  // Sorts a run by its keys and hands on each group of equal keys whose texts may still differ,
  // with the keys of its next chunk. A chunk whose last byte is zero holds the end of its text.
  template <class Tie>
  void SortRun(KeyedRow* rows, const Run& run, Tie&& tie) const {
    std::sort(rows + run.start, rows + run.end,
              [](const KeyedRow& a, const KeyedRow& b) { return a.key < b.key; });
    for (size_t start = run.start; start < run.end;) {
      size_t end = start + 1;
      while (end < run.end && rows[end].key == rows[start].key)
        ++end;
      if (end - start > 1 && (rows[start].key & 0xFF) != 0) {
        Run group{start, end, run.chunk + 1};
        if (group.chunk < kKeyedChunks) {
          Rekey(rows, group);
          tie(group);
        } else {
          // Texts that still tie share a long beginning, like the folders of paths: the
          // comparison settles them in one call per pair, not one pass per eight bytes.
          std::sort(rows + start, rows + end, [this](const KeyedRow& a, const KeyedRow& b) {
            return Compare(a.row, b.row) < 0;
          });
        }
      }
      start = end;
    }
  }

  // Each group of the first sort is settled before the next is looked at, and the runs within it
  // wait on a list rather than the stack: texts with long common beginnings cannot exhaust the
  // stack, and the list stays as short as one group's runs.
  void SortKeyed(KeyedRow* rows, size_t count) const {
    std::vector<Run> runs;
    SortRun(rows, Run{0, count, 0}, [&](const Run& group) {
      runs.push_back(group);
      while (!runs.empty()) {
        Run run = runs.back();
        runs.pop_back();
        SortRun(rows, run, [&](const Run& inner) { runs.push_back(inner); });
      }
    });
  }

  const TableFile& table_;
  int32_t column_;
  bool descending_;
};
}  // namespace

void SortRowsByField(LPARAM* rows, size_t count, const TableFile& table, int32_t column,
                     bool descending) {
  FieldSorter(table, column, descending).Sort(rows, count);
}
