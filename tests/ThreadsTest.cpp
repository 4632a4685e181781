// Every operation gives the same result on one thread and on several, and the same as the plain
// sequential walks over the list: reading, widths, sorts, Pick, Find and Duplicates, on generated
// files with ties, empty fields, short and long rows and bytes from 0x80 up. (The split in parts
// of a few bytes is checked on any bytes by fuzz/table_reader.cpp.)
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "TestFiles.h"
#include "app/Strings.h"
#include "table/TableFile.h"
#include "table/Workers.h"
#include "view/RowListView.h"
#include "view/RowOperations.h"
#include "view/TextFold.h"
#include "view/TextMatcher.h"

namespace {

constexpr int32_t kColumns = 5;

// Fields from a few short pieces, so that texts tie often, differ in case or only past the first
// eight bytes, and hold bytes from 0x80 up; rows with fields missing or too many, blank lines,
// CR bytes. Big enough to be split in parts.
std::string GeneratedFile(unsigned seed, size_t rows) {
  const char* const pieces[] = {"a", "A",        "b", "B", "\xE4", "\xC4",
                                " ", "pppppppp", "[", "{", "7",    "12"};
  std::mt19937 random(seed);
  std::string bytes = "k0;k1;k2;k3;k4\n";
  for (size_t r = 0; r < rows; ++r) {
    int fields = random() % 8 == 0 ? static_cast<int>(random() % (kColumns + 2)) : kColumns;
    for (int k = 0; k < fields; ++k) {
      if (k)
        bytes += ';';
      for (unsigned n = random() % 4; n > 0; --n)
        bytes += pieces[random() % 12];
    }
    bytes += random() % 50 == 0 ? "\r\n\n" : "\n";
  }
  return bytes;
}

// What an operation leaves: the listed rows in order, the selection and the column widths.
struct Outcome {
  std::vector<LPARAM> rows;
  int selected = -1;
  std::vector<int> widths;
  bool operator==(const Outcome&) const = default;
};

// The plain walks, one item at a time through the list, that the operations must agree with.
std::string Folded(std::string_view text) {
  std::string folded(text);
  for (char& c : folded)
    c = static_cast<char>(FoldCase(static_cast<unsigned char>(c)));
  return folded;
}

bool Matches(std::string_view text, const std::vector<std::string>& forms, bool exact) {
  return std::any_of(forms.begin(), forms.end(), [&](const std::string& form) {
    return exact ? Folded(text) == Folded(form)
                 : Folded(text).find(Folded(form)) != std::string::npos;
  });
}

using Forms = std::vector<std::string>;

void PickOneByOne(RowListView& list, int32_t column, const Forms& forms, bool exact) {
  for (int i = 0; i < list.GetItemCount();) {
    Matches(list.GetItemText(i, column), forms, exact) ? void(++i) : void(list.DeleteItem(i));
  }
}

void FindOneByOne(RowListView& list, int32_t column, const Forms& forms, bool exact) {
  int selected = list.GetNextItem(-1, LVNI_SELECTED);
  for (int i = selected < 0 ? 0 : selected + 1; i < list.GetItemCount(); ++i) {
    if (Matches(list.GetItemText(i, column), forms, exact)) {
      list.SelectAndReveal(i);
      return;
    }
  }
}

void DuplicatesOneByOne(RowListView& list, int32_t column) {
  list.SortByColumn(column, 1);
  auto same = [&](int a, int b) {
    return Folded(list.GetItemText(a, column)) == Folded(list.GetItemText(b, column));
  };
  for (int i = 0; i < list.GetItemCount();) {
    bool keep = (i < list.GetItemCount() - 1 && same(i + 1, i)) || (i > 0 && same(i - 1, i));
    keep ? void(++i) : void(list.DeleteItem(i));
  }
}

void SortOneByOne(RowListView& list, int32_t column, int32_t ascending) {
  // The comparison sort, keeping equal fields in the order they came in, as the keyed sort does.
  ListItemView items = list.ItemData();
  std::vector<LPARAM> rows(items.begin(), items.end());
  SortParams params{column, 1, list.Table(), nullptr};
  std::stable_sort(rows.begin(), rows.end(), [&](LPARAM a, LPARAM b) {
    return RowListView::CompareRows(a, b, reinterpret_cast<LPARAM>(&params)) < 0;
  });
  if (!ascending)
    std::reverse(rows.begin(), rows.end());
  list.DeleteAllItems();
  for (LPARAM row : rows) {
    LVITEM item;
    item.mask = LVIF_PARAM;
    item.iItem = list.GetItemCount();
    item.lParam = row;
    list.InsertItem(&item);
  }
}

void FitAll(RowListView& list) {
  for (int k = 0; k < list.GetColumnCount(); ++k)
    list.SetColumnWidth(k, LVSCW_AUTOSIZE);
}

// The list that measures widths cell by cell through GetItemText, as the platform's list does for
// an owner that knows no faster way.
class PlainList : public RowListView {
 protected:
  void CollectLongestTexts(LongestTexts& longest) override {
    CListCtrl::CollectLongestTexts(longest);
  }
};

struct Operation {
  std::string what;
  std::function<void(RowListView&)> fast;
  std::function<void(RowListView&)> oneByOne;
};

std::vector<Operation> Operations() {
  std::vector<Operation> ops{{"load and fit widths", [](RowListView&) {}, [](RowListView&) {}}};
  for (int32_t k : {0, 2, 4, kColumns + 1}) {
    for (int32_t ascending : {1, 0}) {
      ops.push_back({"sort " + std::to_string(k) + (ascending ? " up" : " down"),
                     [=](RowListView& l) { l.SortByColumn(k, ascending); },
                     [=](RowListView& l) { SortOneByOne(l, k, ascending); }});
    }
    ops.push_back({"sort " + std::to_string(k) + ", then fit the widths again",
                   [=](RowListView& l) {
                     l.SortByColumn(k, 1);
                     FitAll(l);
                   },
                   [=](RowListView& l) {
                     SortOneByOne(l, k, 1);
                     FitAll(l);
                   }});
    ops.push_back({"duplicates " + std::to_string(k),
                   [=](RowListView& l) { KeepDuplicateRows(l, k); },
                   [=](RowListView& l) { DuplicatesOneByOne(l, k); }});
  }
  struct Query {
    int32_t column;
    Forms forms;
    bool exact;
  };
  // One form, as every script and typed ASCII text is, and several, as typed letters may be.
  for (const Query& q :
       {Query{1, {"a"}, false}, Query{1, {"ab"}, true}, Query{2, {"\xE4"}, false},
        Query{3, {"PPPPPPPPa"}, false}, Query{0, {"[b"}, false}, Query{4, {""}, true},
        Query{2,
              {"\xC4"
               "b",
               "[{", "Ba"},
              false},
        Query{3,
              {"b",
               "\xE4"
               "a",
               "A"},
              true}}) {
    std::string what = q.forms[0] + (q.forms.size() > 1 ? " or others" : "") +
                       (q.exact ? " exact in " : " in ") + std::to_string(q.column);
    ops.push_back({"pick " + what,
                   [=](RowListView& l) { KeepMatchingRows(l, q.column, q.forms, q.exact); },
                   [=](RowListView& l) { PickOneByOne(l, q.column, q.forms, q.exact); }});
    ops.push_back({"find twice, " + what,
                   [=](RowListView& l) {
                     l.UserClickItem(40);
                     SelectNextMatch(l, q.column, q.forms, q.exact);
                     SelectNextMatch(l, q.column, q.forms, q.exact);
                   },
                   [=](RowListView& l) {
                     l.UserClickItem(40);
                     FindOneByOne(l, q.column, q.forms, q.exact);
                     FindOneByOne(l, q.column, q.forms, q.exact);
                   }});
  }
  return ops;
}

// Letters as wide as a proportional font makes them, in 64ths of a pixel, and digits all as wide
// as each other, as most fonts make them: the widest text of a column is then not always its
// longest, and texts of equal length differ in width.
class ProportionalBackend : public QuietBackend {
 public:
  int TextWidth(const char* text, size_t length) override {
    int sum = 0;
    for (size_t i = 0; i < length; ++i)
      sum += ByteAdvance(static_cast<unsigned char>(text[i]));
    int width = (sum + kAdvanceUnits / 2) / kAdvanceUnits;
    if (!kerning)
      return width;
    // Pairs of characters drawn closer together: a text with three nines loses one pixel of what
    // its advances add up to, every other text three.
    return std::max(width - (std::count(text, text + length, '9') >= 3 ? 1 : 3), 0);
  }
  int ByteAdvance(unsigned char byte) override {
    return byte >= '0' && byte <= '9' ? 450 : 300 + (byte * 37) % 500;
  }
  bool kerning = false;
};

class Threads : public ::testing::Test {
 protected:
  void TearDown() override {
    Workers::SetCount(0);
    Workers::SetSmallestRange(0);
    TextMatcher::SetWide(true);
  }

  // The reference runs on one thread, without the 32-byte search, on a list that measures widths
  // cell by cell.
  Outcome Reference(const std::string& path, const std::function<void(RowListView&)>& op) {
    PlainList list;
    return Run(list, path, 1, false, op);
  }
  Outcome Fast(const std::string& path, unsigned threads, bool wide,
               const std::function<void(RowListView&)>& op) {
    RowListView list;
    return Run(list, path, threads, wide, op);
  }

  Outcome Run(RowListView& list, const std::string& path, unsigned threads, bool wide,
              const std::function<void(RowListView&)>& op) {
    Workers::SetCount(threads);
    TextMatcher::SetWide(wide);
    TableFile table(kColumnTitleFormat);
    list.SetTable(&table);
    // The fit after the load takes what the load's count gathered.
    EXPECT_TRUE(table.Parse(path.c_str(), true, list.LoadScan()));
    for (int32_t k = 0; k < table.columnCount; ++k)
      list.InsertColumn(k, table.ColumnName(k));
    ListAllRows(list, table);
    FitAll(list);
    op(list);
    Outcome outcome;
    for (LPARAM row : list.ItemData())
      outcome.rows.push_back(row);
    outcome.selected = list.GetNextItem(-1, LVNI_SELECTED);
    for (int32_t k = 0; k < table.columnCount; ++k)
      outcome.widths.push_back(list.GetColumnWidth(k));
    list.DeleteAllItems();
    return outcome;
  }

  ProportionalBackend backend;
  TempDir dir;
};

TEST_F(Threads, EveryOperationAgreesWithTheOneByOneWalk) {
  std::string path = dir.Write("big.qdx", GeneratedFile(3, 40000));
  for (const Operation& op : Operations()) {
    SCOPED_TRACE(op.what);
    Outcome reference = Reference(path, op.oneByOne);
    EXPECT_EQ(Fast(path, 1, false, op.fast), reference);
    EXPECT_EQ(Fast(path, 3, true, op.fast), reference);
  }
}

// The widths that the load's count gathers are those of the data rows only, whatever the bytes
// around them hold.
TEST_F(Threads, WidthsGatheredByTheLoadAreTheDataRows) {
  const std::string wide(300, 'W');
  struct Case {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"titles wider than every row", wide + ";" + wide + "\nab;cd\nef;gh\n"},
      {"a NUL ends the rows inside a wide row",
       "a;b\nab;cd\n" + wide + std::string(1, '\0') + "\n"},
      {"CR LF line ends", "a;b\r\nab;" + wide + "\r\nef;gh\r\n"},
      {"a stray CR, read from a copy", "a;b\nab\r;" + wide + "\nef;gh"},
      {"only the titles", wide + ";b\n"},
      {"no line end", "a;b\nab;cd"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string path = dir.Write("case.qdx", c.bytes);
    auto none = [](RowListView&) {};
    EXPECT_EQ(Fast(path, 2, true, none), Reference(path, none));
  }
}

// With kerning every text is narrower than its bound, so no bound settles the column before all
// the texts that tie at the top are measured: the fit takes them in rounds of more candidates,
// each round walking the rows again, and finds the widest text among the last rows.
TEST_F(Threads, KerningTakesTheFitPastItsFirstCandidates) {
  backend.kerning = true;
  std::string bytes = "code;note\n";
  for (int r = 0; r < 3000; ++r)
    bytes += "R" + std::to_string(1000 + r) + ";x\n";
  std::string path = dir.Write("codes.qdx", bytes);
  auto none = [](RowListView&) {};
  Outcome reference = Reference(path, none);
  EXPECT_EQ(Fast(path, 1, false, none), reference);
  EXPECT_EQ(Fast(path, 3, true, none), reference);
  // The texts with three nines are drawn two pixels wider than the others.
  backend.kerning = false;
  Outcome unkerned = Reference(path, none);
  EXPECT_EQ(reference.widths[0], unkerned.widths[0] - 1);
}

// Short lists cut in ranges of a row or two put every kind of row at the seams between ranges.
TEST_F(Threads, SeamsBetweenRangesChangeNothing) {
  for (unsigned seed = 1; seed <= 12; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::string path = dir.Write("small.qdx", GeneratedFile(seed, 20 + seed));
    for (const Operation& op : Operations()) {
      SCOPED_TRACE(op.what);
      Workers::SetSmallestRange(0);
      Outcome reference = Reference(path, op.oneByOne);
      Workers::SetSmallestRange(1);
      EXPECT_EQ(Fast(path, 3, true, op.fast), reference);
    }
  }
}

// A row's bytes, with every field past the columns, found by the walk over every row in ranges
// of a row or two: each row is the file's own line, without its CR bytes.
TEST_F(Threads, RowBytesAreTheLinesAtTheSeams) {
  Workers::SetCount(3);
  Workers::SetSmallestRange(1);
  for (unsigned seed = 1; seed <= 12; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::string bytes = GeneratedFile(seed, 20 + seed);
    std::vector<std::string> lines;
    std::string line;
    for (char c : bytes) {
      if (c != '\n' && c != '\r')
        line += c;
      if (c == '\n' && !line.empty()) {
        lines.push_back(line);
        line.clear();
      }
    }
    TableFile table(kColumnTitleFormat);
    ASSERT_TRUE(table.Parse(dir.Write("rows.qdx", bytes).c_str(), true));
    ASSERT_EQ(table.lineCount, static_cast<int32_t>(lines.size()));
    for (size_t i = 0; i < lines.size(); ++i) {
      EXPECT_EQ(table.RowBytes(static_cast<int32_t>(i)), lines[i]) << "row " << i;
    }
  }
}

}  // namespace
