// `lintaro-script --desktop`: plays a script on the desktop backend, for lintaro-script's main
// to hand to the script program (tools/LintaroScript.h).
#pragma once

#include <istream>
#include <ostream>
#include <string>

// Plays the script as lintaro-script does, with the program in its real windows; the exit status
// is lintaro-script's.
int PlayOnDesktop(std::istream& script, std::ostream& out, std::ostream& err,
                  const std::string& programPath);
