#include "view/RowSort.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "table/HugePages.h"
#include "table/TableFile.h"
#include "table/Workers.h"
#include "view/RowPrefetch.h"

namespace {
// Twelve bytes, not sixteen: the records of ten million rows are fresh memory, twice over.
struct __attribute__((packed)) KeyedRow {
  uint64_t key;
  int32_t row;
};

struct FreeBlock {
  void operator()(void* block) const { std::free(block); }
};
using KeyedArray = std::unique_ptr<KeyedRow[], FreeBlock>;

// Runs this short are put in order by insertion rather than by counting their bytes.
constexpr size_t kInsertionRun = 32;
// Runs twice this long are counted and moved on every core.
constexpr size_t kParallelRun = size_t{1} << 16;
constexpr size_t kGrain = size_t{1} << 14;

inline unsigned ByteOf(uint64_t key, int byte) {
  return static_cast<unsigned>(key >> (56 - 8 * byte)) & 0xFF;
}

// A stretch of the keyed rows whose keys agree in their first `byte` bytes, and whose texts agree
// in the 8 * `chunk` bytes before the key.
struct Run {
  size_t begin;
  size_t end;
  int byte;
  int chunk;
  size_t Size() const { return end - begin; }
};

// A most-significant-byte-first radix sort of the rows by their field's text, eight bytes of it at
// a time: only rows whose first eight bytes tie fetch the next eight. Every step keeps the order of
// rows whose bytes so far are equal, so rows with equal fields keep the order they came in, on any
// number of threads.
class FieldSorter {
 public:
  // Each row's second and third eight bytes are taken with its first and kept by row, for the rows
  // that tie on the first; with `keepFirst`, the first eight bytes are kept before them.
  FieldSorter(const TableFile& table, int32_t column, bool keepFirst)
      : table_(table), column_(column), stride_(keepFirst ? 3 : 2), later_(keepFirst ? 1 : 0) {}

  bool Sort(int32_t* rows, size_t count, bool descending) {
    keyed_.reset(static_cast<KeyedRow*>(AllocateHugePages(count * sizeof(KeyedRow))));
    spare_.reset(static_cast<KeyedRow*>(AllocateHugePages(count * sizeof(KeyedRow))));
    // Only the entries of the rows sorted are touched, so a short list of a long file costs little.
    prefix_.reset(static_cast<uint64_t*>(AllocateHugePages(
        (static_cast<size_t>(table_.lineCount) + 1) * stride_ * sizeof(uint64_t))));
    if (!keyed_ || !spare_ || !prefix_)
      return false;
    // The rows are read in the order they came in, in file order after a load; most fields tie on
    // their first eight bytes with others, so the next sixteen are taken at the same time.
    Workers::ForRange(count, kGrain, [&](size_t begin, size_t end) {
      auto rowAt = [&](size_t i) { return rows[i]; };
      prefetch::Begin(table_, rowAt, begin, end);
      for (size_t i = begin; i < end; ++i) {
        prefetch::Step(table_, rowAt, i, end);
        std::string_view text = table_.FieldText(rows[i], column_);
        keyed_[i] = {KeyOf(text, 0), rows[i]};
        uint64_t* prefix = &prefix_[static_cast<size_t>(rows[i]) * stride_];
        if (later_)
          prefix[0] = keyed_[i].key;
        prefix[later_] = KeyOf(text, 1);
        prefix[later_ + 1] = KeyOf(text, 2);
      }
    });
    SortLarge(Run{0, count, 0, 0});
    // Equal fields may stand in any order, so the descending order is the ascending one reversed.
    Workers::ForRange(count, kGrain, [&](size_t begin, size_t end) {
      for (size_t i = begin; i < end; ++i)
        rows[i] = keyed_[descending ? count - 1 - i : i].row;
    });
    return true;
  }

  // The rows' first 24 bytes, by row, once sorted with `keepFirst`.
  std::unique_ptr<uint64_t[], FieldPrefixes::Free> TakePrefixes() { return std::move(prefix_); }

 private:
  // Eight bytes of a text from byte 8 * chunk on, big-endian, so that keys order as the texts do;
  // zero past the text's end. A field holds no NUL, so a key that ends in a zero byte is one whose
  // text ended within it.
  static uint64_t KeyOf(std::string_view text, int chunk) {
    size_t from = 8 * static_cast<size_t>(chunk);
    if (from >= text.size())
      return 0;
    size_t n = std::min<size_t>(8, text.size() - from);
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data() + from);
    if (n == 8) {
      uint64_t word;
      std::memcpy(&word, bytes, 8);
      return __builtin_bswap64(word);
    }
    uint64_t key = 0;
    for (size_t i = 0; i < n; ++i)
      key = (key << 8) | bytes[i];
    return key << (8 * (8 - n));
  }

  // The second and third chunks were taken with the first; the later ones are read from the row.
  void Rekey(size_t begin, size_t end, int chunk) {
    if (chunk <= 2) {
      for (size_t i = begin; i < end; ++i) {
        if (i + prefetch::kBytesAhead < end)
          __builtin_prefetch(Taken(keyed_[i + prefetch::kBytesAhead].row, chunk));
        keyed_[i].key = *Taken(keyed_[i].row, chunk);
      }
      return;
    }
    auto rowAt = [&](size_t i) { return keyed_[i].row; };
    prefetch::Begin(table_, rowAt, begin, end);
    for (size_t i = begin; i < end; ++i) {
      prefetch::Step(table_, rowAt, i, end);
      keyed_[i].key = KeyOf(table_.FieldText(rowAt(i), column_), chunk);
    }
  }

  // Chunk 1 or 2 of a row's field, as the first pass took it.
  const uint64_t* Taken(int32_t row, int chunk) const {
    return &prefix_[static_cast<size_t>(row) * stride_ + later_ + static_cast<size_t>(chunk) - 1];
  }

  // A run whose keys are all equal: its texts differ, if at all, past this chunk, unless the chunk
  // already held their end.
  bool NextChunk(Run& run) const {
    if ((keyed_[run.begin].key & 0xFF) == 0)
      return false;
    run = Run{run.begin, run.end, 0, run.chunk + 1};
    return true;
  }

  void InsertionSort(const Run& run, std::vector<Run>& pending) {
    KeyedRow* rows = keyed_.get();
    for (size_t i = run.begin + 1; i < run.end; ++i) {
      KeyedRow moving = rows[i];
      size_t j = i;
      for (; j > run.begin && rows[j - 1].key > moving.key; --j)
        rows[j] = rows[j - 1];
      rows[j] = moving;
    }
    for (size_t start = run.begin; start < run.end;) {
      size_t end = start + 1;
      while (end < run.end && rows[end].key == rows[start].key)
        ++end;
      Run tie{start, end, 8, run.chunk};
      if (end - start > 1 && NextChunk(tie)) {
        Rekey(tie.begin, tie.end, tie.chunk);
        pending.push_back(tie);
      }
      start = end;
    }
  }

  // The groups of rows that share byte `run.byte`, once the run is in the order of that byte.
  static void AddGroups(const Run& run, const std::array<size_t, 256>& total,
                        std::vector<Run>& groups) {
    size_t at = run.begin;
    for (unsigned b = 0; b < 256; ++b) {
      if (total[b] != 0)
        groups.push_back(Run{at, at + total[b], run.byte + 1, run.chunk});
      at += total[b];
    }
  }

  void SortSmall(Run first) {
    std::vector<Run> pending{first};
    while (!pending.empty()) {
      Run run = pending.back();
      pending.pop_back();
      if (run.Size() < 2)
        continue;
      if (run.Size() <= kInsertionRun) {
        InsertionSort(run, pending);
        continue;
      }
      if (run.byte == 8) {
        if (NextChunk(run)) {
          Rekey(run.begin, run.end, run.chunk);
          pending.push_back(run);
        }
        continue;
      }
      std::array<size_t, 256> total{};
      for (size_t i = run.begin; i < run.end; ++i)
        ++total[ByteOf(keyed_[i].key, run.byte)];
      if (total[ByteOf(keyed_[run.begin].key, run.byte)] == run.Size()) {
        pending.push_back(Run{run.begin, run.end, run.byte + 1, run.chunk});
        continue;
      }
      std::array<size_t, 256> next{};
      for (size_t b = 0, at = run.begin; b < 256; at += total[b], ++b)
        next[b] = at;
      for (size_t i = run.begin; i < run.end; ++i)
        spare_[next[ByteOf(keyed_[i].key, run.byte)]++] = keyed_[i];
      std::memcpy(keyed_.get() + run.begin, spare_.get() + run.begin,
                  run.Size() * sizeof(KeyedRow));
      AddGroups(run, total, pending);
    }
  }

  // The same step for a long run, counted and moved on every core in ranges.
  static bool Long(const Run& run) {
    return Workers::Count() > 1 && Workers::RangeCount(run.Size(), kParallelRun) > 1;
  }

  void SortLarge(Run run) {
    if (!Long(run)) {
      SortSmall(run);
      return;
    }
    if (run.byte == 8) {
      if (!NextChunk(run))
        return;
      Workers::ForRange(run.Size(), kGrain, [&](size_t begin, size_t end) {
        Rekey(run.begin + begin, run.begin + end, run.chunk);
      });
      SortLarge(run);
      return;
    }
    size_t ranges = Workers::RangeCount(run.Size(), kGrain);
    auto rangeBegin = [&](size_t r) {
      return run.begin + Workers::RangeStart(run.Size(), ranges, r);
    };
    std::vector<std::array<size_t, 256>> counts(ranges);
    Workers::ForEach(ranges, [&](size_t r) {
      counts[r].fill(0);
      for (size_t i = rangeBegin(r), end = rangeBegin(r + 1); i < end; ++i)
        ++counts[r][ByteOf(keyed_[i].key, run.byte)];
    });
    std::array<size_t, 256> total{};
    for (const auto& c : counts) {
      for (unsigned b = 0; b < 256; ++b)
        total[b] += c[b];
    }
    if (total[ByteOf(keyed_[run.begin].key, run.byte)] == run.Size()) {
      SortLarge(Run{run.begin, run.end, run.byte + 1, run.chunk});
      return;
    }
    // Each range's rows of one byte value go after those of the ranges before it.
    std::vector<std::array<size_t, 256>> next(ranges);
    for (size_t b = 0, at = run.begin; b < 256; ++b) {
      for (size_t r = 0; r < ranges; ++r) {
        next[r][b] = at;
        at += counts[r][b];
      }
    }
    Workers::ForEach(ranges, [&](size_t r) {
      for (size_t i = rangeBegin(r), end = rangeBegin(r + 1); i < end; ++i)
        spare_[next[r][ByteOf(keyed_[i].key, run.byte)]++] = keyed_[i];
    });
    Workers::ForRange(run.Size(), kGrain, [&](size_t begin, size_t end) {
      std::memcpy(keyed_.get() + run.begin + begin, spare_.get() + run.begin + begin,
                  (end - begin) * sizeof(KeyedRow));
    });
    std::vector<Run> groups;
    AddGroups(run, total, groups);
    // Long groups are split on every core one after another; the rest go to the threads whole.
    std::vector<Run> small;
    for (const Run& group : groups) {
      if (Long(group)) {
        SortLarge(group);
      } else {
        small.push_back(group);
      }
    }
    Workers::ForEach(small.size(), [&](size_t g) { SortSmall(small[g]); });
  }

  const TableFile& table_;
  int32_t column_;
  KeyedArray keyed_;
  KeyedArray spare_;
  // Each sorted row's second and third eight bytes, after its first with `keepFirst`, by row.
  size_t stride_;
  size_t later_;
  std::unique_ptr<uint64_t[], FieldPrefixes::Free> prefix_;
};
}  // namespace

void SortRowsByField(int32_t* rows, size_t count, const TableFile& table, int32_t column,
                     bool descending, FieldPrefixes* prefixes) {
  FieldSorter sorter(table, column, prefixes != nullptr);
  if (sorter.Sort(rows, count, descending)) {
    if (prefixes)
      prefixes->Take(sorter.TakePrefixes());
    return;
  }
  // Without room for the keys, the comparison alone sorts, keeping equal fields in order as above.
  std::stable_sort(rows, rows + count, [&](int32_t a, int32_t b) {
    return table.FieldText(a, column) < table.FieldText(b, column);
  });
  if (descending)
    std::reverse(rows, rows + count);
}
