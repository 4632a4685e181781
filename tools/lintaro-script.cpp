// lintaro-script [--desktop] [SCRIPT]: runs the viewer and plays a user from a script, headless,
// or with --desktop in the desktop program's real windows.
#include <fstream>
#include <iostream>
#include <string>

#include "tools/DesktopPlay.h"
#include "tools/ScriptDriver.h"

int main(int argc, char** argv) {
  int next = 1;
  bool desktop = argc > next && std::string(argv[next]) == "--desktop";
  next += desktop ? 1 : 0;
  if (argc > next + 1) {
    std::cerr << "usage: lintaro-script [--desktop] [SCRIPT]\n";
    return 1;
  }
  std::ifstream file;
  if (argc == next + 1) {
    file.open(argv[next], std::ios::binary);
    if (!file) {
      std::cerr << "lintaro-script: cannot read " << argv[next] << "\n";
      return 1;
    }
  }
  std::istream& script = file.is_open() ? static_cast<std::istream&>(file) : std::cin;
  if (desktop)
    return PlayOnDesktop(script, std::cout, std::cerr, argv[0]);
  ScriptDriver driver(script, std::cout, std::cerr, argv[0]);
  return driver.Run();
}
