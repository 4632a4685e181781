// The platform pieces where a fault would hide behind the program: the list's item sequence and
// selection, sorting with a key, placement reports, the icon an icon control shows, and the
// command line. (Menu check marks show in every dump of the scripts, accelerators in
// modifier_keys.case, placements at the ends of the coordinates in
// tests/reliability/bad_inputs.py; what the list tells its owner in ListInputTest.cpp.)
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <limits>
#include <random>
#include <sstream>
#include <vector>

#include "TestFiles.h"
#include "app/CommandLinePath.h"
#include "platform/App.h"
#include "platform/DropFiles.h"
#include "platform/FullPath.h"
#include "platform/GapVector.h"
#include "platform/ListCtrl.h"
#include "platform/StaticIcon.h"

namespace {

// A GapVector beside a plain vector that receives the same changes: growth while the gap is at
// the front, then random inserts and erases, with a clear and a reserve now and then.
TEST(GapVector, KeepsTheSequenceOfAPlainVector) {
  GapVector<int> gap;
  std::vector<int> model;
  auto check = [&] {
    std::vector<int> indexed;
    for (size_t i = 0; i < gap.size(); ++i)
      indexed.push_back(gap[i]);
    EXPECT_EQ(indexed, model);
    std::span<int> all = gap.Contiguous();
    EXPECT_EQ(std::vector<int>(all.begin(), all.end()), model);
  };
  for (int v = 0; v < 100; ++v) {
    gap.insert(0, v);
    model.insert(model.begin(), v);
  }
  check();
  std::mt19937 random(7);
  for (int step = 0; step < 3000; ++step) {
    size_t size = model.size();
    auto at = [&](size_t n) { return static_cast<size_t>(random() % n); };
    if (step % 1000 == 999) {
      check();
      gap.clear();
      model.clear();
    } else if (step % 1000 == 500) {
      gap.reserve(size + 100);  // room made while the gap lies anywhere
    } else if (size == 0 || random() % 3 != 0) {
      size_t i = at(size + 1);
      gap.insert(i, step);
      model.insert(model.begin() + static_cast<ptrdiff_t>(i), step);
    } else {
      size_t i = at(size);
      gap.erase(i);
      model.erase(model.begin() + static_cast<ptrdiff_t>(i));
    }
  }
  check();
}

// Where the memory for more items cannot be had (a 32-bit process loading a big file), the items
// stay as they were and the caller hears of it, rather than the program ending.
TEST(GapVector, GrowthWithoutMemoryChangesNothing) {
  GapVector<int> gap;
  for (auto [at, v] : {std::pair{0, 1}, {1, 4}, {1, 2}, {2, 3}})
    gap.insert(static_cast<size_t>(at), v);  // the gap is left inside the items
  EXPECT_FALSE(gap.reserve(std::numeric_limits<size_t>::max() / 2));
  std::span<int> all = gap.Contiguous();
  EXPECT_EQ(std::vector<int>(all.begin(), all.end()), (std::vector<int>{1, 2, 3, 4}));
}

class ListTest : public ::testing::Test {
 public:
  void Fill(std::initializer_list<LPARAM> data) {
    for (LPARAM d : data)
      InsertAt(list.GetItemCount(), d);
  }
  void InsertAt(int index, LPARAM d) {
    LVITEM item;
    item.mask = LVIF_PARAM;
    item.iItem = index;
    item.lParam = d;
    list.InsertItem(&item);
  }
  std::vector<LPARAM> Data() const {
    std::vector<LPARAM> out;
    for (int i = 0; i < list.GetItemCount(); ++i)
      out.push_back(list.GetItemData(i));
    return out;
  }
  // The data of the selected item, or -1 when none is selected.
  LPARAM SelectedData() const {
    int s = list.GetNextItem(-1, LVNI_SELECTED);
    return s < 0 ? -1 : list.GetItemData(s);
  }

 protected:
  QuietBackend backend;
  CListCtrl list;
};

// Changes in a small notation, applied in order: "-N" deletes item N, "+N" inserts the data
// 90, 91, ... at index N, "~" deletes every other item while walking, "=V" deletes every item
// but the one holding V, "*" deletes all, "c-1" clicks outside the items, "k011111" keeps the
// items flagged 1 in one pass.
struct SelectionCase {
  const char* what;
  const char* changes;
  std::vector<LPARAM> data;
  LPARAM selected;  // the data of the selected item afterwards, -1 for none
};

const SelectionCase kSelectionCases[] = {
    {"delete items before the selection", "-0 -0", {12, 13, 14, 15}, 13},
    {"delete the selected item", "-3", {10, 11, 12, 14, 15}, -1},
    {"delete an item after the selection", "-4", {10, 11, 12, 13, 15}, 13},
    {"delete every other item while walking", "~", {11, 13, 15}, 13},
    {"delete all but the selected item", "=13", {13}, 13},
    {"deletes out of range change nothing", "--1 -6", {10, 11, 12, 13, 14, 15}, 13},
    {"insert before the selection", "+1", {10, 90, 11, 12, 13, 14, 15}, 13},
    {"insert at the selected index", "+3", {10, 11, 12, 90, 13, 14, 15}, 13},
    {"insert after the selection", "+4", {10, 11, 12, 13, 90, 14, 15}, 13},
    {"inserts after deletes", "-0 -4 +0 +5", {90, 11, 12, 13, 14, 91}, 13},
    {"delete all", "*", {}, -1},
    {"a click outside the items clears the selection", "c-1", {10, 11, 12, 13, 14, 15}, -1},
    {"kept in one pass: marks after deletions move up", "k010111", {11, 13, 14, 15}, 13},
    {"kept in one pass: the selected item goes", "k111011", {10, 11, 12, 14, 15}, -1},
    {"kept in one pass: nothing deleted", "k111111", {10, 11, 12, 13, 14, 15}, 13},
    {"kept in one pass: everything deleted", "k000000", {}, -1},
};

TEST_F(ListTest, ItemsAndSelectionUnderChanges) {
  for (const SelectionCase& c : kSelectionCases) {
    SCOPED_TRACE(c.what);
    list.DeleteAllItems();
    Fill({10, 11, 12, 13, 14, 15});
    list.UserClickItem(3);
    list.EnsureVisible(3, FALSE);
    std::istringstream changes(c.changes);
    LPARAM inserted = 90;
    for (std::string change; changes >> change;) {
      int n = change.size() > 1 ? std::stoi(change.substr(1)) : 0;
      switch (change[0]) {
        case '-':
          list.DeleteItem(n);
          break;
        case '+':
          InsertAt(n, inserted++);
          break;
        case '~':
          for (int i = 0; i < list.GetItemCount(); ++i)
            list.DeleteItem(i);
          break;
        case '=':
          for (int i = 0; i < list.GetItemCount();)
            list.GetItemData(i) == n ? void(++i) : void(list.DeleteItem(i));
          break;
        case '*':
          list.DeleteAllItems();
          break;
        case 'c':
          list.UserClickItem(n);
          break;
        case 'k': {
          std::vector<uint8_t> keep;
          for (char flag : change.substr(1))
            keep.push_back(flag == '1');
          list.KeepItems(keep);
          break;
        }
      }
    }
    EXPECT_EQ(Data(), c.data);
    EXPECT_EQ(SelectedData(), c.selected);
    // The focus stays on the same item as the selection while that item exists; so does the
    // revealed mark through deletes.
    if (c.selected != -1) {
      EXPECT_EQ(list.GetItemData(list.GetNextItem(-1, LVNI_FOCUSED)), c.selected);
      if (!std::strchr(c.changes, '+')) {
        EXPECT_EQ(list.GetItemData(list.RevealedItem()), c.selected);
      }
    }
  }
}

int CompareData(LPARAM a, LPARAM b, LPARAM descending) {
  int order = a < b ? -1 : a > b ? 1 : 0;
  return descending ? -order : order;
}

TEST_F(ListTest, SortKeepsTheSelectedItemSelectedAtItsNewPlace) {
  Fill({30, 10, 50, 20, 40});
  list.UserClickItem(0);
  list.SortItems(&CompareData, 0);
  EXPECT_EQ(Data(), (std::vector<LPARAM>{10, 20, 30, 40, 50}));
  EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 2);
  EXPECT_EQ(list.GetNextItem(-1, LVNI_FOCUSED), 2);
  list.UserClickItem(1);
  list.SortItems(&CompareData, 1);
  EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 3);
  list.UserClickItem(4);
  list.SortItems(&CompareData, 0);
  EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 0);
}

// The arrow stays on the column it was put on as columns come and go, and goes with it.
TEST_F(ListTest, TheSortArrowStaysOnItsColumn) {
  struct Case {
    const char* what;
    void (*change)(CListCtrl& list);
    int column;  // where the arrow is afterwards, -1 for none
  };
  const Case kCases[] = {
      {"a column inserted before it", [](CListCtrl& l) { l.InsertColumn(0, "new"); }, 2},
      {"a column inserted after it", [](CListCtrl& l) { l.InsertColumn(2, "new"); }, 1},
      {"a column before it deleted", [](CListCtrl& l) { l.DeleteColumn(0); }, 0},
      {"its column deleted", [](CListCtrl& l) { l.DeleteColumn(1); }, -1},
      {"a column after it deleted", [](CListCtrl& l) { l.DeleteColumn(2); }, 1},
      {"an arrow on no column", [](CListCtrl& l) { l.SetSortArrow(7, HDF_SORTUP); }, -1},
      {"no arrow", [](CListCtrl& l) { l.SetSortArrow(0, 0); }, -1},
      {"a new window", [](CListCtrl& l) { l.SendMessage(WM_CREATE); }, -1},
  };
  for (const Case& c : kCases) {
    while (list.GetColumnCount() > 0)
      list.DeleteColumn(0);
    for (const char* title : {"a", "b", "c"})
      list.InsertColumn(list.GetColumnCount(), title);
    list.SetSortArrow(1, HDF_SORTDOWN);
    c.change(list);
    EXPECT_EQ(list.SortArrowColumn(), c.column) << c.what;
    EXPECT_EQ(list.SortArrow(), c.column < 0 ? 0 : HDF_SORTDOWN) << c.what;
  }
}

// The names of a drop as the shell's drop handle gives them: the count, each name's length, and
// a name cut to the buffer, NUL included.
TEST(DropFiles, NamesAreReadAsTheShellGivesThem) {
  DropFiles drop{{"/home/u/a.qdx", "b"}};
  char buffer[8] = "xxxxxxx";
  struct Case {
    UINT index;
    char* file;
    UINT size;
    UINT result;
    const char* copied;  // null: the buffer is untouched
  };
  const Case kCases[] = {
      {0xFFFFFFFF, nullptr, 0, 2, nullptr},
      {0, nullptr, 0, 13, nullptr},
      {1, buffer, sizeof buffer, 1, "b"},
      {0, buffer, sizeof buffer, 7, "/home/u"},
      {0, buffer, 1, 0, ""},
      {2, buffer, sizeof buffer, 0, nullptr},
  };
  for (const Case& c : kCases) {
    std::strcpy(buffer, "xxxxxxx");
    EXPECT_EQ(DragQueryFileA(&drop, c.index, c.file, c.size), c.result) << c.index << " " << c.size;
    EXPECT_STREQ(buffer, c.copied ? c.copied : "xxxxxxx") << c.index << " " << c.size;
  }
  EXPECT_EQ(DragQueryFileA(nullptr, 0xFFFFFFFF, nullptr, 0), 0u);
}

// A name made into a full path from the working folder, "." and ".." taken by name; a buffer too
// small gets nothing and the size needed.
TEST(FullPath, NamesAreTakenFromTheWorkingFolder) {
  TempDir dir;
  std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(dir.Root());
  std::string inside = (std::filesystem::current_path() / "a.qdx").string();
  const std::pair<const char*, std::string> kCases[] = {
    {"a.qdx", inside},
    {"./sub/../a.qdx", inside},
#if !defined(_WIN32)
    {"/x/y/../z.qdx", "/x/z.qdx"},
#endif
    {"", ""},
  };
  for (const auto& [name, full] : kCases) {
    char buffer[4096];
    DWORD length = GetFullPathNameA(name, sizeof buffer, buffer, nullptr);
    EXPECT_EQ(length, full.size()) << name;
    EXPECT_EQ(std::string(buffer, length), full) << name;
  }
  char small[4] = "xyz";
  EXPECT_EQ(GetFullPathNameA("a.qdx", sizeof small, small, nullptr), inside.size() + 1);
  EXPECT_STREQ(small, "xyz");
  std::filesystem::current_path(before);
}

// What the window system reports becomes the window's placement only where it differs, from the
// placement or from the client size that the window last heard of; a report that the window makes
// while it takes one (its WM_SIZE handler moving it) is dropped.
TEST(Placement, AReportIsTakenOnlyWhenItChangesSomething) {
  QuietBackend backend;
  struct Window : CWnd {
    int sized = 0;
    bool reportInside = false;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
      sized += message == WM_SIZE ? 1 : 0;
      if (message == WM_SIZE && reportInside)
        ReportPlacement(SW_SHOWMINIMIZED, RECT{1, 2, 3, 4}, POINT{1, 1});
      return CWnd::WindowProc(message, wParam, lParam);
    }
  } window;
  window.MoveWindow(10, 20, 300, 200);
  RECT client;
  window.GetClientRect(&client);
  const POINT size{client.Width(), client.Height()}, smaller{size.x, size.y - 20};
  struct {
    const char* what;
    UINT show;
    RECT normal;
    POINT client;
    bool taken;
    bool reportInside = false;
  } const cases[] = {
      {"what the window has", SW_SHOWNORMAL, {10, 20, 310, 220}, size, false},
      {"moved", SW_SHOWNORMAL, {15, 20, 315, 220}, size, true},
      {"only the client smaller", SW_SHOWNORMAL, {15, 20, 315, 220}, smaller, true},
      {"the same again", SW_SHOWNORMAL, {15, 20, 315, 220}, smaller, false},
      {"maximised", SW_SHOWMAXIMIZED, {15, 20, 315, 220}, smaller, true},
      {"normal, with a report inside", SW_SHOWNORMAL, {0, 0, 100, 90}, size, true, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    window.reportInside = c.reportInside;
    int before = window.sized;
    window.ReportPlacement(c.show, c.normal, c.client);
    EXPECT_EQ(window.sized - before, c.taken ? 1 : 0);
    WINDOWPLACEMENT placement;
    window.GetWindowPlacement(&placement);
    EXPECT_EQ(placement.showCmd, c.show);
    EXPECT_EQ(placement.rcNormalPosition, c.normal);
  }
}

// An icon control shows the icon resource that its text names, else its window's, else the main
// window's.
TEST(IconControl, ShowsTheNamedIconElseItsWindowsElseTheMainWindows) {
  QuietBackend backend;
  const Icon own{1, {}}, main{2, {}};
  CWnd mainWindow, dialog;
  mainWindow.SetIcon(&main, TRUE);
  CWinApp* app = AfxGetApp();
  app->m_pMainWnd = &mainWindow;
  struct {
    const char* text;
    bool windowHasIcon;
    HICON shown;
  } const cases[] = {
      {"128", true, LoadIcon(128)},
      {"#128", true, LoadIcon(128)},
      {"0128", true, LoadIcon(128)},
      {"129", true, nullptr},
      {"#", true, &own},
      {"12a", true, &own},
      {"1234567890", true, &own},
      {"", false, &main},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    dialog.SetIcon(c.windowHasIcon ? &own : nullptr, TRUE);
    CWnd control;
    dialog.AddControl(
        control, ControlTemplate{ControlKind::Icon, 1, c.text, 0, 0, 0, 0, SS_ICON, 0}, RECT{});
    EXPECT_EQ(IconOfStatic(control), c.shown);
    dialog.RemoveChildren();
  }
  app->m_pMainWnd = nullptr;
}

TEST(CommandLine, ApplicationCommandLineIsTheTailAfterTheProgramName) {
  struct {
    const char* what;
    std::string process;
    std::string tail;
  } const cases[] = {
      {"quoted program name with blanks", "\"C:\\Program Files\\lintaro.exe\" a.qdx", "a.qdx"},
      {"quoted name directly followed by the path", "\"C:\\l.exe\"a.qdx", "a.qdx"},
      {"blanks and control characters after the name",
       "lintaro.exe \t\x01\x1F "
       "a.qdx",
       "a.qdx"},
      {"the rest is kept as it is", "lintaro.exe a b.qdx  \"c\" ", "a b.qdx  \"c\" "},
      {"no arguments", "lintaro.exe", ""},
      {"quoted name without its closing quote", "\"C:\\Program Files\\l.exe a.qdx", ""},
      {"empty quoted name", "\"\" a.qdx", "a.qdx"},
      {"empty command line", "", ""},
      {"high bytes belong to the name", "l\xE9.exe a.qdx", "a.qdx"},
      {"high bytes are not skipped after the name",
       "l.exe \xE9"
       "t\xE9.qdx",
       "\xE9"
       "t\xE9.qdx"},
      {"a tab ends an unquoted name", "lintaro.exe\ta.qdx", "a.qdx"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ApplicationCommandLine(c.process), c.tail);
  }
}

// One double quote comes off each end where it is, nothing else: not a blank, not a quote inside.
TEST(CommandLine, ThePathIsTheLineLessAQuoteAtEachEnd) {
  struct {
    std::string line;
    std::string path;
  } const cases[] = {
      {"\"with blank.qdx\"", "with blank.qdx"},
      {"with blank.qdx", "with blank.qdx"},
      {"\"plain.qdx", "plain.qdx"},
      {"plain.qdx\"", "plain.qdx"},
      {"\"we\"ird.qdx\"", "we\"ird.qdx"},
      {"\"plain.qdx\" ", "plain.qdx\" "},
      {"plain.qdx ", "plain.qdx "},
      {"\"", ""},
      {"\"\"", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CommandLinePath(c.line), c.path) << c.line;
}

TEST(CommandLine, ApplicationNameIsTheFileNameWithoutExtension) {
  struct {
    std::string path;
    std::string name;
  } const cases[] = {
      {"/usr/bin/lintaro", "lintaro"},
      {"C:\\Apps\\viewer.exe", "viewer"},
      {"build/lintaro-script", "lintaro-script"},
      {"/opt/my.tools/lintaro", "lintaro"},  // a dot in a folder is no extension
      {"/x/.hidden", ".hidden"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ApplicationName(c.path), c.name) << c.path;
}

}  // namespace
