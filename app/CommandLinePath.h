// The file path that the program takes from its command line.
#pragma once

#include <string>

// The whole command line, spaces included, less one double quote at its start and one at its end
// where they are: what the shell passes for a quoted path. Blanks are not trimmed.
std::string CommandLinePath(const std::string& commandLine);
