// The user's folders of the XDG Base Directory layout.
#pragma once

#include <string>

// $<variable> when it holds an absolute path, else <home>/<belowHome>; the home is $HOME, or the
// user's entry in the password database. Empty when there is no home.
std::string XdgFolder(const char* variable, const char* belowHome);

inline std::string XdgDataHome() {
  return XdgFolder("XDG_DATA_HOME", ".local/share");
}
inline std::string XdgConfigHome() {
  return XdgFolder("XDG_CONFIG_HOME", ".config");
}
