// The .qdx format as the table reader sees it: rows and fields. (Titles, the bytes it leaves, and
// the splitters on any bytes are checked by fuzz/table_reader.cpp.)
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "app/Strings.h"
#include "table/FieldWalk.h"
#include "table/RowIndex.h"
#include "table/TableFile.h"

using namespace std::string_literals;

namespace {

struct Loaded {
  std::unique_ptr<TableFile> table = std::make_unique<TableFile>(kColumnTitleFormat);
  bool ok = false;
  std::string Field(int32_t row, int32_t k) const { return std::string(table->FieldText(row, k)); }
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
    {"CR before a ; is dropped", "a\r;b\nc\r\n", 2, {{"a", "b"}, {"c"}}},
    {"CR at the start of a row is dropped", "a\n\rb;c\n", 1, {{"a"}, {"b", "c"}}},
    {"CR CR LF ends a line as CR LF does", "a\r\r\nb\r\n", 1, {{"a"}, {"b"}}},
    {"a CR as the file's last byte ends the last line",
     "a;b\r\nc;d\r",
     2,
     {{"a", "b"}, {"c", "d"}}},
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
      auto row = static_cast<int32_t>(i);
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
    EXPECT_EQ(t.Field(c.row, c.k), c.text);
  }
}

// Fields are found 64 bytes at a time where the processor can, so each must read the same wherever
// its row lies against those blocks: the wanted `;` in the first block or a later one, the row's
// end inside a block or at its edge, and never a field of the next row for one the row lacks.
TEST(TableFile, FieldsReadTheSameWhereverTheirRowLies) {
  auto joined = [](const std::vector<std::string>& fields) {
    std::string row;
    for (size_t i = 0; i < fields.size(); ++i)
      row += (i ? ";" : "") + fields[i];
    return row;
  };
  std::vector<std::vector<std::string>> rows = {
      std::vector<std::string>(40, "a"),
      {"", "bbbbb", std::string(63, 'c'), "d", std::string(64, 'e'), "", "ff"},
      {"x"},
      std::vector<std::string>(70, "12"),
      {"p", "q", std::string(60, 'z'), "w"},
  };
  const char* const ends[] = {"\n", "\r\n", "\n", "\n", ""};
  TempDir dir;
  for (size_t pad = 0; pad < 130; ++pad) {
    SCOPED_TRACE("titles of " + std::to_string(pad) + " bytes");
    std::string bytes = std::string(pad, 't') + "\n";
    for (size_t r = 0; r < rows.size(); ++r)
      bytes += joined(rows[r]) + ends[r];
    Loaded t = ParseBytes(dir, bytes);
    ASSERT_TRUE(t.ok);
    ASSERT_EQ(t.table->lineCount, static_cast<int32_t>(rows.size() + 1));
    for (size_t r = 0; r < rows.size(); ++r) {
      auto row = static_cast<int32_t>(r + 1);
      auto count = static_cast<int32_t>(rows[r].size());
      for (int32_t k = 0; k < count; ++k)
        ASSERT_EQ(t.Field(row, k), rows[r][static_cast<size_t>(k)])
            << "row " << r << " field " << k;
      for (int32_t k : {count, count + 1, count + 40, INT32_MAX})
        ASSERT_EQ(t.Field(row, k), "") << "row " << r << " field " << k;
    }
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
      {"a NUL ends the rows", std::string("a;b\nc;d\0e;f\ng\n", 14), {"a;b"}, "\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir dir;
    Loaded t = ParseBytes(dir, c.bytes);
    ASSERT_TRUE(t.ok);
    ASSERT_EQ(t.table->lineCount, static_cast<int32_t>(c.rows.size()));
    for (size_t i = 0; i < c.rows.size(); ++i) {
      EXPECT_EQ(t.table->RowBytes(static_cast<int32_t>(i)), c.rows[i]);
    }
    EXPECT_STREQ(t.table->LineEnd(), c.lineEnd);
  }
}

}  // namespace

// A file past 4 GiB keeps only the lower 32 bits of each row's offset, and the rows where the upper
// bits step up. The same holds at any width: here offsets keep 4 bits, so every 16 bytes is a
// "4 GiB", and the steps must be found wherever they fall.
TEST(RowIndex, CarriesRestoreOffsetsPastTheLowerBits) {
  struct {
    const char* what;
    std::vector<uint64_t> starts;  // entry 0 is 0, the last one is the length
    std::vector<size_t> bounds;    // each part below 16 bytes
  } const cases[] = {
      {"a step inside a row", {0, 5, 11, 20, 30, 40}, {0, 11, 20, 30, 40}},
      {"a step on a row's start", {0, 8, 16, 24, 32}, {0, 8, 16, 24, 32}},
      {"a step at a part's bound, parts of several rows",
       {0, 3, 6, 9, 12, 16, 19, 22, 31},
       {0, 9, 16, 31}},
      {"a part without rows", {0, 14, 29}, {0, 14, 14, 29}},
      {"the length on a step", {0, 10, 15, 32}, {0, 15, 30, 32}},
      {"several steps", {0, 7, 14, 21, 28, 35, 42, 49, 56, 63, 70}, {0, 14, 28, 42, 56, 70}},
  };
  constexpr unsigned kBits = 4;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<uint32_t> lows;
    for (uint64_t start : c.starts)
      lows.push_back(static_cast<uint32_t>(start & 15));
    // The parts' first entries, as the index counts them.
    std::vector<size_t> first{0};
    for (size_t part = 0; part + 1 < c.bounds.size(); ++part) {
      size_t rows = 0;
      for (size_t i = 1; i < c.starts.size(); ++i)
        rows += c.starts[i] > c.bounds[part] && c.starts[i] <= c.bounds[part + 1];
      first.push_back(first.back() + rows);
    }
    uint64_t length = c.starts.back();
    std::vector<size_t> carries =
        RowCarries(lows.data(), lows.size(), c.bounds, first, length, kBits);
    EXPECT_EQ(carries.size(), length >> kBits);
    for (size_t i = 0; i < c.starts.size(); ++i) {
      uint64_t offset = lows[i];
      for (size_t carry : carries)
        offset += i >= carry ? 16 : 0;
      EXPECT_EQ(offset, c.starts[i]) << "entry " << i;
    }
  }
}

// A fit sums a number's width from the bytes that are not digits, so each of those must have its
// bit wherever the field lies against the walk's 64-byte blocks: inside one, across two, right
// after one that holds a NUL, or too long to tell.
TEST(FieldWalk, MarksEveryByteThatIsNotADigit) {
  const std::string fields[] = {"R000000001",
                                "2024-01-05",
                                "7",
                                "x",
                                "123456789012",
                                std::string(63, '5') + "e",
                                std::string(64, '9'),
                                std::string(65, '1')};
  std::string row;
  for (const std::string& field : fields)
    row += field + ";";
  row.back() = '\n';
  for (size_t pad = 0; pad < 140; ++pad) {
    for (bool nul : {false, true}) {
      SCOPED_TRACE(::testing::Message() << "pad " << pad << (nul ? " after a NUL" : ""));
      std::string bytes = std::string(pad, '8') + "\n" + row + row;
      if (nul)
        bytes = std::string(70, 'q') + '\0' + "\n" + bytes;
      bytes += std::string(64, '\n');  // the rows end in whole blocks, walked 64 bytes at a time
      size_t shortFields = 0;
      size_t toldFields = 0;
      fields::WalkFields(bytes.data(), bytes.data() + bytes.size(), true,
                         [&](int32_t, const char* text, size_t length, bool,
                             const fields::FieldNondigits& nondigits) {
                           uint64_t bits = nondigits();
                           bool told = bits != ~uint64_t{0};
                           for (size_t i = 0; i < length && i < 64; ++i) {
                             bool digit = text[i] >= '0' && text[i] <= '9';
                             EXPECT_TRUE(digit || ((bits >> i) & 1)) << "byte " << i;
                             if (told && !nul) {
                               EXPECT_EQ((bits >> i) & 1, digit ? 0u : 1u) << "byte " << i;
                             }
                           }
                           if (told) {
                             EXPECT_EQ(length < 64 ? bits >> length : 0, 0u) << "past the field";
                           }
                           shortFields += length <= 64;
                           toldFields += told;
                         });
#if LINTARO_WIDE_WALK
      // Every field of up to 64 bytes is told when the walk takes whole blocks.
      if (fields::CanWalkWide() && !nul) {
        EXPECT_EQ(toldFields, shortFields);
      }
#endif
    }
  }
}
