// Reads the file types that the keys under HKEY_CLASSES_ROOT define: ".<extension>" names a type
// key, whose value is the description; its DefaultIcon says "<file>,<index>", and the command of
// its default verb starts a program with the file's path.
#pragma once

#include <string>
#include <vector>

#include "platform/posix/DesktopFileType.h"

// Every extension whose type key exists, in name order. The icon is the program's own icon that
// the DefaultIcon's index names. The program is the one a command of the form `"<program>" %1`
// or `<program> %1` starts (with %1 quoted or not); any other command opens nothing here.
std::vector<DesktopFileType> ReadRegisteredFileTypes();

// The program that a command value starts with the file's path, or empty.
std::string ProgramOfCommand(const std::string& command);
