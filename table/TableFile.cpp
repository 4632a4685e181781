#include "table/TableFile.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "table/RowIndex.h"

namespace {
const char kEmpty[] = "";

inline const char* SkipFields(const char* p, int32_t k) {
  for (int32_t i = 0; i < k; ++i)
    p += std::strlen(p) + 1;
  return p;
}
}  // namespace

TableFile::TableFile(const char* columnTitleFormat) : columnTitleFormat_(columnTitleFormat) {}

TableFile::~TableFile() {
  std::free(rowStarts);
  rowStarts = nullptr;
}

void TableFile::Clear() {
  std::free(rowStarts);
  rowStarts = nullptr;
  lineCount = 0;
  columnCount = 0;
}

bool TableFile::Parse(const char* path, bool withHeaders) {
  headers = withHeaders;
  if (!buffer_.LoadFile(path, true, "\n"))
    return false;
  char* data = buffer_.data;
  const auto length = static_cast<size_t>(buffer_.length);
  char* firstLf = static_cast<char*>(std::memchr(data, '\n', length));
  if (!firstLf)
    return false;
  columnCount = 1 + static_cast<int32_t>(std::count(data, firstLf, ';'));
  RowIndex index;
  if (!IndexRows(data, length, index)) {
    Clear();
    return false;
  }
  rowStarts = index.rowStarts;
  lineCount = index.lineCount;
  minFields_ = index.minFields;
  titles_.resize(static_cast<size_t>(columnCount));
  FieldTexts(rowStarts[0], columnCount, titles_.data(), nullptr);
  return true;
}

const char* TableFile::ColumnName(int32_t index) {
  if (headers && index >= 0 && index < columnCount && rowStarts)
    return titles_[static_cast<size_t>(index)];
  std::snprintf(title_, sizeof title_, columnTitleFormat_, static_cast<long>(index) + 1);
  return title_;
}

const char* TableFile::RowEnd(const char* row) const {
  const char** last = rowStarts + lineCount + 1;
  const char** next = std::upper_bound(rowStarts, last, row);
  return next == last ? buffer_.data + buffer_.length : *next;
}

bool TableFile::PastRow(const char* row, const char* p, const char*& end) const {
  if (!end)
    end = RowEnd(row);
  return p >= end || *p == '\n';
}

const char* TableFile::FieldText(const char* row, int32_t k) const {
  if (k <= 0)
    return row;
  if (k < minFields_)
    return SkipFields(row, k);
  const char* end = nullptr;
  const char* p = row;
  for (int32_t i = 0; i < k; ++i) {
    p += std::strlen(p) + 1;
    if (PastRow(row, p, end))
      return kEmpty;
  }
  return p;
}

void TableFile::FieldTexts(const char* row, int32_t count, const char** texts,
                           size_t* lengths) const {
  for (int32_t k = RowFields(row, count, texts, lengths); k < count; ++k) {
    texts[k] = kEmpty;
    if (lengths)
      lengths[k] = 0;
  }
}

int32_t TableFile::RowFields(const char* row, int32_t count, const char** texts,
                             size_t* lengths) const {
  const char* end = nullptr;
  const char* p = row;
  int32_t k = 0;
  for (; k < count; ++k) {
    // Every row has the fields below minFields_; past them the walk may have left the row.
    if (k > 0 && k >= minFields_ && PastRow(row, p, end))
      break;
    size_t length = std::strlen(p);
    texts[k] = p;
    if (lengths)
      lengths[k] = length;
    p += length + 1;
  }
  return k;
}

int32_t TableFile::DataRowCount() const {
  // A table without lines has no data rows, whichever way the first line counts.
  return std::max<int32_t>(0, headers ? lineCount - 1 : lineCount);
}

const char* TableFile::DataRow(int32_t i) const {
  return rowStarts[headers ? i + 1 : i];
}
