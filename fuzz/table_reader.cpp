// The table reader on any bytes. The rows and fields it reads in place, through the index and
// through the walk along the bytes, are those of the plain reading: every CR left out, a line end
// after the last line, the rows counted up to the first NUL, split at runs of LF and at `;`. Both
// scanners and the index in parts agree with the index in one pass, in 4-byte and 8-byte entries.
// Then the file is cut short under the mapping, and every field of every row is read again: the
// reads must not crash, and the lost rows read as empty.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "table/FieldWalk.h"
#include "table/LineEnds.h"
#include "table/RowIndex.h"
#include "table/TableFile.h"
#include "table/Workers.h"

namespace {

void Require(bool condition, const char* what) {
  if (condition)
    return;
  std::fprintf(stderr, "table_reader: %s\n", what);
  std::abort();
}

// The plain reading: the rows before the first NUL, each a list of fields.
std::vector<std::vector<std::string>> PlainRows(const uint8_t* data, size_t size) {
  std::string content;
  for (size_t i = 0; i < size; ++i) {
    if (data[i] != '\r')
      content += static_cast<char>(data[i]);
  }
  content += '\n';
  size_t nul = content.find('\0');
  std::vector<std::vector<std::string>> rows;
  size_t at = 0;
  for (size_t lf; (lf = content.find('\n', at)) < nul;) {
    std::vector<std::string> fields{""};
    for (size_t i = at; i < lf; ++i) {
      if (content[i] == ';') {
        fields.emplace_back();
      } else {
        fields.back() += content[i];
      }
    }
    rows.push_back(fields);
    at = content.find_first_not_of('\n', lf);
  }
  return rows;
}

// The first line's fields, where a NUL ends a field as a `;` does; there are at least as many as
// the columns, which only the `;` bytes count.
std::vector<std::string> PlainTitles(const uint8_t* data, size_t size) {
  std::vector<std::string> titles{""};
  for (size_t i = 0; i < size && data[i] != '\n'; ++i) {
    if (data[i] == ';' || data[i] == 0) {
      titles.emplace_back();
    } else if (data[i] != '\r') {
      titles.back() += static_cast<char>(data[i]);
    }
  }
  return titles;
}

// Every field of every row, read by FieldText and by RowFields; fields lie inside their rows.
void CheckFieldsInRows(const TableFile& table, int32_t count) {
  std::vector<std::string_view> texts(static_cast<size_t>(count));
  const char* data = table.Buffer().Data();
  for (int32_t row = 0; row < table.lineCount; ++row) {
    const char* begin = data + table.RowStart(row);
    const char* end = data + table.RowStart(row + 1);
    int32_t fields = table.RowFields(row, count, texts.data());
    for (int32_t k = -1; k < count; ++k) {
      std::string_view text = table.FieldText(row, k);
      Require(text.empty() || (text.data() >= begin && text.data() + text.size() <= end),
              "field inside its row");
      Require(text.find_first_of(std::string_view(";\r\n\0", 4)) == std::string_view::npos,
              "no separator in a field");
      if (k >= 0)
        Require(k < fields ? texts[static_cast<size_t>(k)] == text : text.empty(),
                "RowFields agrees with FieldText");
    }
  }
}

void CheckTable(TableFile& table, const uint8_t* data, size_t size) {
  std::vector<std::vector<std::string>> rows = PlainRows(data, size);
  Require(table.lineCount == static_cast<int32_t>(rows.size()), "line count");
  const auto* lf = static_cast<const uint8_t*>(std::memchr(data, '\n', size));
  Require(table.columnCount == 1 + std::count(data, lf ? lf : data + size, ';'), "column count");
  std::vector<std::string> titles = PlainTitles(data, size);
  const int32_t count = table.columnCount + 3;
  for (int32_t row = 0; row < table.lineCount; ++row) {
    const std::vector<std::string>& fields = rows[static_cast<size_t>(row)];
    for (int32_t k = 0; k < count; ++k) {
      std::string_view want = k < static_cast<int32_t>(fields.size())
                                  ? std::string_view(fields[static_cast<size_t>(k)])
                                  : std::string_view();
      Require(table.FieldText(row, k) == want, "field as the plain reading has it");
    }
  }
  CheckFieldsInRows(table, count);
  for (int32_t k = -1; k < count; ++k) {
    table.headers = true;
    std::string title = table.ColumnName(k);
    Require(k >= 0 && k < table.columnCount ? title == titles[static_cast<size_t>(k)]
                                            : title == "Column " + std::to_string(k + 1),
            "title");
    table.headers = false;
    Require(table.ColumnName(k) == "Column " + std::to_string(k + 1), "formatted title");
  }
  // The walk along the bytes of all rows finds each row's fields that are not empty.
  std::vector<std::pair<int32_t, std::string_view>> walked, read;
  const char* bytes = table.Buffer().Data();
  fields::WalkFields(bytes, bytes + table.RowStart(table.lineCount), false,
                     [&](int32_t k, const char* text, size_t length, bool printable,
                         const fields::FieldNondigits& nondigits) {
                       std::string_view field(text, length);
                       Require(
                           printable == std::all_of(field.begin(), field.end(),
                                                    [](char c) { return c >= 0x20 && c <= 0x7E; }),
                           "whether a field's bytes are all printable");
                       uint64_t shape = nondigits();
                       for (size_t i = 0; i < length && i < 64; ++i)
                         Require(((shape >> i) & 1) != 0 || (text[i] >= '0' && text[i] <= '9'),
                                 "a byte that is not a digit has its bit");
                       Require(shape == ~uint64_t{0} || length >= 64 || shape >> length == 0,
                               "no bit past the field");
                       walked.emplace_back(k, field);
                     });
  for (int32_t row = 0; row < table.lineCount; ++row) {
    for (int32_t k = 0; k < static_cast<int32_t>(rows[static_cast<size_t>(row)].size()); ++k) {
      if (!table.FieldText(row, k).empty())
        read.emplace_back(k, table.FieldText(row, k));
    }
  }
  Require(walked == read, "the walk finds the fields");
}

template <class Offset>
std::vector<uint64_t> Starts(const char* data, size_t size, size_t runs, bool wide) {
  std::vector<Offset> starts(runs + 1);
  size_t stored = wide ? StoreRowStartsWide(data, size, 0, starts.data(), runs)
                       : StoreRowStartsNarrow(data, size, 0, starts.data(), runs);
  Require(stored == runs, "row starts stored");
  return std::vector<uint64_t>(starts.begin(), starts.begin() + static_cast<ptrdiff_t>(runs));
}

void CheckScanners(const TableFile& table) {
  const char* data = table.Buffer().Data();
  auto size = static_cast<size_t>(table.Buffer().Length());
  LineCount narrow = CountLineEndsNarrow(data, size, true);
  LineCount wide = CountLineEndsWide(data, size, true);
  Require(narrow.runs == wide.runs && narrow.firstNul == wide.firstNul &&
              narrow.strayCarriageReturn == wide.strayCarriageReturn,
          "counts agree");
  Require(!narrow.strayCarriageReturn, "a table's bytes hold no stray CR");
  std::vector<uint64_t> a = Starts<uint32_t>(data, size, narrow.runs, false);
  Require(a == Starts<uint32_t>(data, size, narrow.runs, true), "row starts agree");
  Require(a == Starts<uint64_t>(data, size, narrow.runs, true), "wide row starts agree");
  for (size_t i = 0; i < a.size() && static_cast<int32_t>(i) < table.lineCount; ++i)
    Require(a[i] == table.RowStart(static_cast<int32_t>(i) + 1), "the table's row starts");
}

// A count that walks every field on the way, as a load that fits widths counts.
class WalkingScan : public RowScan {
 public:
  void Begin(int32_t /*columns*/) override {}
  LineCount Count(const char* data, size_t length, bool /*fileStart*/, bool fileEnd) override {
    return fields::WalkFields(
        data, data + length, fileEnd,
        [](int32_t, const char*, size_t, bool, const fields::FieldNondigits&) {});
  }
};

// The walk counts the raw bytes, stray CR and NUL bytes included, as the line-end scanner does.
void CheckWalkCounts(const uint8_t* data, size_t size) {
  const auto* bytes = reinterpret_cast<const char*>(data);
  for (bool fileEnd : {true, false}) {
    LineCount scanned = CountLineEndsNarrow(bytes, size, fileEnd);
    LineCount walked = fields::WalkFields(
        bytes, bytes + size, fileEnd,
        [](int32_t, const char*, size_t, bool, const fields::FieldNondigits&) {});
    Require(scanned.runs == walked.runs && scanned.firstNul == walked.firstNul &&
                scanned.strayCarriageReturn == walked.strayCarriageReturn,
            "the walk counts as the scanner does");
  }
}

void CheckParts(const TableFile& table, size_t partBytes) {
  const char* data = table.Buffer().Data();
  uint64_t size = table.Buffer().Length();
  WalkingScan walking;
  for (RowScan* scan : {static_cast<RowScan*>(nullptr), static_cast<RowScan*>(&walking)}) {
    RowIndex parts;
    Workers::SetCount(3);
    Require(IndexRows(data, size, parts, scan, partBytes) == IndexOutcome::Indexed,
            "index in parts");
    Workers::SetCount(0);
    Require(parts.lineCount == table.lineCount, "parts count the lines");
    for (int32_t i = 0; i <= table.lineCount; ++i)
      Require(parts.starts[static_cast<size_t>(i)] == table.RowStart(i), "row in parts");
  }
}

// The bytes again, then short rows to make whole pages, cut short under the mapping at a page
// that the input chooses.
void CheckCutShort(const uint8_t* data, size_t size) {
  static const int fd = memfd_create("cut", 0);
  const auto page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  std::string bytes(reinterpret_cast<const char*>(data), size);
  bytes += '\n';
  while (bytes.size() < 3 * page)
    bytes += "p;q\n";
  Require(ftruncate(fd, 0) == 0 &&
              pwrite(fd, bytes.data(), bytes.size(), 0) == static_cast<ssize_t>(bytes.size()),
          "memory file write");
  TableFile table("Column %ld");
  Require(table.Parse(("/proc/self/fd/" + std::to_string(fd)).c_str(), false), "parse");
  size_t keep = (size ? data[0] % 3 : 0) * page;
  Require(ftruncate(fd, static_cast<off_t>(keep)) == 0, "cut short");
  CheckFieldsInRows(table, std::min(table.columnCount, 8) + 1);
  // A file read from a private copy has nothing left to lose.
  if (table.Buffer().Copied()) {
    Require(!table.FileChanged(), "a copy loses nothing");
    return;
  }
  bool rowLost = false;
  for (int32_t row = 0; row < table.lineCount; ++row) {
    if (table.RowStart(row) >= keep) {
      Require(table.FieldText(row, 0).empty(), "a lost row reads as empty");
      rowLost = true;
    }
  }
  Require(!table.FileChanged() || table.RowStart(table.lineCount) > keep, "no loss unless cut");
  Require(table.FileChanged() || !rowLost, "the loss is known");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const int fd = memfd_create("table", 0);
  Require(fd >= 0 && ftruncate(fd, 0) == 0, "memory file");
  Require(pwrite(fd, data, size, 0) == static_cast<ssize_t>(size), "memory file write");
  std::string path = "/proc/self/fd/" + std::to_string(fd);
  TableFile table("Column %ld");
  Require(table.Parse(path.c_str(), true), "parse");
  CheckTable(table, data, size);
  CheckScanners(table);
  CheckWalkCounts(data, size);
  CheckParts(table, 3 + size % 61);
  CheckCutShort(data, size);
  return 0;
}
