// The row operations over a list and its table: the sort order, and which rows Pick, Find and
// Duplicates keep or reach. The commands around them are played as whole flows in tests/scripts;
// the sort's agreement with the row comparison, ties kept in order, is in ThreadsTest.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "app/Strings.h"
#include "table/TableFile.h"
#include "view/RowListView.h"
#include "view/RowOperations.h"

namespace {

using Texts = std::vector<std::string>;

const std::string kNone = "(none)";

// A table whose second column holds the given texts, listed whole in file order. The first
// column numbers the rows; a row whose text is kNone has no second field.
class Rows : public ::testing::Test {
 protected:
  void Load(const Texts& keys) {
    std::string bytes = "id;k\n";
    for (size_t i = 0; i < keys.size(); ++i)
      bytes += std::to_string(i) + (keys[i] == kNone ? "" : ";" + keys[i]) + "\n";
    list.DeleteAllItems();
    list.SetTable(nullptr);
    table = std::make_unique<TableFile>(kColumnTitleFormat);
    ASSERT_TRUE(table->Parse(dir.Write("f.qdx", bytes).c_str(), true));
    list.SetTable(table.get());
    ListAllRows(list, *table);
  }
  Texts Column(int32_t k) {
    Texts out;
    for (int i = 0; i < list.GetItemCount(); ++i)
      out.emplace_back(list.GetItemText(i, k));
    return out;
  }

  QuietBackend backend;
  TempDir dir;
  std::unique_ptr<TableFile> table;
  RowListView list;
};

const std::string kLong(40, 'p');  // past the bytes that the sort's keys cover

TEST_F(Rows, SortIsUnsignedByteOrderBothWays) {
  struct {
    const char* what;
    Texts keys;
    Texts ascending;
  } const cases[] = {
      {"numbers sort as text", {"9", "10", "2"}, {"10", "2", "9"}},
      {"minus before digits", {"0", "-1"}, {"-1", "0"}},
      {"upper case, then '_', then lower case", {"apple", "_x", "Zebra"}, {"Zebra", "_x", "apple"}},
      {"bytes from 0x80 after every ASCII byte", {"\xE9t", "zzz", "~"}, {"zzz", "~", "\xE9t"}},
      {"a prefix sorts first", {"abc", "ab"}, {"ab", "abc"}},
      {"the empty field sorts first", {"b", "", "a"}, {"", "a", "b"}},
      {"control bytes before the blank", {"a b", "a\x01"}, {"a\x01", "a b"}},
      {"difference after eight equal bytes",
       {"abcdefgh2", "abcdefgh10", "abcdefgh"},
       {"abcdefgh", "abcdefgh10", "abcdefgh2"}},
      {"difference in the eighth byte", {"abcdefgz", "abcdefgZ"}, {"abcdefgZ", "abcdefgz"}},
      {"difference after 32 equal bytes",
       {kLong + "b", kLong + "a\xE9", kLong + "a", kLong},
       {kLong, kLong + "a", kLong + "a\xE9", kLong + "b"}},
      {"difference in byte 33",
       {kLong.substr(0, 32) + "q", kLong},
       {kLong, kLong.substr(0, 32) + "q"}},
      {"a missing field sorts as empty", {"b", kNone, "a"}, {"", "a", "b"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Load(c.keys);
    list.SortByColumn(1, 1);
    EXPECT_EQ(Column(1), c.ascending);
    list.SortByColumn(1, 0);
    EXPECT_EQ(Column(1), Texts(c.ascending.rbegin(), c.ascending.rend()));
  }
}

TEST_F(Rows, PickKeepsTheMatchingRows) {
  struct {
    const char* what;
    Texts keys;
    std::vector<std::string> forms;
    bool exact;
    Texts kept;
  } const cases[] = {
      {"exact: equal ignoring case",
       {"abc", "ABC", "aBc", "abcd", " abc", ""},
       {"abc"},
       true,
       {"abc", "ABC", "aBc"}},
      {"contains, ignoring case",
       {"abc", "BCD", "xxbcxx", "b c", "b", ""},
       {"Bc"},
       false,
       {"abc", "BCD", "xxbcxx"}},
      {"'[' is not '{'", {"a[b", "a{b"}, {"["}, false, {"a[b"}},
      {"'{' is not '['", {"a[b", "a{b"}, {"{"}, false, {"a{b"}},
      {"'@' is not '`'", {"a@", "a`"}, {"@"}, false, {"a@"}},
      {"'~' is not '^'", {"x^", "x~"}, {"~"}, false, {"x~"}},
      {"bytes from 0x80 are not folded", {"\xC4", "\xE4", "x\xC4y"}, {"\xE4"}, false, {"\xE4"}},
      {"exact, bytes from 0x80 not folded", {"\xC4", "\xE4"}, {"\xC4"}, true, {"\xC4"}},
      {"a match longer than the field", {"ab", "abc"}, {"abc"}, false, {"abc"}},
      {"a partial hit does not end the scan",
       {"aab", "aaab", "aa"},
       {"ab"},
       false,
       {"aab", "aaab"}},
      {"a hit at the very end", {"xyzab", "xyza"}, {"AB"}, false, {"xyzab"}},
      {"exact means the whole field", {"abc", "abcabc"}, {"ABC"}, true, {"abc"}},
      {"a match with a blank", {"a b", "ab"}, {"a b"}, false, {"a b"}},
      {"a match that hits every row", {"a1", "a2"}, {"A"}, false, {"a1", "a2"}},
      {"a missing field is empty, not the next row's", {kNone, "1x"}, {"1"}, false, {"1x"}},
      {"any of several forms",
       {"\xC3\xA4", "\xE4", "a", "\xC4"},
       {"\xC3\xA4", "\xE4"},
       false,
       {"\xC3\xA4", "\xE4"}},
      {"exact, any of several forms", {"ab", "cd", "abcd"}, {"AB", "cd"}, true, {"ab", "cd"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Load(c.keys);
    KeepMatchingRows(list, 1, c.forms, c.exact);
    EXPECT_EQ(Column(1), c.kept);
  }
}

TEST_F(Rows, FindSelectsTheNextMatchBelowTheSelection) {
  struct {
    const char* what;
    Texts keys;
    int selectedBefore;  // -1: none
    const char* match;
    bool exact;
    int selected;  // -1: not found, and the selection stays
  } const cases[] = {
      {"nothing selected, hit in the first row", {"abc", "x"}, -1, "b", false, 0},
      {"starts below the selection", {"m", "x", "m", "m"}, 2, "m", false, 3},
      {"last row selected: earlier rows are not searched", {"m", "m"}, 1, "m", false, -1},
      {"the selected row itself is never reported", {"x", "m", "x"}, 1, "m", false, -1},
      {"no wrap to the rows above", {"m", "x", "x"}, 1, "m", false, -1},
      {"exact ABC finds abc, not abcd", {"abcd", "abc"}, -1, "ABC", true, 1},
      {"contains ABC finds xabcx", {"ab", "xabcx"}, -1, "ABC", false, 1},
      {"'[' is not '{'", {"a{b", "a[b"}, -1, "[", false, 1},
      {"no match anywhere", {"a", "b"}, -1, "z", false, -1},
      {"an empty list", {}, -1, "a", false, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Load(c.keys);
    if (c.selectedBefore >= 0)
      list.UserClickItem(c.selectedBefore);
    EXPECT_EQ(SelectNextMatch(list, 1, {c.match}, c.exact), c.selected >= 0);
    int expected = c.selected >= 0 ? c.selected : c.selectedBefore;
    EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), expected);
    if (c.selected >= 0) {
      EXPECT_EQ(list.GetNextItem(-1, LVNI_FOCUSED), c.selected);
      EXPECT_EQ(list.RevealedItem(), c.selected);
    }
  }
}

TEST_F(Rows, DuplicatesWalkTheSortedRows) {
  struct {
    const char* what;
    Texts keys;
    Texts kept;  // in the order they remain, sorted by the column
  } const cases[] = {
      {"a single text between two equal ones goes", {"b", "a", "b"}, {"b", "b"}},
      {"neighbours equal ignoring case both stay", {"apple", "Apple"}, {"Apple", "apple"}},
      {"equal texts sorted apart are all removed", {"Apple", "Banana", "apple"}, {}},
      {"equal to the last row that stayed", {"a", "B", "A", "A"}, {"A", "A", "a"}},
      {"a chain of case variants stays whole", {"ab", "AB", "Ab"}, {"AB", "Ab", "ab"}},
      {"no text twice: the list ends empty", {"x", "y", "z"}, {}},
      {"a single row is removed", {"x"}, {}},
      {"an empty list stays empty", {}, {}},
      {"two empty texts stay, a single one goes", {"", "a", kNone}, {"", ""}},
      {"a single empty text goes", {"", "a", "a"}, {"a", "a"}},
      {"bytes from 0x80 are not folded", {"\xC4", "\xE4"}, {}},
      {"'[' and '{' differ", {"a[", "A{"}, {}},
      {"texts equal past the sort keys",
       {kLong + "x", "q", kLong + "X"},
       {kLong + "X", kLong + "x"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Load(c.keys);
    KeepDuplicateRows(list, 1);
    EXPECT_EQ(Column(1), c.kept);
  }
}

}  // namespace
