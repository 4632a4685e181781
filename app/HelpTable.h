// The help text of every command, and whether the command needs a loaded file.
#pragma once

#include <cstdint>

struct HelpEntry {
  uint8_t needsFile;
  int32_t commandId;
  const char* text;
};

class HelpTable {
 public:
  // The command's help text; `needsFile` is set from its row, or to 0 for an unknown command.
  const char* Lookup(int commandId, uint8_t* needsFile) const;

  // The rows in stored order, the end record (command id -1) last.
  static const HelpEntry* const entries;
};
