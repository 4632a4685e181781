// The resources that the commands are built into: the menu bar and the accelerator table, which
// stay exactly what they have always been, the help table's rows, and the list's context menu and
// keys, which carry the commands that were added.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "TestFiles.h"
#include "app/Commands.h"
#include "app/HelpTable.h"
#include "app/ProgramResources.h"
#include "app/Resource.h"
#include "platform/Menu.h"

namespace {

struct Row {
  std::string text;  // "-" for a separator; a pop-up's own row has id 0
  UINT id;
  UINT state;
  friend bool operator==(const Row&, const Row&) = default;
};

void PrintTo(const Row& row, std::ostream* out) {
  *out << "{" << row.text << ", " << row.id << ", " << row.state << "}";
}

// The menu as rows: each pop-up's title, then its items.
std::vector<Row> Rows(const CMenu& menu) {
  std::vector<Row> rows;
  for (const CMenu::Item& item : menu.Items()) {
    if (item.state & MF_SEPARATOR) {
      rows.push_back({"-", item.id, item.state});
      continue;
    }
    rows.push_back({item.text, item.id, item.state});
    if (item.popup) {
      for (const Row& inner : Rows(*item.popup))
        rows.push_back(inner);
    }
  }
  return rows;
}

std::unique_ptr<CMenu> Load(int id) {
  RegisterResources(&ProgramResources());
  const MenuTemplate* source = FindMenuTemplate(id);
  return source ? CMenu::Load(*source, nullptr) : nullptr;
}

TEST(CommandTable, TheMenuBarIsAsItWas) {
  QuietBackend backend;
  std::unique_ptr<CMenu> bar = Load(IDR_MAINMENU);
  ASSERT_NE(bar, nullptr);
  const std::vector<Row> expected = {
      {"&File", 0, MF_POPUP},
      {"&Open\tCtrl+O", 57601, 0},
      {"-", 0, MF_SEPARATOR},
      {"E&xit", 32772, 0},
      {"&View", 0, MF_POPUP},
      {"Info\tCtrl+I", 32778, 0},
      {"-", 0, MF_SEPARATOR},
      {"Headers\tCtrl+H", 32780, MF_CHECKED},
      {"-", 0, MF_SEPARATOR},
      {"&Find\tCtrl+F", 32776, 0},
      {"&Pick\tCtrl+P", 32774, 0},
      {"Duplicates\tCtrl+D", 32779, 0},
      {"-", 0, MF_SEPARATOR},
      {"&All\tCtrl+A", 32775, 0},
      {"&Options", 0, MF_POPUP},
      {"Save settings on exit", 32782, 0},
      {"-", 0, MF_SEPARATOR},
      {"Register .qdx file type", 32781, 0},
      {"Unregister .qdx file type", 32784, 0},
      {"&Help", 0, MF_POPUP},
      {"Online help", 32783, 0},
      {"-", 0, MF_SEPARATOR},
      {"&About", 32771, 0},
  };
  EXPECT_EQ(Rows(*bar), expected);
}

TEST(CommandTable, TheAcceleratorTableIsAsItWas) {
  RegisterResources(&ProgramResources());
  const AcceleratorTemplate* table = LoadAccelerators(IDR_ACCELERATORS);
  ASSERT_NE(table, nullptr);
  constexpr BYTE kCtrl = FVIRTKEY | FCONTROL | FNOINVERT;
  const std::vector<std::vector<int>> expected = {
      {kCtrl, 'A', 32775},
      {kCtrl, 'D', 32779},
      {kCtrl, 'F', 32776},
      {kCtrl, 'H', 32780},
      {kCtrl, 'I', 32778},
      {kCtrl, 'O', 57601},
      {kCtrl | ACCEL_END, 'P', 32774},
  };
  std::vector<std::vector<int>> entries;
  for (const ACCEL& entry : table->entries)
    entries.push_back({entry.fVirt, entry.key, entry.cmd});
  EXPECT_EQ(entries, expected);
}

// The help table's rows in stored order: those it has always had first, unchanged, and then those
// of the list's commands and the recent files; the end record last.
TEST(CommandTable, TheHelpTableKeepsItsRowsAndAddsTheListsCommands) {
  struct Expected {
    uint8_t needsFile;
    int32_t id;
    std::string text;
  };
  const std::vector<Expected> first = {
      {0, 32772, "Quits the program. :-("},
      {0, 57601, "Opens a .qdx file."},
      {1, 32775, "Shows all items in the current file."},
      {1, 32779, "Picks all items that is identical to at least on other item."},
      {1, 32776, "Searches for a specific text in a column."},
      {1, 32780,
       "Turns headers on and of.\nThe headers are determined by\nthe first line in the file."},
      {1, 32778, "Displays some info about the current file."},
      {1, 32774, "Removes all items not matching a specified criteria."},
      {0, 32782, "If selected, the program will automatically\nsave its options when exiting."},
      {0, 32781,
       "If this option is selected, Lintaro will be associated with .qdx files.\nWhen you "
       "double-click a .qdx file Lintaro will display the file."},
      {0, 32784,
       "Removes the registry information added\nby the \"Register .qdx file type\" function."},
  };
  // The recent files open with no file open.
  const std::pair<unsigned, uint8_t> added[] = {{ID_EDIT_COPY_ROW, 1},  {ID_EDIT_COPY_ROWS, 1},
                                                {ID_FILE_SAVE_ROWS, 1}, {ID_VIEW_ROW_DETAILS, 1},
                                                {ID_VIEW_GO_TO_ROW, 1}, {ID_VIEW_FIND_NEXT, 1},
                                                {ID_FILE_MRU_FILE1, 0}, {ID_FILE_MRU_FILE2, 0},
                                                {ID_FILE_MRU_FILE3, 0}, {ID_FILE_MRU_FILE4, 0}};
  const HelpEntry* entry = HelpTable::entries;
  for (const Expected& row : first) {
    EXPECT_EQ(entry->needsFile, row.needsFile) << row.text;
    EXPECT_EQ(entry->commandId, row.id) << row.text;
    EXPECT_EQ(std::string(entry->text), row.text);
    ++entry;
  }
  for (const auto& [id, needsFile] : added) {
    EXPECT_EQ(entry->commandId, static_cast<int32_t>(id));
    EXPECT_EQ(entry->needsFile, needsFile);
    EXPECT_NE(std::string(entry->text), "");
    ++entry;
  }
  EXPECT_EQ(entry->commandId, -1);
  uint8_t needsFile = 9;
  EXPECT_STREQ(HelpTable().Lookup(ID_HELP_ABOUT, &needsFile), "No help available for this option.");
  EXPECT_EQ(needsFile, 0);
}

std::string KeyName(const ListKey& key) {
  std::string name = std::string(key.ctrl ? "Ctrl+" : "") + (key.shift ? "Shift+" : "");
  if (key.key >= VK_F1 && key.key <= VK_F12)
    return name + "F" + std::to_string(key.key - VK_F1 + 1);
  return name + static_cast<char>(key.key);
}

// Every command with a key of the list is in the list's context menu, once, showing that key, and
// the menu holds no other command; no key of the list is one that the accelerator table takes.
TEST(CommandTable, TheListsCommandsAreInItsMenuWithTheirKeys) {
  QuietBackend backend;
  std::unique_ptr<CMenu> menu = Load(IDR_LIST_MENU);
  ASSERT_NE(menu, nullptr);
  ASSERT_NE(menu->GetSubMenu(0), nullptr);
  std::multiset<UINT> inMenu;
  for (const Row& row : Rows(*menu->GetSubMenu(0))) {
    if (row.text != "-")
      inMenu.insert(row.id);
  }
  std::set<std::vector<int>> keys;
  const AcceleratorTemplate* accelerators = LoadAccelerators(IDR_ACCELERATORS);
  for (const Command& command : kCommands) {
    const ListKey& key = command.listKey;
    if (key.key == 0) {
      EXPECT_EQ(inMenu.count(command.id), 0u) << command.name;
      continue;
    }
    SCOPED_TRACE(command.name);
    EXPECT_EQ(inMenu.count(command.id), 1u);
    std::string text = command.menuText;
    EXPECT_EQ(text.substr(text.find('\t') + 1), KeyName(key));
    EXPECT_EQ(command.ctrlKey, 0);
    EXPECT_TRUE(keys.insert({static_cast<int>(key.key), key.ctrl, key.shift}).second);
    for (const ACCEL& entry : accelerators->entries) {
      bool shift = (entry.fVirt & FSHIFT) != 0;
      EXPECT_FALSE(entry.key == key.key && key.ctrl && shift == key.shift);
    }
    EXPECT_EQ(FindCommandByListKey(key.key, key.ctrl, key.shift, false), &command);
    EXPECT_EQ(FindCommandByListKey(key.key, key.ctrl, key.shift, true), nullptr);
    EXPECT_EQ(FindCommandByListKey(key.key, !key.ctrl, key.shift, false), nullptr);
  }
  EXPECT_EQ(inMenu.size(), keys.size());
}

}  // namespace
