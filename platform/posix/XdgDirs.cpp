#include "platform/posix/XdgDirs.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

std::string XdgFolder(const char* variable, const char* belowHome) {
  const char* set = std::getenv(variable);
  if (set && set[0] == '/')
    return set;
  const char* home = std::getenv("HOME");
  if (!home || !*home) {
    const passwd* user = getpwuid(getuid());
    home = user ? user->pw_dir : nullptr;
  }
  if (!home || !*home)
    return std::string();
  return std::string(home) + "/" + belowHome;
}
