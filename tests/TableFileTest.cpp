// The .qdx format as the table reader sees it: rows and fields. (Titles, the bytes it leaves, and
// the splitters on any bytes are checked by fuzz/table_reader.cpp.)
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "app/Strings.h"
#include "table/TableFile.h"

using namespace std::string_literals;

namespace {

struct Loaded {
  std::unique_ptr<TableFile> table = std::make_unique<TableFile>(kColumnTitleFormat);
  bool ok = false;
  std::string Field(const char* row, int32_t k) const { return table->FieldText(row, k); }
};

Loaded ParseBytes(const TempDir& dir, const std::string& bytes, bool headers = false) {
  Loaded loaded;
  std::string path = dir.Write("t.qdx", bytes);
  loaded.ok = loaded.table->Parse(path.c_str(), headers);
  return loaded;
}

struct FormatCase {
  const char* what;
  std::string bytes;
  int32_t columns;
  // Each row's leading fields; every field after these must read as empty.
  std::vector<std::vector<std::string>> rows;
};

const FormatCase kFormatCases[] = {
    {"CR LF line ends", "a;b\r\np;q\r\n", 2, {{"a", "b"}, {"p", "q"}}},
    {"LF line ends read the same", "a;b\np;q\n", 2, {{"a", "b"}, {"p", "q"}}},
    {"no final line end", "a;b\r\np;q", 2, {{"a", "b"}, {"p", "q"}}},
    {"a run of blank lines ends one row", "a;b\n\n\np;q\n", 2, {{"a", "b"}, {"p", "q"}}},
    {"blank lines in CR LF form", "a;b\r\n\r\n\r\np;q\r\n\r\n", 2, {{"a", "b"}, {"p", "q"}}},
    {"leading blank line: one column, empty first row", "\na;b\n", 1, {{""}, {"a", "b"}}},
    {"several leading blank lines count once", "\n\n\na\n", 1, {{""}, {"a"}}},
    {"empty file: one column, one empty row", "", 1, {{""}}},
    {"a lone line end is one empty row", "\r\n", 1, {{""}}},
    {"short row: missing third field is empty",
     "x;y;z\n1;2\n3;4;5\n",
     3,
     {{"x", "y", "z"}, {"1", "2"}, {"3", "4", "5"}}},
    {"short row followed by a row that starts with ;",
     "x;y;z\n1\n;b;c\n",
     3,
     {{"x", "y", "z"}, {"1"}, {"", "b", "c"}}},
    {"short row followed directly, no leftover LF",
     "x;y;z\n1\n2;3;4\n",
     3,
     {{"x", "y", "z"}, {"1"}, {"2", "3", "4"}}},
    {"short row followed by leftover LF bytes",
     "x;y;z\n1\n\n\n2;3;4\n",
     3,
     {{"x", "y", "z"}, {"1"}, {"2", "3", "4"}}},
    {"short last row without a line end", "x;y;z\n1", 3, {{"x", "y", "z"}, {"1"}}},
    {"long row keeps its extra fields", "a;b\n1;2;3;4\n", 2, {{"a", "b"}, {"1", "2", "3", "4"}}},
    {"trailing ; makes an empty last column",
     "a;b;\n1;2;3\n",
     3,
     {{"a", "b", ""}, {"1", "2", "3"}}},
    {"CR inside a field is dropped", "a\rb;c\n", 2, {{"ab", "c"}}},
    {"CR-only line ends form one row", "a;b\rc;d\re\r", 3, {{"a", "bc", "de"}}},
    {"double quote is an ordinary byte", "\"a;b\"\n", 2, {{"\"a", "b\""}}},
    {"a byte-order mark is part of the first field",
     "\xEF\xBB\xBFid;n\n",
     2,
     {{"\xEF\xBB\xBFid", "n"}}},
    {"NUL in the third line: two rows", "a;b\nc;d\ne\0f;g\nh;i\n"s, 2, {{"a", "b"}, {"c", "d"}}},
    {"NUL right after the second line end", "a;b\nc;d\n\0\nx;y\n"s, 2, {{"a", "b"}, {"c", "d"}}},
    // The column count still counts every ; before the first LF.
    {"NUL in the first line: no rows", "a\0b;c\nd\n"s, 2, {}},
};

TEST(TableFormat, RowsAndFieldsFollowTheFileFormat) {
  TempDir dir;
  for (const FormatCase& c : kFormatCases) {
    SCOPED_TRACE(c.what);
    Loaded t = ParseBytes(dir, c.bytes);
    ASSERT_TRUE(t.ok);
    EXPECT_EQ(t.table->columnCount, c.columns);
    ASSERT_EQ(t.table->lineCount, static_cast<int32_t>(c.rows.size()));
    for (size_t i = 0; i < c.rows.size(); ++i) {
      const char* row = t.table->rowStarts[i];
      int32_t width = static_cast<int32_t>(c.rows[i].size());
      for (int32_t k = 0; k < width; ++k)
        EXPECT_EQ(t.Field(row, k), c.rows[i][static_cast<size_t>(k)])
            << "row " << i << " field " << k;
      // Fields the row lacks are empty, never bytes of the next row.
      for (int32_t k = width; k < c.columns + 3; ++k)
        EXPECT_EQ(t.Field(row, k), "") << "row " << i << " field " << k;
    }
  }
}

TEST(TableFile, FieldTextWithOutOfRangeIndex) {
  TempDir dir;
  Loaded t = ParseBytes(dir, "a;b;c\nd;e\nf;g;h\n");
  ASSERT_TRUE(t.ok);
  const char* const* rows = t.table->rowStarts;
  struct {
    const char* what;
    int row;
    int32_t k;
    const char* text;
  } const cases[] = {
      {"negative k reads field 0", 0, -1, "a"},
      {"most negative k reads field 0", 1, INT32_MIN, "d"},
      {"k just past a short row", 1, 2, ""},
      {"large k on the first row", 0, 1000, ""},
      {"largest k on the last row", 2, INT32_MAX, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_STREQ(t.table->FieldText(rows[c.row], c.k), c.text);
  }
}

TEST(TableFile, DataRowsFollowTheHeadersFlag) {
  TempDir dir;
  Loaded t = ParseBytes(dir, "h1;h2\nr1;x\nr2;y\n");
  ASSERT_TRUE(t.ok);
  struct {
    const char* what;
    bool headers;
    int32_t count;
    const char* first;
    const char* last;
  } const cases[] = {
      {"headers off: every line", false, 3, "h1", "r2"},
      {"headers on: the first line is not a data row", true, 2, "r1", "r2"},
      {"off again: the index did not change", false, 3, "h1", "r2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    t.table->headers = c.headers;
    ASSERT_EQ(t.table->DataRowCount(), c.count);
    EXPECT_EQ(t.Field(t.table->DataRow(0), 0), c.first);
    EXPECT_EQ(t.Field(t.table->DataRow(c.count - 1), 0), c.last);
  }
}

// A row's bytes as the file holds them, every field and the `;` between them without the line end,
// for writing rows out; and the line end that the file's first line has.
TEST(TableFile, RowBytesAreTheFilesOwn) {
  struct {
    const char* what;
    std::string bytes;
    std::vector<std::string> rows;
    const char* lineEnd;
  } const cases[] = {
      {"LF", "a;b\np;q\n", {"a;b", "p;q"}, "\n"},
      {"CR LF", "a;b\r\np;q\r\n", {"a;b", "p;q"}, "\r\n"},
      {"short and long rows", "x;y;z\n1\n2;3;4;5;6\n", {"x;y;z", "1", "2;3;4;5;6"}, "\n"},
      {"empty fields, also the last", "a;\n;\n;;\n", {"a;", ";", ";;"}, "\n"},
      {"blank lines and no final line end", "a;b\n\n\np;q", {"a;b", "p;q"}, "\n"},
      {"blank CR LF lines", "a\r\n\r\n\r\nb\r\n\r\n", {"a", "b"}, "\r\n"},
      {"the first line decides", "h\r\nx\ny\r\n", {"h", "x", "y"}, "\r\n"},
      {"an LF first line decides too", "h\nx\r\n", {"h", "x"}, "\n"},
      {"a lone line", "only;one", {"only;one"}, "\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    Loaded t = ParseBytes(dir, c.bytes);
    ASSERT_TRUE(t.ok);
    ASSERT_EQ(t.table->lineCount, static_cast<int32_t>(c.rows.size()));
    for (size_t i = 0; i < c.rows.size(); ++i) {
      std::string out = "<";
      t.table->AppendRowBytes(t.table->rowStarts[i], out);
      EXPECT_EQ(out, "<" + c.rows[i]);
    }
    EXPECT_STREQ(t.table->LineEnd(), c.lineEnd);
  }
}

}  // namespace
