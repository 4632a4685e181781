// The table reader on any bytes: every field of every row is read, with the first line as titles
// and as a row, for columns -1 to columnCount + 2. A field never holds a separator nor lies past
// its row, the table splits its bytes as both splitters do, and a split in parts of a few bytes
// on several threads ends as the split in one pass.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "table/RowIndex.h"
#include "table/RowSplitter.h"
#include "table/TableFile.h"
#include "table/Workers.h"

namespace {

void Require(bool condition, const char* what) {
  if (condition)
    return;
  std::fprintf(stderr, "table_reader: %s\n", what);
  std::abort();
}

void CheckRows(TableFile& table, bool headers) {
  table.headers = headers;
  const FileBuffer& buffer = table.Buffer();
  const int32_t count = table.columnCount + 3;
  std::vector<const char*> texts(static_cast<size_t>(count));
  std::vector<size_t> lengths(static_cast<size_t>(count));
  for (int32_t i = 0; i < table.DataRowCount(); ++i) {
    const char* row = table.DataRow(i);
    const char* next =
        i + 1 < table.DataRowCount() ? table.DataRow(i + 1) : buffer.data + buffer.length;
    table.FieldTexts(row, count, texts.data(), lengths.data());
    for (int32_t k = -1; k < count; ++k) {
      const char* text = table.FieldText(row, k);
      size_t length = std::strlen(text);
      Require(length == 0 || (text >= row && text + length < next), "field inside its row");
      Require(std::strcspn(text, ";\r\n") == length, "no separator in a field");
      if (k >= 0)
        Require(texts[static_cast<size_t>(k)] == text && lengths[static_cast<size_t>(k)] == length,
                "FieldTexts agrees with FieldText");
    }
  }
  for (int32_t k = -1; k < count; ++k) {
    std::string title = table.ColumnName(k);
    if (headers && k >= 0 && k < table.columnCount)
      Require(title == table.FieldText(table.rowStarts[0], k), "title from the first line");
    else
      Require(title == "Column " + std::to_string(k + 1), "formatted title");
  }
}

// The content as Parse hands it to the split: CRs gone, an LF and a NUL appended.
std::string Content(const uint8_t* data, size_t size) {
  std::string content;
  for (size_t i = 0; i < size; ++i) {
    if (data[i] != '\r')
      content += static_cast<char>(data[i]);
  }
  return content + std::string("\n\0", 2);
}

void CheckSplitters(const TableFile& table, std::string narrow) {
  std::string wide = narrow;
  const int32_t lines = table.lineCount;
  std::vector<const char*> narrowStarts(static_cast<size_t>(lines) + 1);
  std::vector<const char*> wideStarts(narrowStarts.size());
  SplitResult n = SplitRowsNarrow(narrow.data(), narrow.size(), narrowStarts.data(), lines);
  SplitResult w = SplitRowsWide(wide.data(), wide.size(), wideStarts.data(), lines);
  Require(narrow == wide && n.minFields == w.minFields, "splitters agree");
  Require(n.stored == lines && w.stored == lines, "rows stored");
  Require(static_cast<size_t>(table.Buffer().length) == narrow.size() &&
              std::memcmp(table.Buffer().data, narrow.data(), narrow.size()) == 0,
          "table's bytes");
  for (int32_t k = 1; k <= lines; ++k) {
    const auto at = static_cast<size_t>(k);
    Require(narrowStarts[at] - narrow.data() == wideStarts[at] - wide.data() &&
                narrowStarts[at] - narrow.data() == table.rowStarts[at] - table.Buffer().data,
            "row starts agree");
  }
}

void CheckParts(const std::string& content, int32_t columns, size_t partBytes) {
  std::string whole = content;
  std::string split = content;
  RowIndex one, parts;
  Workers::SetCount(1);
  Require(IndexRows(whole.data(), whole.size(), columns, one), "index");
  Workers::SetCount(3);
  Require(IndexRows(split.data(), split.size(), columns, parts, partBytes), "index in parts");
  Require(split == whole && parts.lineCount == one.lineCount && parts.minFields == one.minFields &&
              parts.shortRows.size() == one.shortRows.size(),
          "parts agree");
  for (int32_t i = 0; i <= one.lineCount; ++i) {
    const auto at = static_cast<size_t>(i);
    Require(parts.rowStarts[at] - split.data() == one.rowStarts[at] - whole.data(), "row in parts");
  }
  for (size_t i = 0; i < one.shortRows.size(); ++i) {
    Require(parts.shortRows[i].start - split.data() == one.shortRows[i].start - whole.data() &&
                parts.shortRows[i].fields == one.shortRows[i].fields,
            "short row in parts");
  }
  std::free(one.rowStarts);
  std::free(parts.rowStarts);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const int fd = memfd_create("table", 0);
  Require(fd >= 0 && ftruncate(fd, 0) == 0, "memory file");
  Require(pwrite(fd, data, size, 0) == static_cast<ssize_t>(size), "memory file write");
  std::string path = "/proc/self/fd/" + std::to_string(fd);
  TableFile table("Column %ld");
  Require(table.Parse(path.c_str(), true), "parse");
  const char* lf = static_cast<const char*>(std::memchr(data, '\n', size));
  size_t first = lf ? static_cast<size_t>(lf - reinterpret_cast<const char*>(data)) : size;
  Require(table.columnCount == 1 + static_cast<int32_t>(std::count(data, data + first, ';')),
          "column count");
  CheckRows(table, true);
  CheckRows(table, false);
  std::string content = Content(data, size);
  CheckSplitters(table, content);
  CheckParts(content, table.columnCount, 3 + size % 61);
  return 0;
}
