#include "table/TableFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "table/FieldWalk.h"
#include "table/Fields.h"

TableFile::TableFile(const char* columnTitleFormat) : columnTitleFormat_(columnTitleFormat) {}

void TableFile::Clear() {
  index_ = RowIndex{};
  buffer_.Release();
  titles_.clear();
  lineCount = 0;
  columnCount = 0;
  crLf_ = false;
}

bool TableFile::Parse(const char* path, bool withHeaders, RowScan* scan) {
  headers = withHeaders;
  if (!buffer_.Map(path))
    return false;
  // Before a private copy without CR bytes is made, if one is.
  const char* data = buffer_.Data();
  const auto* lineFeed =
      static_cast<const char*>(std::memchr(data, '\n', static_cast<size_t>(buffer_.Length())));
  crLf_ = lineFeed && lineFeed > data && lineFeed[-1] == '\r';
  CountColumns();
  if (!Index(scan)) {
    Clear();
    return false;
  }
  ReadTitles();
  return true;
}

// Most files are read in place. One whose CR bytes stand where no line end explains them is read
// from a copy without them, which is what such a file reads as: every CR is left out wherever it
// stands.
bool TableFile::Index(RowScan* scan) {
  if (scan)
    scan->Begin(columnCount);
  IndexOutcome outcome = IndexRows(buffer_.Data(), buffer_.Length(), index_, scan);
  if (outcome == IndexOutcome::StrayCarriageReturn) {
    if (!buffer_.CopyWithoutCarriageReturns())
      return false;
    // The scan saw the bytes that the copy replaces.
    if (scan)
      scan->Begin(columnCount);
    outcome = IndexRows(buffer_.Data(), buffer_.Length(), index_, scan);
  }
  if (outcome != IndexOutcome::Indexed)
    return false;
  lineCount = index_.lineCount;
  return true;
}

// The column count is one more than the `;` bytes before the first LF, which a copy without CR
// bytes keeps.
void TableFile::CountColumns() {
  const char* data = buffer_.Data();
  auto length = static_cast<size_t>(buffer_.Length());
  const void* lf = std::memchr(data, '\n', length);
  const char* end = lf ? static_cast<const char*>(lf) : data + length;
  columnCount = 1 + static_cast<int32_t>(std::count(data, end, ';'));
}

// The titles are the first line's fields, where a NUL ends a field as a `;` does.
void TableFile::ReadTitles() {
  const char* data = buffer_.Data();
  auto length = static_cast<size_t>(buffer_.Length());
  const void* lf = std::memchr(data, '\n', length);
  const char* end = lf ? static_cast<const char*>(lf) : data + length;
  titles_.assign(static_cast<size_t>(columnCount), std::string());
  size_t k = 0;
  for (const char* p = data; p < end && k < titles_.size(); ++p) {
    if (*p == ';' || *p == '\0') {
      ++k;
    } else if (*p != '\r') {
      titles_[k] += *p;
    }
  }
}

const char* TableFile::ColumnName(int32_t index) {
  if (headers && index >= 0 && index < columnCount)
    return titles_[static_cast<size_t>(index)].c_str();
  std::snprintf(title_, sizeof title_, columnTitleFormat_, static_cast<long>(index) + 1);
  return title_;
}

std::string_view TableFile::FieldText(int32_t row, int32_t k) const {
  const char* data = buffer_.Data();
  return fields::FindFieldFast(data + index_.starts[static_cast<size_t>(row)],
                               data + index_.starts[static_cast<size_t>(row) + 1],
                               data + buffer_.Length(), k);
}

int32_t TableFile::RowFields(int32_t row, int32_t count, std::string_view* texts) const {
  const char* data = buffer_.Data();
  const char* p = data + index_.starts[static_cast<size_t>(row)];
  const char* end = data + index_.starts[static_cast<size_t>(row) + 1];
  const char* limit = data + buffer_.Length();
  for (int32_t k = 0; k < count; ++k) {
    const char* stop = fields::FieldEnd(p, end, limit);
    texts[k] = {p, static_cast<size_t>(stop - p)};
    if (stop == end || *stop != ';')
      return k + 1;
    p = stop + 1;
  }
  return count;
}

std::string_view TableFile::RowBytes(int32_t row) const {
  const char* data = buffer_.Data();
  const char* begin = data + index_.starts[static_cast<size_t>(row)];
  const char* end = data + index_.starts[static_cast<size_t>(row) + 1];
  // A row before the last holds neither a CR nor a NUL, so it ends where the run of line ends
  // before the next row begins. The last row ends where the rows do, at a NUL or the file's end,
  // and pages lost to a file cut short read as NUL, so those rows are walked field by field.
  if (row + 1 < lineCount && !buffer_.Lost()) {
    while (end > begin && (end[-1] == '\n' || end[-1] == '\r'))
      --end;
    return {begin, static_cast<size_t>(end - begin)};
  }
  const char* limit = data + buffer_.Length();
  // The row's fields go on while a `;` ends one.
  const char* stop = fields::FieldEnd(begin, end, limit);
  while (stop != end && *stop == ';')
    stop = fields::FieldEnd(stop + 1, end, limit);
  return {begin, static_cast<size_t>(stop - begin)};
}

int32_t TableFile::DataRowCount() const {
  // A table without lines has no data rows, whichever way the first line counts.
  return std::max<int32_t>(0, headers ? lineCount - 1 : lineCount);
}
