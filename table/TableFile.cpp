#include "table/TableFile.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "table/RowIndex.h"

namespace {
const char kEmpty[] = "";
// One mark for each 64 bytes of the buffer: the marks of a gigabyte fit a core's cache.
constexpr unsigned kMarkShift = 6;

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
  shortRows_.clear();
  shortMarks_.clear();
  std::free(rowStarts);
  rowStarts = nullptr;
  lineCount = 0;
  columnCount = 0;
}

bool TableFile::Parse(const char* path, bool withHeaders) {
  headers = withHeaders;
  if (!buffer_.LoadFile(path, false, "\n"))
    return false;
  const char* lineFeed = static_cast<const char*>(
      std::memchr(buffer_.data, '\n', static_cast<size_t>(buffer_.length)));
  crLf_ = lineFeed && lineFeed > buffer_.data && lineFeed[-1] == '\r';
  buffer_.StripCarriageReturns();
  char* data = buffer_.data;
  const auto length = static_cast<size_t>(buffer_.length);
  char* firstLf = static_cast<char*>(std::memchr(data, '\n', length));
  if (!firstLf)
    return false;
  columnCount = 1 + static_cast<int32_t>(std::count(data, firstLf, ';'));
  RowIndex index;
  if (!IndexRows(data, length, columnCount, index)) {
    Clear();
    return false;
  }
  rowStarts = index.rowStarts;
  lineCount = index.lineCount;
  minFields_ = index.minFields;
  shortRows_ = std::move(index.shortRows);
  if (!shortRows_.empty()) {
    shortMarks_.assign((length >> kMarkShift) / 64 + 1, 0);
    for (const ShortRow& row : shortRows_) {
      size_t mark = static_cast<size_t>(row.start - data) >> kMarkShift;
      shortMarks_[mark / 64] |= uint64_t{1} << (mark % 64);
    }
  }
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

int32_t TableFile::FieldsBelowColumns(const char* row) const {
  if (shortRows_.empty())
    return columnCount;
  size_t mark = static_cast<size_t>(row - buffer_.data) >> kMarkShift;
  if (!(shortMarks_[mark / 64] >> (mark % 64) & 1))
    return columnCount;
  auto found = std::lower_bound(shortRows_.begin(), shortRows_.end(), row,
                                [](const ShortRow& a, const char* b) { return a.start < b; });
  return found != shortRows_.end() && found->start == row ? found->fields : columnCount;
}

const char* TableFile::FieldText(const char* row, int32_t k) const {
  if (k <= 0)
    return row;
  if (k < minFields_)
    return SkipFields(row, k);
  if (k < columnCount)
    return k < FieldsBelowColumns(row) ? SkipFields(row, k) : kEmpty;
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
  // Every row has the fields below minFields_, and all but the short rows those below
  // columnCount; past them the walk may have left the row.
  int32_t sure = minFields_;
  bool isShort = false;
  if (count > minFields_) {
    sure = FieldsBelowColumns(row);
    isShort = sure < columnCount;
  }
  int32_t k = 0;
  for (; k < count; ++k) {
    if (k > 0 && k >= sure && (isShort || PastRow(row, p, end)))
      break;
    size_t length = std::strlen(p);
    texts[k] = p;
    if (lengths)
      lengths[k] = length;
    p += length + 1;
  }
  return k;
}

void TableFile::AppendRowBytes(const char* row, std::string& out) const {
  // The row runs to the NUL that was its line end; blank lines may follow before the next row.
  const char* end = RowEnd(row);
  while (end > row && end[-1] == '\n')
    --end;
  if (end > row && end[-1] == '\0')
    --end;
  size_t at = out.size();
  out.append(row, end);
  for (size_t i = at; i < out.size(); ++i) {
    if (out[i] == '\0')
      out[i] = ';';
  }
}

int32_t TableFile::DataRowCount() const {
  // A table without lines has no data rows, whichever way the first line counts.
  return std::max<int32_t>(0, headers ? lineCount - 1 : lineCount);
}

const char* TableFile::DataRow(int32_t i) const {
  return rowStarts[headers ? i + 1 : i];
}
