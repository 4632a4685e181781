// lintaro-script [--desktop] [SCRIPT]: runs the viewer and plays a user from a script, headless,
// or with --desktop in the desktop program's real windows. The program's main hands in the
// desktop's player where the build has one, so that the script driver knows no desktop.
#pragma once

#include <istream>
#include <ostream>
#include <string>

// Plays the script as lintaro-script does, with the program in its real windows; the exit status
// is lintaro-script's.
using DesktopPlayer = int (*)(std::istream& script, std::ostream& out, std::ostream& err,
                              const std::string& programPath);

// The whole of lintaro-script, from its arguments; `desktopPlayer` is null where the build has no
// desktop program. Returns the exit status.
int LintaroScript(int argc, char** argv, DesktopPlayer desktopPlayer);
