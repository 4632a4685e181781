// Runs a helper program of the desktop, if it is installed, without letting it print.
#pragma once

#include <string>
#include <vector>

// Runs the program (found on PATH) with these arguments and waits for it; its input and output
// go nowhere. False when it cannot be started or does not end with status 0.
bool RunQuietly(const std::vector<std::string>& arguments);
