// Sort, Pick, Find, Duplicates, All, Headers and Info, played through the real program.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "TestFiles.h"

namespace {

using Lines = std::vector<std::string>;

// A file whose first column holds the given texts under the titles k and id; the second column
// numbers the rows so that every row line is distinct.
std::string KeyFile(const Lines& keys) {
  std::string bytes = "k;id\r\n";
  for (size_t i = 0; i < keys.size(); ++i)
    bytes += keys[i] + ";" + std::to_string(i) + "\r\n";
  return bytes;
}

const Lines kLoaded = {"title Loading...", "title f.qdx"};

// The lines that start with `prefix`.
Lines Starting(const Lines& lines, const std::string& prefix) {
  Lines out;
  for (const std::string& line : lines) {
    if (line.rfind(prefix, 0) == 0)
      out.push_back(line);
  }
  return out;
}

Lines Concat(Lines a, const Lines& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class Rows : public ::testing::Test {
 protected:
  Transcript Run(const std::string& script) {
    ScriptOutput run = RunScript(dir, script);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out.find("error:"), std::string::npos) << run.out;
    return ReadTranscript(run.out);
  }
  // Runs the script on f.qdx holding `keys`; the script starts with the load.
  Transcript RunKeys(const Lines& keys, const std::string& steps) {
    dir.Write("f.qdx", KeyFile(keys));
    return Run("start f.qdx\n" + steps);
  }

  TempDir dir;
};

TEST_F(Rows, SortIsUnsignedByteOrder) {
  struct {
    const char* what;
    Lines keys;
    Lines ascending;
  } const cases[] = {
      {"numbers sort as text", {"9", "10", "2"}, {"10", "2", "9"}},
      {"minus before digits", {"0", "-1"}, {"-1", "0"}},
      {"upper case before lower case, underscore between",
       {"apple", "_x", "Zebra"},
       {"Zebra", "_x", "apple"}},
      {"bytes from 0x80 after every ASCII byte", {"\xE9t", "zzz", "~"}, {"zzz", "~", "\xE9t"}},
      {"a prefix sorts first", {"abc", "ab"}, {"ab", "abc"}},
      {"the empty field sorts first", {"b", "", "a"}, {"", "a", "b"}},
      {"control bytes before the blank", {"a b", "a\x01"}, {"a\x01", "a b"}},
      {"difference after eight equal bytes",
       {"abcdefgh2", "abcdefgh10", "abcdefgh"},
       {"abcdefgh", "abcdefgh10", "abcdefgh2"}},
      {"difference in the eighth byte", {"abcdefgz", "abcdefgZ"}, {"abcdefgZ", "abcdefgz"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Transcript t = RunKeys(c.keys, "click-title 0\ndump\nclick-title 0\ndump\n");
    ASSERT_EQ(t.dumps.size(), 2u);
    EXPECT_EQ(t.dumps[0].Column(0), c.ascending);
    Lines descending(c.ascending.rbegin(), c.ascending.rend());
    EXPECT_EQ(t.dumps[1].Column(0), descending);
    // Sorting is no work that shows in the title.
    EXPECT_EQ(t.events, kLoaded);
  }
}

TEST_F(Rows, ColumnClicksAlternate) {
  // Column 0 ascending starts 1;z;k and descending 3;y;l; column 1: 2;x;m and 1;z;k;
  // column 2: 1;z;k and 2;x;m.
  dir.Write("t.qdx", "a;b;c\n2;x;m\n1;z;k\n3;y;l\n");
  dir.Write("u.qdx", "p;q\n5;a\n6;c\n4;b\n");
  dir.Write("d.qdx", "k\nb\na\nb\na\n");
  struct {
    const char* what;
    std::string file;
    std::string steps;
    Lines firstRows;  // the first listed row at each dump
  } const cases[] = {
      {"first click on column 0 sorts ascending", "t.qdx", "click-title 0\ndump\n", {"1;z;k"}},
      {"first click on another column sorts ascending",
       "t.qdx",
       "click-title 2\ndump\n",
       {"1;z;k"}},
      {"three clicks on one column: up, down, up",
       "t.qdx",
       "click-title 0\ndump\nclick-title 0\ndump\nclick-title 0\ndump\n",
       {"1;z;k", "3;y;l", "1;z;k"}},
      {"clicks on 1, 2, 1 all sort ascending",
       "t.qdx",
       "click-title 1\ndump\nclick-title 2\ndump\nclick-title 1\ndump\n",
       {"2;x;m", "1;z;k", "2;x;m"}},
      {"the click state survives loading another file",
       "t.qdx",
       "click-title 1\ndump\nfile u.qdx\nkey Ctrl+O\nclick-title 1\ndump\n",
       {"2;x;m", "6;c"}},
      {"Headers does not reset it",
       "t.qdx",
       "click-title 0\ndump\nmenu ID_VIEW_HEADERS\nclick-title 0\ndump\n",
       {"1;z;k", "a;b;c"}},
      {"Duplicates sorts without touching it",
       "d.qdx",
       "dialog ok\nkey Ctrl+D\ndump\nclick-title 0\ndump\n",
       {"a", "a"}},
      {"a click on an empty list still flips the direction",
       "t.qdx",
       "dialog ok match none\nkey Ctrl+P\nclick-title 0\nmenu ID_VIEW_ALL\nclick-title 0\ndump\n",
       {"3;y;l"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Transcript t = Run("start " + c.file + "\n" + c.steps);
    Lines first;
    for (const Dump& d : t.dumps)
      first.push_back(d.rows.empty() ? "(empty)" : d.rows[0]);
    EXPECT_EQ(first, c.firstRows);
  }
}

TEST_F(Rows, PickKeepsMatchingRows) {
  struct {
    const char* what;
    Lines keys;
    std::string answer;
    Lines kept;
  } const cases[] = {
      {"exact: equal ignoring case",
       {"abc", "ABC", "aBc", "abcd", " abc", ""},
       "exact match abc",
       {"abc", "ABC", "aBc"}},
      {"contains, ignoring case",
       {"abc", "BCD", "xxbcxx", "b c", "b", ""},
       "match Bc",
       {"abc", "BCD", "xxbcxx"}},
      {"'[' is not '{'", {"a[b", "a{b"}, "match [", {"a[b"}},
      {"'{' is not '['", {"a[b", "a{b"}, "match {", {"a{b"}},
      {"'@' is not '`'", {"a@", "a`"}, "match @", {"a@"}},
      {"'~' is not '^'", {"x^", "x~"}, "match ~", {"x~"}},
      {"bytes from 0x80 are not folded", {"\xC4", "\xE4", "x\xC4y"}, "match \xE4", {"\xE4"}},
      {"exact, bytes from 0x80 not folded", {"\xC4", "\xE4"}, "exact match \xC4", {"\xC4"}},
      {"a match longer than the field", {"ab", "abc"}, "match abc", {"abc"}},
      {"a partial hit does not end the scan", {"aab", "aaab", "aa"}, "match ab", {"aab", "aaab"}},
      {"a hit at the very end", {"xyzab", "xyza"}, "match AB", {"xyzab"}},
      {"exact means the whole field", {"abc", "abcabc"}, "exact match ABC", {"abc"}},
      {"a match with a blank", {"a b", "ab"}, "match a b", {"a b"}},
      {"a match that hits every row", {"a1", "a2"}, "match A", {"a1", "a2"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Transcript t = RunKeys(c.keys, "dialog ok " + c.answer + "\nkey Ctrl+P\ndump\n");
    ASSERT_EQ(t.dumps.size(), 1u);
    EXPECT_EQ(t.dumps[0].Column(0), c.kept);
    EXPECT_EQ(t.events,
              Concat(kLoaded, {"dialog Pick: k;id selected 0", "title Picking...", "title f.qdx"}));
  }
}

TEST_F(Rows, PickReadsAMissingFieldAsEmpty) {
  // The short row is followed by a row whose first field would match if it were read.
  dir.Write("f.qdx", "k;v\nr1\nx;y\nz;x\n");
  Transcript t = Run("start f.qdx\ndialog ok field 1 match x\nkey Ctrl+P\ndump\n");
  ASSERT_EQ(t.dumps.size(), 1u);
  EXPECT_EQ(t.dumps[0].rows, Lines{"z;x"});
}

TEST_F(Rows, PicksNarrowWhatIsListedAndAllBringsItBack) {
  Transcript t = RunKeys({"ab", "b", "abc", "bc"},
                         "dialog ok match b\nkey Ctrl+P\ndialog ok match a\nkey Ctrl+P\ndump\n"
                         "dialog ok match zzz\nkey Ctrl+P\ndump\nkey Ctrl+I\n"
                         "menu ID_VIEW_ALL\ndump\nkey Ctrl+I\n");
  ASSERT_EQ(t.dumps.size(), 3u);
  EXPECT_EQ(t.dumps[0].Column(0), (Lines{"ab", "abc"}));
  EXPECT_TRUE(t.dumps[1].rows.empty());
  EXPECT_EQ(t.dumps[2].Column(0), (Lines{"ab", "b", "abc", "bc"}));
  const std::string info = "box Info: File\\nRows   : 4\\nColumns: 2\\n\\nDisplayed\\nRows   : ";
  const Lines pick = {"dialog Pick: k;id selected 0", "title Picking...", "title f.qdx"};
  // A Pick on an empty list still passes through its title.
  EXPECT_EQ(
      t.events,
      Concat(Concat(Concat(kLoaded, pick), pick),
             Concat(pick, {info + "0", "title Displaying all...", "title f.qdx", info + "4"})));
}

TEST_F(Rows, FindSelectsTheNextMatchBelowTheSelection) {
  struct {
    const char* what;
    Lines keys;
    std::string before;
    std::string answer;
    std::string selected;
    bool notFound;
  } const cases[] = {
      {"nothing selected, hit in the first row", {"abc", "x"}, "", "match b", "0", false},
      {"starts below the selection", {"m", "x", "m", "m"}, "select 2\n", "match m", "3", false},
      {"last row selected: no match, earlier rows are not searched",
       {"m", "m"},
       "select 1\n",
       "match m",
       "1",
       true},
      {"the selected row itself is never reported",
       {"x", "m", "x"},
       "select 1\n",
       "match m",
       "1",
       true},
      {"no wrap to the rows above", {"m", "x", "x"}, "select 1\n", "match m", "1", true},
      {"exact ABC finds abc, not abcd", {"abcd", "abc"}, "", "exact match ABC", "1", false},
      {"contains ABC finds xabcx", {"ab", "xabcx"}, "", "match ABC", "1", false},
      {"'[' is not '{'", {"a{b", "a[b"}, "", "match [", "1", false},
      {"no match anywhere", {"a", "b"}, "", "match z", "none", true},
      {"an empty list", {"a"}, "dialog ok match zzz\nkey Ctrl+P\n", "match a", "none", true},
      // Pick removes two rows above the selected x2, which moves up to index 1; Find goes on
      // from there to x3.
      {"starts below where Pick moved the selection",
       {"x1", "y", "x2", "y", "x3", "x4"},
       "select 2\ndialog ok match x\nkey Ctrl+P\n",
       "match x",
       "2",
       false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Transcript t = RunKeys(c.keys, c.before + "dialog ok " + c.answer + "\nkey Ctrl+F\ndump\n");
    ASSERT_EQ(t.dumps.size(), 1u);
    EXPECT_EQ(t.dumps[0].selected, c.selected);
    Lines expected = {"dialog Find: k;id selected 0"};
    if (c.notFound)
      expected.push_back("box Info: Could not find any matches...");
    // Find sets no title: its dialog and message are all that shows.
    ASSERT_GE(t.events.size(), expected.size());
    EXPECT_EQ(Lines(t.events.end() - static_cast<ptrdiff_t>(expected.size()), t.events.end()),
              expected);
  }
}

TEST_F(Rows, RepeatedFindStepsThroughTheMatches) {
  std::string find = "dialog ok match M\nkey Ctrl+F\ndump\n";
  Transcript t = RunKeys({"m", "x", "am", "m", "x"}, find + find + find + find + find);
  Lines selected;
  for (const Dump& d : t.dumps)
    selected.push_back(d.selected);
  EXPECT_EQ(selected, (Lines{"0", "2", "3", "3", "3"}));
  EXPECT_EQ(std::count(t.events.begin(), t.events.end(), "box Info: Could not find any matches..."),
            2);
}

TEST_F(Rows, DuplicatesWalkTheSortedRows) {
  struct {
    const char* what;
    Lines keys;
    Lines kept;  // in the order they remain, sorted by the column
  } const cases[] = {
      {"a single text between two equal ones goes", {"b", "a", "b"}, {"b", "b"}},
      {"neighbours equal ignoring case both stay", {"apple", "Apple"}, {"Apple", "apple"}},
      {"equal texts sorted apart are all removed", {"Apple", "Banana", "apple"}, {}},
      {"equal to the last row that stayed", {"a", "B", "A", "A"}, {"A", "A", "a"}},
      {"a chain of case variants stays whole", {"ab", "AB", "Ab"}, {"AB", "Ab", "ab"}},
      {"no text twice: the list ends empty", {"x", "y", "z"}, {}},
      {"a single row is removed", {"x"}, {}},
      {"an empty list stays empty", {}, {}},
      {"two empty texts stay, a single one goes", {"", "a", ""}, {"", ""}},
      {"a single empty text goes", {"", "a", "a"}, {"a", "a"}},
      {"bytes from 0x80 are not folded", {"\xC4", "\xE4"}, {}},
      {"'[' and '{' differ", {"a[", "A{"}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Transcript t = RunKeys(c.keys, "dialog ok\nkey Ctrl+D\ndump\nmenu ID_VIEW_ALL\ndump\n");
    ASSERT_EQ(t.dumps.size(), 2u);
    EXPECT_EQ(t.dumps[0].Column(0), c.kept);
    EXPECT_EQ(t.dumps[1].Column(0), c.keys);
    EXPECT_EQ(t.events, Concat(kLoaded, {"dialog Pick duplicates: k;id selected 0",
                                         "title Picking duplicates...", "title f.qdx",
                                         "title Displaying all...", "title f.qdx"}));
  }
}

TEST_F(Rows, CancelOrEmptyMatchChangesNothing) {
  const std::string enter = "box Info: Please enter the string wich the pick will match.";
  struct {
    const char* what;
    std::string steps;
    Lines events;
  } const cases[] = {
      {"Pick cancelled after choosing a column",
       "dialog cancel field 1\nkey Ctrl+P\n",
       {"dialog Pick: k;id selected 0"}},
      {"Pick with an empty match",
       "dialog ok field 1 exact\nkey Ctrl+P\n",
       {"dialog Pick: k;id selected 0", enter}},
      {"Pick whose dialog cannot be shown", "dialog fail\nkey Ctrl+P\n", {enter}},
      {"Find cancelled", "dialog cancel\nkey Ctrl+F\n", {"dialog Find: k;id selected 0"}},
      {"Find with an empty match",
       "dialog ok exact\nkey Ctrl+F\n",
       {"dialog Find: k;id selected 0", enter}},
      {"Find whose dialog cannot be shown", "dialog fail\nkey Ctrl+F\n", {enter}},
      {"Duplicates cancelled",
       "dialog cancel\nkey Ctrl+D\n",
       {"dialog Pick duplicates: k;id selected 0"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    // Sorted and with a selection; All afterwards shows whether the filter flag moved.
    Transcript t = RunKeys({"b", "c", "b", "a"}, "click-title 0\nselect 1\ndump\n" + c.steps +
                                                     "dump\nmenu ID_VIEW_ALL\ndump\n");
    ASSERT_EQ(t.dumps.size(), 3u);
    EXPECT_EQ(t.dumps[0].Column(0), (Lines{"a", "b", "b", "c"}));
    EXPECT_EQ(t.dumps[1], t.dumps[0]);
    EXPECT_EQ(t.dumps[2], t.dumps[0]);
    EXPECT_EQ(t.events, Concat(kLoaded, c.events));
  }
}

TEST_F(Rows, DuplicatesRemembersItsColumnAcrossUsesAndFiles) {
  dir.Write("a.qdx", "a;b;c\n1;x;p\n2;y;q\n3;x;q\n");
  dir.Write("b.qdx", "d;e;f\n4;s;t\n5;s;u\n");
  Transcript t =
      Run("start a.qdx\n"
          "dialog ok field 2\nkey Ctrl+D\ndump\n"  // column c: the two q rows
          "menu ID_VIEW_ALL\n"
          "dialog cancel\nkey Ctrl+D\n"      // opens on column c
          "dialog fail\nkey Ctrl+D\ndump\n"  // not shown: column c all the same
          "file b.qdx\nkey Ctrl+O\n"
          "dialog ok\nkey Ctrl+D\ndump\n"  // still column f: t and u differ
          "menu ID_FILE_EXIT\n"
          "start b.qdx\n"
          "dialog ok\nkey Ctrl+D\ndump\n");  // a new run starts at column 0
  ASSERT_EQ(t.dumps.size(), 4u);
  // The two q rows are equal in the sorted column, so either may come first.
  for (Dump& d : t.dumps)
    std::sort(d.rows.begin(), d.rows.end());
  EXPECT_EQ(t.dumps[0].rows, (Lines{"2;y;q", "3;x;q"}));
  EXPECT_EQ(t.dumps[1].rows, (Lines{"2;y;q", "3;x;q"}));
  EXPECT_TRUE(t.dumps[2].rows.empty());
  EXPECT_TRUE(t.dumps[3].rows.empty());
  // The dialog is not shown at the failed run, and comes back to column 0 after the restart.
  EXPECT_EQ(Starting(t.events, "dialog"), (Lines{"dialog Pick duplicates: a;b;c selected 0",
                                                 "dialog Pick duplicates: a;b;c selected 2",
                                                 "dialog Pick duplicates: d;e;f selected 2",
                                                 "dialog Pick duplicates: d;e;f selected 0"}));
}

TEST_F(Rows, ChoosingAColumnThenCancellingStillChangesIt) {
  Transcript t = RunKeys({"a", "a"},
                         "dialog cancel field 1\nkey Ctrl+D\ndialog cancel\nkey Ctrl+D\n"
                         "dialog ok\nkey Ctrl+D\ndump\n");
  // Column 1 numbers the rows, so nothing is duplicated there.
  ASSERT_EQ(t.dumps.size(), 1u);
  EXPECT_TRUE(t.dumps[0].rows.empty());
  EXPECT_EQ(t.events[3], "dialog Pick duplicates: k;id selected 1");
  EXPECT_EQ(t.events[4], "dialog Pick duplicates: k;id selected 1");
}

TEST_F(Rows, RememberedColumnThatTheFileLacksEndsWithoutChange) {
  dir.Write("wide.qdx", "a;b;c\n1;2;3\n");
  dir.Write("narrow.qdx", "x;y\n1;2\n3;2\n1;5\n");
  Transcript t =
      Run("start wide.qdx\ndialog ok field 2\nkey Ctrl+D\n"
          "file narrow.qdx\nkey Ctrl+O\nclick-title 1\ndump\n"
          "dialog ok\nkey Ctrl+D\ndump\nkey Ctrl+I\n");
  ASSERT_EQ(t.dumps.size(), 2u);
  EXPECT_EQ(t.dumps[1], t.dumps[0]);
  EXPECT_EQ(t.dumps[0].rows.size(), 3u);
  Lines tail(t.events.end() - 2, t.events.end());
  EXPECT_EQ(tail, (Lines{"dialog Pick duplicates: x;y selected none",
                         "box Info: File\\nRows   : 3\\nColumns: 2\\n\\nDisplayed\\nRows   : 3"}));
}

TEST_F(Rows, InfoCountsFileRowsColumnsAndListedRows) {
  dir.Write("f.qdx", "n;c;a\r\nAnna;Lund;3\r\nbo;Malmo\r\nCe;Lund;5\r\nan;Kiruna;1\r\n");
  struct {
    const char* what;
    std::string steps;
    std::string counts;  // rows, columns, displayed
  } const cases[] = {
      {"just loaded", "", "4 3 4"},
      {"after a Pick left 2", "dialog ok field 1 match lund\nkey Ctrl+P\n", "4 3 2"},
      {"headers off: the first line is a row", "menu ID_VIEW_HEADERS\n", "5 3 5"},
      {"headers off then on again", "key Ctrl+H\nkey Ctrl+H\n", "4 3 4"},
      {"after Duplicates left none", "dialog ok\nkey Ctrl+D\n", "4 3 0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Transcript t = Run("start f.qdx\n" + c.steps + "key Ctrl+I\n");
    std::string rows, columns, displayed;
    std::istringstream(c.counts) >> rows >> columns >> displayed;
    EXPECT_EQ(t.events.back(), "box Info: File\\nRows   : " + rows + "\\nColumns: " + columns +
                                   "\\n\\nDisplayed\\nRows   : " + displayed);
  }
}

TEST_F(Rows, AllChangesNothingWhileEveryRowIsListed) {
  Transcript t =
      RunKeys({"b", "a", "c"}, "menu ID_VIEW_ALL\nclick-title 0\nselect 2\nkey Ctrl+A\ndump\n");
  ASSERT_EQ(t.dumps.size(), 1u);
  EXPECT_EQ(t.dumps[0].Column(0), (Lines{"a", "b", "c"}));
  EXPECT_EQ(t.dumps[0].selected, "2");
  EXPECT_EQ(t.events, kLoaded);
}

TEST_F(Rows, AllAfterAFilterListsEveryRowInFileOrder) {
  Transcript t = RunKeys({"b", "a", "c", "a"},
                         "dialog ok match a\nkey Ctrl+P\nclick-title 1\nselect 0\n"
                         "menu ID_VIEW_ALL\ndump\nkey Ctrl+A\n");
  ASSERT_EQ(t.dumps.size(), 1u);
  EXPECT_EQ(t.dumps[0].Column(0), (Lines{"b", "a", "c", "a"}));
  EXPECT_EQ(t.dumps[0].selected, "none");
  // The second All finds every row listed and does nothing.
  EXPECT_EQ(t.events, Concat(kLoaded, {"dialog Pick: k;id selected 0", "title Picking...",
                                       "title f.qdx", "title Displaying all...", "title f.qdx"}));
}

TEST_F(Rows, HeadersSwitchesTheFirstLineBetweenTitlesAndRows) {
  dir.Write("f.qdx", "n;c;a\nAnna;Lund\nbo;Malmo;7\n");
  dir.Write("g.qdx", "p;q\n1;2\n");
  Transcript t =
      Run("start f.qdx\ndialog ok match bo\nkey Ctrl+P\nclick-title 0\ndump\n"
          "menu ID_VIEW_HEADERS\ndump\n"
          "key Ctrl+H\ndump\n"
          "menu ID_VIEW_HEADERS\nfile g.qdx\nkey Ctrl+O\ndump\n");
  ASSERT_EQ(t.dumps.size(), 4u);
  EXPECT_EQ(t.dumps[0].checks, "headers=1 save=0 help=0");
  // Headers off: numbered titles, the first line listed first, the Pick filter gone, and the
  // short row's missing cell empty.
  EXPECT_EQ(t.dumps[1].columns, "3: Column 1;Column 2;Column 3");
  EXPECT_EQ(t.dumps[1].rows, (Lines{"n;c;a", "Anna;Lund;", "bo;Malmo;7"}));
  EXPECT_EQ(t.dumps[1].checks, "headers=0 save=0 help=0");
  EXPECT_EQ(t.dumps[2].columns, "3: n;c;a");
  EXPECT_EQ(t.dumps[2].rows, (Lines{"Anna;Lund;", "bo;Malmo;7"}));
  EXPECT_EQ(t.dumps[2].checks, "headers=1 save=0 help=0");
  // Every load starts with the first line as titles, and the check mark says so again.
  EXPECT_EQ(t.dumps[3].columns, "2: p;q");
  EXPECT_EQ(t.dumps[3].rows, Lines{"1;2"});
  EXPECT_EQ(t.dumps[3].checks, "headers=1 save=0 help=0");
}

TEST_F(Rows, TitlesFollowTheWork) {
  dir.Write("a.qdx", "k\nx\nx\ny\n");
  dir.Write("b.qdx", "k\nz\n");
  Transcript t =
      Run("start a.qdx\n"
          "dialog ok match x\nkey Ctrl+P\n"
          "key Ctrl+A\n"
          "dialog ok\nkey Ctrl+D\n"
          "key Ctrl+H\n"
          "file b.qdx\nkey Ctrl+O\n"
          "menu ID_FILE_EXIT\n");
  EXPECT_EQ(t.events,
            (Lines{"title Loading...", "title a.qdx", "dialog Pick: k selected 0",
                   "title Picking...", "title a.qdx", "title Displaying all...", "title a.qdx",
                   "dialog Pick duplicates: k selected 0", "title Picking duplicates...",
                   "title a.qdx", "title Displaying all...", "title a.qdx", "filedialog a.qdx",
                   "title Lintaro by Quorvel", "title Loading...", "title b.qdx",
                   "title Lintaro by Quorvel", "exit"}));
}

}  // namespace
