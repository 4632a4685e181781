// Every command of the program, declared once. The menu bar, the accelerator table, the list's
// context menu and keys, the help table and the script driver's command names are all built from
// this list.
#pragma once

#include <cstdint>
#include <string_view>

#include "app/Resource.h"
#include "platform/Win32.h"

// A key of the list, pressed with exactly these modifiers; key 0 is none. The list hears of every
// key that the accelerator table does not take.
struct ListKey {
  UINT key = 0;
  bool ctrl = false;
  bool shift = false;
};

struct Command {
  unsigned id;
  const char* name;      // the id's name, as a script writes it
  const char* menuText;  // "\t" comes before the key hint shown at the right
  char ctrlKey;          // the letter that runs it together with Ctrl; 0 for none
  uint8_t needsFile;     // 1: runs only while a file is loaded
  const char* helpText;  // null: not in the help table, which gives the default text
  ListKey listKey = {};
};

// The commands of the help table first, in its stored order.
inline constexpr Command kCommands[] = {
    {ID_FILE_EXIT, "ID_FILE_EXIT", "E&xit", 0, 0, "Quits the program. :-("},
    {ID_FILE_OPEN, "ID_FILE_OPEN", "&Open\tCtrl+O", 'O', 0, "Opens a .qdx file."},
    {ID_VIEW_ALL, "ID_VIEW_ALL", "&All\tCtrl+A", 'A', 1, "Shows all items in the current file."},
    {ID_VIEW_DUPLICATES, "ID_VIEW_DUPLICATES", "Duplicates\tCtrl+D", 'D', 1,
     "Picks all items that is identical to at least on other item."},
    {ID_VIEW_FIND, "ID_VIEW_FIND", "&Find\tCtrl+F", 'F', 1,
     "Searches for a specific text in a column."},
    {ID_VIEW_HEADERS, "ID_VIEW_HEADERS", "Headers\tCtrl+H", 'H', 1,
     "Turns headers on and of.\nThe headers are determined by\nthe first line in the file."},
    {ID_VIEW_INFO, "ID_VIEW_INFO", "Info\tCtrl+I", 'I', 1,
     "Displays some info about the current file."},
    {ID_VIEW_PICK, "ID_VIEW_PICK", "&Pick\tCtrl+P", 'P', 1,
     "Removes all items not matching a specified criteria."},
    {ID_OPTIONS_SAVE_SETTINGS, "ID_OPTIONS_SAVE_SETTINGS", "Save settings on exit", 0, 0,
     "If selected, the program will automatically\nsave its options when exiting."},
    {ID_OPTIONS_REGISTER, "ID_OPTIONS_REGISTER", "Register .qdx file type", 0, 0,
     "If this option is selected, Lintaro will be associated with .qdx files.\nWhen you "
     "double-click a .qdx file Lintaro will display the file."},
    {ID_OPTIONS_UNREGISTER, "ID_OPTIONS_UNREGISTER", "Unregister .qdx file type", 0, 0,
     "Removes the registry information added\nby the \"Register .qdx file type\" function."},
    // The list's commands: in its context menu, with keys of the list rather than accelerators.
    {ID_EDIT_COPY_ROW,
     "ID_EDIT_COPY_ROW",
     "&Copy row\tCtrl+C",
     0,
     1,
     "Copies the selected row to the clipboard, with a tab between its fields.",
     {'C', true, false}},
    {ID_EDIT_COPY_ROWS,
     "ID_EDIT_COPY_ROWS",
     "Copy &listed rows\tCtrl+Shift+C",
     0,
     1,
     "Copies the titles and every listed row to the clipboard,\nwith a tab between the fields.",
     {'C', true, true}},
    {ID_FILE_SAVE_ROWS,
     "ID_FILE_SAVE_ROWS",
     "&Save listed rows as...\tCtrl+S",
     0,
     1,
     "Saves the listed rows to a new .qdx file,\nas the open file has them.",
     {'S', true, false}},
    {ID_VIEW_ROW_DETAILS,
     "ID_VIEW_ROW_DETAILS",
     "Row &details\tCtrl+E",
     0,
     1,
     "Shows every field of the selected row beside its title.",
     {'E', true, false}},
    {ID_VIEW_GO_TO_ROW,
     "ID_VIEW_GO_TO_ROW",
     "&Go to row...\tCtrl+G",
     0,
     1,
     "Selects the listed row with the number you enter.",
     {'G', true, false}},
    {ID_VIEW_FIND_NEXT,
     "ID_VIEW_FIND_NEXT",
     "Find &next\tF3",
     0,
     1,
     "Searches again for the text of the last Find, below the selection.",
     {VK_F3, false, false}},
    // The recent files, under "Recent files" in the list's context menu. Their menu text is the
    // file's name, made when the menu opens; opening one needs no file open.
    {ID_FILE_MRU_FILE1, "ID_FILE_MRU_FILE1", nullptr, 0, 0,
     "Opens the file you opened last, as Open would."},
    {ID_FILE_MRU_FILE2, "ID_FILE_MRU_FILE2", nullptr, 0, 0,
     "Opens the second file of those you opened last, as Open would."},
    {ID_FILE_MRU_FILE3, "ID_FILE_MRU_FILE3", nullptr, 0, 0,
     "Opens the third file of those you opened last, as Open would."},
    {ID_FILE_MRU_FILE4, "ID_FILE_MRU_FILE4", nullptr, 0, 0,
     "Opens the fourth file of those you opened last, as Open would."},
    {ID_HELP_ONLINE, "ID_HELP_ONLINE", "Online help", 0, 0, nullptr},
    {ID_HELP_ABOUT, "ID_HELP_ABOUT", "&About", 0, 0, nullptr},
};

// The command with this id, found while compiling: an id without a command does not build.
consteval const Command& CommandOf(unsigned id) {
  for (const Command& command : kCommands) {
    if (command.id == id)
      return command;
  }
  throw "no such command";
}

// The list's command that this key runs, pressed with exactly these modifiers, or null.
inline const Command* FindCommandByListKey(UINT key, bool ctrl, bool shift, bool alt) {
  for (const Command& command : kCommands) {
    const ListKey& k = command.listKey;
    if (k.key != 0 && k.key == key && k.ctrl == ctrl && k.shift == shift && !alt)
      return &command;
  }
  return nullptr;
}

// The command whose script name this is, or null.
inline const Command* FindCommandByName(std::string_view name) {
  for (const Command& command : kCommands) {
    if (name == command.name)
      return &command;
  }
  return nullptr;
}
