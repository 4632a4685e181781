// The row index of a file's content: counting its lines and splitting it in place, on every core
// for a big file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "table/RowSplitter.h"

struct RowIndex {
  // lineCount + 1 row starts; release with std::free.
  const char** rowStarts = nullptr;
  int32_t lineCount = 0;
  // The fewest fields of any counted row; 0 when there are none.
  int32_t minFields = 0;
  // The counted rows with fewer fields than the table has columns, in file order.
  std::vector<ShortRow> shortRows;
};

// How much content one thread splits at a time: small enough to stay in a core's cache between the
// look for NUL bytes and the split.
constexpr size_t kSplitPartBytes = size_t{512} << 10;

// Counts the runs of LF bytes before the first NUL among the first `length` bytes, allocates the
// row index and splits all `length` bytes, noting the rows with fewer than `columns` fields. False,
// with nothing allocated, when the index cannot be. Content of a few parts or more is split in
// parts of about `partBytes` on every core.
bool IndexRows(char* data, size_t length, int32_t columns, RowIndex& index,
               size_t partBytes = kSplitPartBytes);
