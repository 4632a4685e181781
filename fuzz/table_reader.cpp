// The table reader on any bytes. The table that Parse builds must match the file as the format
// defines it, worked out here the plain way; every title and every field of every row is checked,
// with the first line as titles and as a row, for columns -1 to columnCount + 2. Both splitters
// must split the same bytes alike.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "table/RowSplitter.h"
#include "table/TableFile.h"

namespace {

const char kTitleFormat[] = "Column %ld";

void Require(bool condition, const char* what) {
  if (condition)
    return;
  std::fprintf(stderr, "table_reader: %s\n", what);
  std::abort();
}

std::vector<std::string> SplitAt(const std::string& text, const char* separators, size_t count) {
  std::vector<std::string> pieces(1);
  for (char c : text) {
    if (std::memchr(separators, c, count))
      pieces.emplace_back();
    else
      pieces.back() += c;
  }
  return pieces;
}

// The file as the format reads: CRs gone, one LF appended, rows ended by runs of LFs, no row from
// the line of the first NUL on, columns counted on the first line.
struct Expected {
  std::string content;  // without CRs, with the appended LF
  int32_t columnCount = 0;
  std::vector<std::vector<std::string>> rows;
  std::vector<size_t> rowStarts;  // offsets into content, one more than the rows
  std::vector<std::string> titles;
};

Expected Model(const uint8_t* data, size_t size) {
  Expected e;
  for (size_t i = 0; i < size; ++i) {
    if (data[i] != '\r')
      e.content += static_cast<char>(data[i]);
  }
  e.content += '\n';
  const std::string& s = e.content;
  size_t firstLf = s.find('\n');
  e.columnCount = 1 + static_cast<int32_t>(std::count(s.begin(), s.begin() + firstLf, ';'));
  size_t nul = std::min(s.find('\0'), s.size());
  e.rowStarts.push_back(0);
  for (size_t i = 0; i < nul;) {
    if (s[i] != '\n') {
      ++i;
      continue;
    }
    e.rows.push_back(SplitAt(s.substr(e.rowStarts.back(), i - e.rowStarts.back()), ";", 1));
    while (i < s.size() && s[i] == '\n')
      ++i;
    e.rowStarts.push_back(i);
  }
  // Titles come from the first line even when a NUL keeps it from being a row.
  e.titles = SplitAt(s.substr(0, firstLf), ";\0", 2);
  return e;
}

const std::string& Field(const std::vector<std::string>& fields, int32_t k) {
  static const std::string empty;
  size_t at = k < 0 ? 0 : static_cast<size_t>(k);
  return at < fields.size() ? fields[at] : empty;
}

void CheckRows(TableFile& table, const Expected& e, bool headers) {
  table.headers = headers;
  const size_t skip = headers ? 1 : 0;
  const size_t rows = e.rows.size() > skip ? e.rows.size() - skip : 0;
  Require(table.DataRowCount() == static_cast<int32_t>(rows), "data row count");
  const int32_t count = table.columnCount + 3;
  std::vector<const char*> texts(static_cast<size_t>(count));
  std::vector<size_t> lengths(static_cast<size_t>(count));
  for (size_t i = 0; i < rows; ++i) {
    const char* row = table.DataRow(static_cast<int32_t>(i));
    Require(row == table.Buffer().data + e.rowStarts[i + skip], "row start");
    table.FieldTexts(row, count, texts.data(), lengths.data());
    for (int32_t k = -1; k < count; ++k) {
      const char* text = table.FieldText(row, k);
      Require(text == Field(e.rows[i + skip], k), "field text");
      if (k < 0)
        continue;
      Require(texts[static_cast<size_t>(k)] == text, "FieldTexts agrees with FieldText");
      Require(lengths[static_cast<size_t>(k)] == std::strlen(text), "field length");
    }
  }
  for (int32_t k = -1; k < count; ++k) {
    std::string title = table.ColumnName(k);
    if (headers && k >= 0 && k < table.columnCount) {
      Require(title == Field(e.titles, k), "title from the first line");
    } else {
      char formatted[32];
      std::snprintf(formatted, sizeof formatted, kTitleFormat, static_cast<long>(k) + 1);
      Require(title == formatted, "formatted title");
    }
  }
}

// Both splitters on the content as Parse hands it over (the NUL after it included), against each
// other and against the table's own split.
void CheckSplitters(const TableFile& table, const Expected& e) {
  const size_t length = e.content.size() + 1;
  const auto lines = static_cast<int32_t>(e.rows.size());
  std::string narrow = e.content + '\0';
  std::string wide = narrow;
  std::vector<const char*> narrowStarts(e.rows.size() + 1), wideStarts(e.rows.size() + 1);
  SplitResult n = SplitRowsNarrow(narrow.data(), length, narrowStarts.data(), lines);
  SplitResult w = SplitRowsWide(wide.data(), length, wideStarts.data(), lines);
  Require(narrow == wide, "split bytes");
  Require(n.stored == lines && w.stored == lines, "rows stored");
  Require(n.minFields == w.minFields, "fewest fields");
  for (size_t k = 1; k <= e.rows.size(); ++k) {
    Require(narrowStarts[k] - narrow.data() == static_cast<ptrdiff_t>(e.rowStarts[k]),
            "narrow row");
    Require(wideStarts[k] - wide.data() == static_cast<ptrdiff_t>(e.rowStarts[k]), "wide row");
  }
  Require(std::memcmp(table.Buffer().data, narrow.data(), length) == 0, "table's split bytes");
}

int MemoryFile() {
  static const int fd = memfd_create("table", 0);
  return fd;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  int fd = MemoryFile();
  Require(fd >= 0 && ftruncate(fd, 0) == 0, "memory file");
  Require(pwrite(fd, data, size, 0) == static_cast<ssize_t>(size), "memory file write");
  std::string path = "/proc/self/fd/" + std::to_string(fd);

  Expected e = Model(data, size);
  TableFile table(kTitleFormat);
  Require(table.Parse(path.c_str(), true), "parse");
  Require(table.columnCount == e.columnCount, "column count");
  Require(table.lineCount == static_cast<int32_t>(e.rows.size()), "line count");
  CheckRows(table, e, true);
  CheckRows(table, e, false);
  CheckSplitters(table, e);
  return 0;
}
