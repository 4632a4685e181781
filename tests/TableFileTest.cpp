// The .qdx format as the table reader sees it: rows, fields, titles and the buffer it leaves.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "app/Strings.h"
#include "table/RowSplitter.h"
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

struct LoadCase {
  const char* what;
  std::string bytes;
  bool strip;
  const char* terminator;
  std::string buffer;  // the first buffer.size() bytes of data
  int32_t length;
};

const LoadCase kLoadCases[] = {
    // Without stripping, the terminator follows the bytes and a NUL sits at data[length].
    {"no terminator, CR kept", "x\r\ny", false, "", "x\r\ny\0"s, 4},
    {"terminator appended", "x\r\ny", false, "\n", "x\r\ny\n\0"s, 5},
    {"longer terminator", "", false, "ab", "ab\0"s, 2},
    // Stripping keeps the NUL and counts it.
    {"stripped, NUL counted", "x\r\ny", true, "\n", "x\ny\n\0"s, 5},
    {"CR next to the terminator", "a\r", true, "", "a\0"s, 2},
    {"only CRs", "\r\r\r", true, "\n", "\n\0"s, 2},
    {"bytes from 0x80 are kept as they are", "\xE9\x8D\r\xFF", true, "", "\xE9\x8D\xFF\0"s, 4},
};

TEST(FileBuffer, LoadFileAppendsTerminatorAndStripsCarriageReturns) {
  TempDir dir;
  for (const LoadCase& c : kLoadCases) {
    SCOPED_TRACE(c.what);
    std::string path = dir.Write("f.bin", c.bytes);
    FileBuffer buffer;
    ASSERT_TRUE(buffer.LoadFile(path.c_str(), c.strip, c.terminator));
    EXPECT_EQ(buffer.file, nullptr);
    EXPECT_EQ(buffer.length, c.length);
    EXPECT_EQ(std::string(buffer.data, c.buffer.size()), c.buffer);
  }
}

struct TitleCase {
  const char* what;
  bool headers;
  int32_t index;
  const char* title;
};

const TitleCase kTitleCases[] = {
    {"header field", true, 0, "a"},
    {"empty header field is an empty title", true, 1, ""},
    {"last column", true, 2, "z"},
    {"one past the last column", true, 3, "Column 4"},
    {"far past the last column", true, 5, "Column 6"},
    {"negative index", true, -1, "Column 0"},
    {"very negative index", true, -100, "Column -99"},
    {"headers off, first column", false, 0, "Column 1"},
    {"headers off, empty header field", false, 1, "Column 2"},
    {"headers off, past the end", false, 5, "Column 6"},
    {"headers off, negative", false, -1, "Column 0"},
};

TEST(TableFile, ColumnNameInAndOutOfRange) {
  TempDir dir;
  Loaded t = ParseBytes(dir, "a;;z\n1;2;3\n");
  ASSERT_TRUE(t.ok);
  for (const TitleCase& c : kTitleCases) {
    SCOPED_TRACE(c.what);
    t.table->headers = c.headers;
    EXPECT_STREQ(t.table->ColumnName(c.index), c.title);
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

TEST(TableFile, EmptyFileWithHeadersHasOnlyAnEmptyTitle) {
  TempDir dir;
  Loaded t = ParseBytes(dir, "", true);
  ASSERT_TRUE(t.ok);
  EXPECT_EQ(t.table->DataRowCount(), 0);
  EXPECT_STREQ(t.table->ColumnName(0), "");
  EXPECT_STREQ(t.table->ColumnName(1), "Column 2");
}

// The split of a generated content: fields of 0 to 3 bytes and runs of 1 to 3 line ends, so that
// separators and runs fall on and across the edges of 64-byte blocks.
std::string GeneratedContent(unsigned seed, size_t length) {
  std::string bytes;
  while (bytes.size() < length) {
    seed = seed * 1103515245u + 12345u;
    unsigned r = (seed >> 16) % 16;
    if (r < 9) {
      bytes += std::string(r % 4, static_cast<char>('a' + r));
    } else if (r < 13) {
      bytes += ';';
    } else {
      bytes += std::string(r - 12, '\n');
    }
  }
  return bytes;
}

struct SplitCase {
  std::string what;
  std::string content;  // as the reader leaves it before the split: no CR, an LF appended
  int32_t lineCount;    // how many row starts may be stored after entry 0
};

std::vector<SplitCase> SplitCases() {
  std::vector<SplitCase> cases;
  for (const FormatCase& c : kFormatCases) {
    std::string content;
    for (char b : c.bytes) {
      if (b != '\r')
        content += b;
    }
    cases.push_back({c.what, content + "\n", static_cast<int32_t>(content.size()) + 1});
  }
  // A run of line ends that starts in one block and ends in the next, at every offset.
  for (size_t at = 60; at <= 66; ++at) {
    std::string content = std::string(at, 'x') + "\n\n\n\n;y\n";
    content[at / 2] = ';';
    cases.push_back({"run at " + std::to_string(at), content, 8});
  }
  for (unsigned seed = 1; seed <= 20; ++seed)
    cases.push_back({"generated " + std::to_string(seed), GeneratedContent(seed, 50 * seed), 1000});
  // Fewer stored rows than runs, as after a NUL in the file.
  cases.push_back({"stops at the counted lines", GeneratedContent(7, 300), 5});
  return cases;
}

TEST(RowSplitter, NarrowAndWideSplitAlike) {
  if (!CanSplitWide())
    GTEST_SKIP() << "this processor runs only the narrow splitter";
  for (const SplitCase& c : SplitCases()) {
    SCOPED_TRACE(c.what);
    std::string narrow = c.content + '\0';
    std::string wide = narrow;
    std::vector<const char*> narrowStarts(static_cast<size_t>(c.lineCount) + 1);
    std::vector<const char*> wideStarts(narrowStarts.size());
    const size_t length = c.content.size();
    SplitResult n = SplitRowsNarrow(narrow.data(), length, narrowStarts.data(), c.lineCount);
    SplitResult w = SplitRowsWide(wide.data(), length, wideStarts.data(), c.lineCount);
    EXPECT_EQ(wide, narrow);
    ASSERT_EQ(w.stored, n.stored);
    EXPECT_EQ(w.minFields, n.minFields);
    for (int32_t i = 1; i <= n.stored; ++i) {
      EXPECT_EQ(wideStarts[static_cast<size_t>(i)] - wide.data(),
                narrowStarts[static_cast<size_t>(i)] - narrow.data())
          << "entry " << i;
    }
  }
}

}  // namespace
