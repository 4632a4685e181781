// One root's keys as registry-export text, which people can read and edit:
//
//   Windows Registry Editor Version 5.00
//
//   [HKEY_CURRENT_USER\Software\Example]
//   "Config"=hex:6e,00,00,00,...
//   "Config - SIZE"=dword:00000034
//   @="Example file"
//
// Every key has its own block (so a key without values is kept), parents before children, in name
// order. A REG_SZ of printable ASCII ending in one NUL is written as a quoted string, a REG_DWORD
// of 4 bytes as dword:, REG_BINARY as hex:, anything else as hex(type):. Long hex lines are
// continued with '\'.
#pragma once

#include <string>
#include <string_view>

#include "platform/RegistryNode.h"
#include "platform/RegistryStore.h"

std::string FormatRegistryText(RegistryRoot root, const RegistryNode& top);

// Reads the text of that root into `top`. Line ends may be LF or CR LF, and any line that ends in
// '\' goes on in the next one. False when the text is not such an export, or names another root.
bool ParseRegistryText(std::string_view text, RegistryRoot root, RegistryNode* top);
