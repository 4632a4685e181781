#include "app/HelpTable.h"

#include "app/Resource.h"
#include "app/Strings.h"

const HelpEntry HelpTable::entries[] = {
    {0, ID_FILE_EXIT, "Quits the program. :-("},
    {0, ID_FILE_OPEN, "Opens a .qdx file."},
    {1, ID_VIEW_ALL, "Shows all items in the current file."},
    {1, ID_VIEW_DUPLICATES, "Picks all items that is identical to at least on other item."},
    {1, ID_VIEW_FIND, "Searches for a specific text in a column."},
    {1, ID_VIEW_HEADERS,
     "Turns headers on and of.\nThe headers are determined by\nthe first line in the file."},
    {1, ID_VIEW_INFO, "Displays some info about the current file."},
    {1, ID_VIEW_PICK, "Removes all items not matching a specified criteria."},
    {0, ID_OPTIONS_SAVE_SETTINGS,
     "If selected, the program will automatically\nsave its options when exiting."},
    {0, ID_OPTIONS_REGISTER,
     "If this option is selected, Lintaro will be associated with .qdx files.\nWhen you "
     "double-click a .qdx file Lintaro will display the file."},
    {0, ID_OPTIONS_UNREGISTER,
     "Removes the registry information added\nby the \"Register .qdx file type\" function."},
    {0, -1, ""},
};

const char* HelpTable::Lookup(int commandId, uint8_t* needsFile) const {
  for (const HelpEntry* entry = entries; entry->commandId != -1; ++entry) {
    if (entry->commandId == commandId) {
      *needsFile = entry->needsFile;
      return entry->text;
    }
  }
  *needsFile = 0;
  return kNoHelp;
}
