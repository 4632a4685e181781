// The platform pieces where a fault would hide behind the program: the list's item sequence and
// selection, sorting with a key, accelerators, menu check marks and the command line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <random>
#include <sstream>
#include <vector>

#include "TestFiles.h"
#include "app/Resource.h"
#include "platform/Accelerators.h"
#include "platform/App.h"
#include "platform/GapVector.h"
#include "platform/ListCtrl.h"
#include "platform/Menu.h"

namespace {

// A GapVector beside a plain vector that receives the same changes.
struct Twin {
  GapVector<int> gap;
  std::vector<int> model;
  void Insert(size_t i, int v) {
    gap.insert(i, v);
    model.insert(model.begin() + static_cast<ptrdiff_t>(i), v);
  }
  void Erase(size_t i) {
    gap.erase(i);
    model.erase(model.begin() + static_cast<ptrdiff_t>(i));
  }
  void Fill(int n) {
    for (int v = 0; v < n; ++v)
      Insert(model.size(), v);
  }
  std::vector<int> Indexed() const {
    std::vector<int> out;
    for (size_t i = 0; i < gap.size(); ++i)
      out.push_back(gap[i]);
    return out;
  }
};

struct GapScenario {
  const char* what;
  std::function<void(Twin&)> run;
};

const GapScenario kGapScenarios[] = {
    {"delete every other item while walking",
     [](Twin& t) {
       t.Fill(101);
       for (size_t i = 0; i < t.model.size(); ++i)
         t.Erase(i);
     }},
    {"delete all but one from the middle",
     [](Twin& t) {
       t.Fill(40);
       for (size_t i = 0; i < t.model.size();)
         t.model[i] == 17 ? void(++i) : t.Erase(i);
     }},
    {"delete from the back, then the front",
     [](Twin& t) {
       t.Fill(30);
       for (int n = 0; n < 10; ++n)
         t.Erase(t.model.size() - 1);
       for (int n = 0; n < 10; ++n)
         t.Erase(0);
     }},
    {"inserts after deletes, on both sides of the gap",
     [](Twin& t) {
       t.Fill(20);
       t.Erase(5);
       t.Erase(5);
       t.Erase(5);
       t.Insert(3, 100);
       t.Insert(15, 101);
       t.Insert(t.model.size(), 102);
       t.Insert(0, 103);
       t.Erase(16);
       t.Insert(6, 104);
     }},
    {"growing while the gap is at the front",
     [](Twin& t) {
       for (int v = 0; v < 100; ++v)
         t.Insert(0, v);
     }},
    {"reuse after clear",
     [](Twin& t) {
       t.Fill(10);
       t.gap.clear();
       t.model.clear();
       t.Fill(5);
       t.Erase(2);
     }},
    {"random inserts and erases",
     [](Twin& t) {
       std::mt19937 random(7);
       for (int step = 0; step < 3000; ++step) {
         size_t size = t.model.size();
         if (size == 0 || random() % 3 != 0) {
           t.Insert(random() % (size + 1), step);
         } else {
           t.Erase(random() % size);
         }
       }
     }},
};

TEST(GapVector, KeepsTheSequenceOfAPlainVector) {
  for (const GapScenario& s : kGapScenarios) {
    SCOPED_TRACE(s.what);
    Twin t;
    s.run(t);
    ASSERT_EQ(t.gap.size(), t.model.size());
    EXPECT_EQ(t.Indexed(), t.model);
    std::span<int> all = t.gap.Contiguous();
    EXPECT_EQ(std::vector<int>(all.begin(), all.end()), t.model);
  }
}

// Where the memory for more items cannot be had (a 32-bit process loading a big file), the items
// stay as they were and the caller hears of it, rather than the program ending.
TEST(GapVector, GrowthWithoutMemoryChangesNothing) {
  Twin t;
  t.Fill(20);
  t.Erase(3);
  EXPECT_FALSE(t.gap.reserve(std::numeric_limits<size_t>::max() / 2));
  EXPECT_EQ(t.Indexed(), t.model);
  t.Insert(2, 99);
  EXPECT_EQ(t.Indexed(), t.model);
}

class ListTest : public ::testing::Test {
 public:
  void Fill(std::initializer_list<LPARAM> data) {
    for (LPARAM d : data) {
      LVITEM item;
      item.mask = LVIF_PARAM;
      item.iItem = list.GetItemCount();
      item.lParam = d;
      list.InsertItem(&item);
    }
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
// but the one holding V, "*" deletes all, "c-1" clicks outside the items.
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
};

TEST_F(ListTest, ItemsAndSelectionUnderChanges) {
  for (const SelectionCase& c : kSelectionCases) {
    SCOPED_TRACE(c.what);
    list.DeleteAllItems();
    Fill({10, 11, 12, 13, 14, 15});
    list.UserClickItem(3);
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
      }
    }
    EXPECT_EQ(Data(), c.data);
    EXPECT_EQ(SelectedData(), c.selected);
    // The focus stays on the same item as the selection while that item exists.
    if (c.selected != -1) {
      EXPECT_EQ(list.GetItemData(list.GetNextItem(-1, LVNI_FOCUSED)), c.selected);
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
  list.SortItems(&CompareData, 1);
  EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 2);
  list.UserClickItem(4);
  list.SortItems(&CompareData, 0);
  EXPECT_EQ(list.GetNextItem(-1, LVNI_SELECTED), 0);
}

// A recorder of the commands that reach a window.
class CommandSink : public CWnd {
 public:
  std::vector<std::pair<WPARAM, LPARAM>> commands;

 protected:
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
    commands.emplace_back(wParam, lParam);
    return TRUE;
  }
};

TEST(Accelerators, CtrlKeysBecomeAcceleratorCommands) {
  QuietBackend backend;
  HACCEL table = LoadAccelerators(IDR_ACCELERATORS);
  ASSERT_NE(table, nullptr);
  constexpr bool kCtrl = true, kShift = true, kAlt = true;
  struct {
    const char* what;
    UINT message;
    WPARAM key;
    bool ctrl, shift, alt;
    UINT command;  // 0: not translated
  } const cases[] = {
      {"Ctrl+A", WM_KEYDOWN, 'A', kCtrl, false, false, ID_VIEW_ALL},
      {"Ctrl+D", WM_KEYDOWN, 'D', kCtrl, false, false, ID_VIEW_DUPLICATES},
      {"Ctrl+F", WM_KEYDOWN, 'F', kCtrl, false, false, ID_VIEW_FIND},
      {"Ctrl+H", WM_KEYDOWN, 'H', kCtrl, false, false, ID_VIEW_HEADERS},
      {"Ctrl+I", WM_KEYDOWN, 'I', kCtrl, false, false, ID_VIEW_INFO},
      {"Ctrl+O", WM_KEYDOWN, 'O', kCtrl, false, false, ID_FILE_OPEN},
      {"Ctrl+P", WM_KEYDOWN, 'P', kCtrl, false, false, ID_VIEW_PICK},
      {"the letter without Ctrl", WM_KEYDOWN, 'P', false, false, false, 0},
      {"Ctrl+Shift is another key", WM_KEYDOWN, 'O', kCtrl, kShift, false, 0},
      {"Ctrl+Alt is another key", WM_KEYDOWN, 'P', kCtrl, false, kAlt, 0},
      {"Ctrl+Shift+Alt is another key", WM_KEYDOWN, 'F', kCtrl, kShift, kAlt, 0},
      {"Shift alone is no Ctrl", WM_KEYDOWN, 'O', false, kShift, false, 0},
      {"Alt alone is no Ctrl", WM_KEYDOWN, 'P', false, false, kAlt, 0},
      {"a Ctrl key with no entry", WM_KEYDOWN, 'B', kCtrl, false, false, 0},
      {"a Ctrl key outside the letters", WM_KEYDOWN, 0x6F, kCtrl, false, false, 0},
      {"Enter is left to the dialog", WM_KEYDOWN, VK_RETURN, false, false, false, 0},
      {"not a key press", WM_COMMAND, 'O', kCtrl, false, false, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    CommandSink window;
    MSG msg{&window, c.message, c.key, 0, c.ctrl, c.shift, c.alt};
    BOOL translated = TranslateAccelerator(&window, table, &msg);
    EXPECT_EQ(translated != FALSE, c.command != 0);
    if (c.command == 0) {
      EXPECT_TRUE(window.commands.empty());
      continue;
    }
    ASSERT_EQ(window.commands.size(), 1u);
    EXPECT_EQ(LOWORD(window.commands[0].first), c.command);
    EXPECT_EQ(HIWORD(window.commands[0].first), NOTIFY_ACCELERATOR);
    EXPECT_EQ(window.commands[0].second, 0);
  }
  CommandSink window;
  MSG msg{&window, WM_KEYDOWN, 'O', 0, true};
  EXPECT_FALSE(TranslateAccelerator(&window, nullptr, &msg));
}

TEST(Menu, CheckMarksFollowTheCommandIdAcrossPopups) {
  const UINT ids[] = {ID_FILE_OPEN,        ID_FILE_EXIT,          ID_VIEW_INFO,
                      ID_VIEW_HEADERS,     ID_VIEW_FIND,          ID_VIEW_PICK,
                      ID_VIEW_DUPLICATES,  ID_VIEW_ALL,           ID_OPTIONS_SAVE_SETTINGS,
                      ID_OPTIONS_REGISTER, ID_OPTIONS_UNREGISTER, ID_HELP_ONLINE,
                      ID_HELP_ABOUT};
  for (UINT id : ids) {
    SCOPED_TRACE(id);
    std::unique_ptr<CMenu> menu = CMenu::Load(*FindMenuTemplate(IDR_MAINMENU), nullptr);
    bool wasChecked = id == ID_VIEW_HEADERS;  // the only item that starts checked
    EXPECT_EQ(menu->CheckMenuItem(id, MF_BYCOMMAND | MF_CHECKED), wasChecked ? MF_CHECKED : 0u);
    for (UINT other : ids) {
      bool checked = (menu->GetMenuState(other, MF_BYCOMMAND) & MF_CHECKED) != 0;
      EXPECT_EQ(checked, other == id || other == ID_VIEW_HEADERS) << "item " << other;
    }
    EXPECT_EQ(menu->CheckMenuItem(id, MF_BYCOMMAND | MF_UNCHECKED), MF_CHECKED);
    EXPECT_EQ(menu->GetMenuState(id, MF_BYCOMMAND) & MF_CHECKED, 0u);
  }
  std::unique_ptr<CMenu> menu = CMenu::Load(*FindMenuTemplate(IDR_MAINMENU), nullptr);
  // Separators and pop-ups carry id 0; neither is an item that can be found by command.
  EXPECT_EQ(menu->GetMenuState(0, MF_BYCOMMAND), MENU_NOT_FOUND);
  EXPECT_EQ(menu->CheckMenuItem(ID_HELP, MF_BYCOMMAND | MF_CHECKED), MENU_NOT_FOUND);
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
      {"only blanks after the name", "lintaro.exe   ", ""},
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

namespace {
// Every picture of every icon is as many rows as its size, each row as many pixels, each pixel a
// palette index or transparent: a renderer that trusts the size must never read past a row.
TEST(Resources, IconPicturesAreSquareAndUseThePalette) {
  QuietBackend backend;
  HICON icon = LoadIcon(IDR_MAINFRAME);
  ASSERT_NE(icon, nullptr);
  for (const IconImage& image : icon->images) {
    SCOPED_TRACE(image.size);
    ASSERT_EQ(image.rows.size(), static_cast<size_t>(image.size));
    for (const char* row : image.rows) {
      EXPECT_EQ(std::strlen(row), static_cast<size_t>(image.size)) << row;
      EXPECT_EQ(std::strspn(row, ".0123456789ABCDEF"), std::strlen(row)) << row;
    }
  }
}
}  // namespace
