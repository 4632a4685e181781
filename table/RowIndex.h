// The row index of a file's bytes: where each row starts, found on every core for a big file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "table/LineEnds.h"

// Where each row starts, as offsets into the file's bytes: 4 bytes each, the offset's lower 32
// bits, and for a file past 4 GiB the few rows where the upper bits step up (the carries). The
// index of ten million rows is then 40 MB, the first touch of which costs more on some machines
// than mapping the whole file. A file that cannot be cut into parts below 4 GiB (one core, or a
// row of gigabytes) keeps 8 bytes an offset.
class RowStarts {
 public:
  RowStarts() = default;
  ~RowStarts();
  RowStarts(const RowStarts&) = delete;
  RowStarts& operator=(const RowStarts&) = delete;
  RowStarts(RowStarts&& other) noexcept;
  RowStarts& operator=(RowStarts&& other) noexcept;

  // Room for `count` entries, wide ones when asked; false when there is none.
  bool Allocate(size_t count, bool wide);
  void Release();

  uint64_t operator[](size_t i) const {
    if (!narrow_)
      return wide_[i];
    uint64_t offset = narrow_[i];
    for (size_t carry : carries_)
      offset += i >= carry ? uint64_t{1} << 32 : 0;
    return offset;
  }
  // Where entry i lies, to ask for it ahead of need.
  const void* Address(size_t i) const {
    return narrow_ ? static_cast<const void*>(narrow_ + i) : static_cast<const void*>(wide_ + i);
  }
  size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }

  uint32_t* Narrow() { return narrow_; }
  uint64_t* Wide() { return wide_; }
  // The narrow entries from which on each further 4 GiB is added, in order.
  void SetCarries(std::vector<size_t> carries) { carries_ = std::move(carries); }

 private:
  uint32_t* narrow_ = nullptr;
  uint64_t* wide_ = nullptr;
  size_t count_ = 0;
  std::vector<size_t> carries_;
};

// The carries of an index whose entries keep only the lower `bits` bits of each offset (`lows`):
// for each multiple of 2^bits up to `length`, the first entry whose offset reaches it. Entry 0 is
// the offset 0; the entries of part p, [1 + first[p], 1 + first[p + 1]), lie in [bounds[p],
// bounds[p + 1]], and so do the entries after the last part's, up to `entries`. Each part must
// span less than 2^bits bytes, so that its bounds tell the upper bits of every offset in it.
std::vector<size_t> RowCarries(const uint32_t* lows, size_t entries,
                               const std::vector<size_t>& bounds, const std::vector<size_t>& first,
                               uint64_t length, unsigned bits);

enum class IndexOutcome {
  Indexed,
  // A CR stands where no line end explains it: the rows can be found only once the CR bytes are
  // left out (FileBuffer's private copy).
  StrayCarriageReturn,
  // The index has no room, or more rows than a list can hold.
  Failed,
};

struct RowIndex {
  // lineCount + 1 entries: entry 0 is the first line's start, entry k the first byte after the
  // k-th run of line ends, and the last one only marks the end of the last row.
  RowStarts starts;
  // The runs of line ends before the first NUL byte, the last line counting even without one.
  int32_t lineCount = 0;
};

// Counts a stretch's line ends as CountLineEnds does, and may look at every field on the way (by
// fields::WalkFields), so that one pass over the bytes serves the count and what the caller wants
// of the fields. Called on several threads at once, once for each part of the bytes.
class RowScan {
 public:
  virtual ~RowScan() = default;
  // The bytes of a table whose first line has `columns` fields are counted afresh, from a new
  // start: what was looked at before is forgotten.
  virtual void Begin(int32_t columns) = 0;
  // `fileStart`: the stretch begins the file; `fileEnd`: it ends it.
  virtual LineCount Count(const char* data, size_t length, bool fileStart, bool fileEnd) = 0;
};

// How much of the bytes one thread scans at a time: small enough to stay in a core's cache
// between the count and the index.
constexpr size_t kIndexPartBytes = size_t{512} << 10;

// Indexes the `length` bytes at `data`, in parts of about `partBytes` on every core when there are
// a few of them; the parts' line ends are counted by `scan` when one is given.
IndexOutcome IndexRows(const char* data, uint64_t length, RowIndex& index, RowScan* scan = nullptr,
                       size_t partBytes = kIndexPartBytes);
