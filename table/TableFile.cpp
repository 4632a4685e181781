#include "table/TableFile.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "table/RowIndex.h"
#include "table/Workers.h"

namespace {
const char kEmpty[] = "";
// One mark for each 64 bytes of the buffer: the marks of a gigabyte fit a core's cache.
constexpr unsigned kMarkShift = 6;

// Rows per part of the walk that finds the long rows.
constexpr size_t kLongRowGrain = size_t{1} << 16;

inline const char* SkipFields(const char* p, int32_t k) {
  for (int32_t i = 0; i < k; ++i)
    p += std::strlen(p) + 1;
  return p;
}

// One mark for each 64 bytes of the buffer where one of the rows starts.
std::vector<uint64_t> MarksOf(const std::vector<ShortRow>& rows, const char* data, size_t length) {
  std::vector<uint64_t> marks((length >> kMarkShift) / 64 + 1, 0);
  for (const ShortRow& row : rows) {
    size_t mark = static_cast<size_t>(row.start - data) >> kMarkShift;
    marks[mark / 64] |= uint64_t{1} << (mark % 64);
  }
  return marks;
}

// The row among `rows` (in file order) that starts at `row`, when a mark says one may.
const ShortRow* Marked(const std::vector<ShortRow>& rows, const std::vector<uint64_t>& marks,
                       const char* data, const char* row) {
  size_t mark = static_cast<size_t>(row - data) >> kMarkShift;
  if (rows.empty() || !(marks[mark / 64] >> (mark % 64) & 1))
    return nullptr;
  auto found = std::lower_bound(rows.begin(), rows.end(), row,
                                [](const ShortRow& a, const char* b) { return a.start < b; });
  return found != rows.end() && found->start == row ? &*found : nullptr;
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
  if (!shortRows_.empty())
    shortMarks_ = MarksOf(shortRows_, data, length);
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
  const ShortRow* found = Marked(shortRows_, shortMarks_, buffer_.data, row);
  return found ? found->fields : columnCount;
}

void TableFile::FindLongRows() const {
  longRowsKnown_ = true;
  const auto rows = static_cast<size_t>(lineCount);
  const size_t parts = Workers::RangeCount(rows, kLongRowGrain);
  std::vector<std::vector<ShortRow>> found(parts);
  Workers::ForEach(parts, [&](size_t part) {
    size_t end = Workers::RangeStart(rows, parts, part + 1);
    for (size_t i = Workers::RangeStart(rows, parts, part); i < end; ++i) {
      const char* row = rowStarts[i];
      if (FieldsBelowColumns(row) < columnCount)
        continue;
      // Past the columns, the row goes on until a leftover line end or the next row.
      const char* next = rowStarts[i + 1];
      const char* p = SkipFields(row, columnCount);
      int32_t fields = columnCount;
      for (; p < next && *p != '\n'; ++fields)
        p += std::strlen(p) + 1;
      if (fields > columnCount)
        found[part].push_back(ShortRow{row, fields});
    }
  });
  for (const std::vector<ShortRow>& some : found)
    longRows_.insert(longRows_.end(), some.begin(), some.end());
  if (!longRows_.empty())
    longMarks_ = MarksOf(longRows_, buffer_.data, static_cast<size_t>(buffer_.length));
}

int32_t TableFile::FieldCount(const char* row) const {
  int32_t fields = FieldsBelowColumns(row);
  if (fields < columnCount)
    return fields;
  if (!longRowsKnown_)
    FindLongRows();
  const ShortRow* found = Marked(longRows_, longMarks_, buffer_.data, row);
  return found ? found->fields : columnCount;
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
  // The row runs to the NUL after its last field, which was its line end.
  const char* end = SkipFields(row, FieldCount(row)) - 1;
  size_t at = out.size();
  out.append(row, end);
  for (auto c = out.begin() + static_cast<std::ptrdiff_t>(at); c != out.end(); ++c)
    *c = *c == '\0' ? ';' : *c;
}

int32_t TableFile::DataRowCount() const {
  // A table without lines has no data rows, whichever way the first line counts.
  return std::max<int32_t>(0, headers ? lineCount - 1 : lineCount);
}

const char* TableFile::DataRow(int32_t i) const {
  return rowStarts[headers ? i + 1 : i];
}
