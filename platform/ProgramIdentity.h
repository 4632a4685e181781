// The names under which the program keeps its settings and shows itself to a freedesktop.org
// desktop. The program hands them in before it runs, as an application object names itself: the
// platform knows no program of its own.
#pragma once

struct ProgramIdentity {
  const char* settingsFolder = "";  // below $XDG_CONFIG_HOME, where the registry's files live
  const char* displayName = "";     // the name that a desktop shows for the program
  const char* desktopEntry = "";    // the file name of the desktop entry
  const char* iconName = "";        // the icon's name in the icon theme
  const char* mimePackage = "";     // the file name of the shared-mime-info package
};

// The names stay the caller's; they must live as long as the program runs.
void SetProgramIdentity(const ProgramIdentity& identity);
// The names handed in; all empty before that, and then no settings are kept.
const ProgramIdentity& GetProgramIdentity();
