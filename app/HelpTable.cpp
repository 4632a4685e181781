#include "app/HelpTable.h"

#include <array>
#include <cstddef>

#include "app/Commands.h"
#include "app/Strings.h"

namespace {
constexpr size_t CountHelpRows() {
  size_t rows = 0;
  for (const Command& command : kCommands)
    rows += command.helpText ? 1 : 0;
  return rows;
}

constexpr auto MakeEntries() {
  std::array<HelpEntry, CountHelpRows() + 1> entries{};
  size_t row = 0;
  for (const Command& command : kCommands) {
    if (command.helpText)
      entries[row++] = {command.needsFile, static_cast<int32_t>(command.id), command.helpText};
  }
  entries[row] = {0, -1, ""};
  return entries;
}

constexpr auto kEntries = MakeEntries();
}  // namespace

const HelpEntry* const HelpTable::entries = kEntries.data();

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
