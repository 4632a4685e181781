// Asking for rows ahead of need, for walks over rows in an order of their own (sorted rows), which
// otherwise wait on every row twice: on its entry in the index, then on its bytes. A walk asks for
// the entry of the row kStartAhead places on and for the bytes of the row kBytesAhead places on,
// whose entry has arrived by then; the first rows of a walk, and every row of a short one, are
// asked for before it begins.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "table/TableFile.h"

namespace prefetch {

constexpr size_t kStartAhead = 48;
constexpr size_t kBytesAhead = 16;

inline void Bytes(const TableFile& table, int32_t row) {
  const char* bytes = table.Buffer().Data() + table.RowStart(row);
  __builtin_prefetch(bytes);
  __builtin_prefetch(bytes + 64);
}

// Before a walk over rows rowAt(begin) ... rowAt(end - 1).
template <class RowAt>
void Begin(const TableFile& table, RowAt&& rowAt, size_t begin, size_t end) {
  for (size_t i = begin; i < std::min(end, begin + kStartAhead); ++i)
    table.PrefetchRowStart(rowAt(i));
  for (size_t i = begin; i < std::min(end, begin + kBytesAhead); ++i)
    Bytes(table, rowAt(i));
}

// At step i of that walk.
template <class RowAt>
void Step(const TableFile& table, RowAt&& rowAt, size_t i, size_t end) {
  if (i + kStartAhead < end)
    table.PrefetchRowStart(rowAt(i + kStartAhead));
  if (i + kBytesAhead < end)
    Bytes(table, rowAt(i + kBytesAhead));
}

}  // namespace prefetch
