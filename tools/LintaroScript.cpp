#include "tools/LintaroScript.h"

#include <fstream>
#include <iostream>
#include <string>

#include "platform/Module.h"
#include "tools/ScriptDriver.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

namespace {

// The program that this one plays is the desktop viewer beside it, so what it registers as the
// handler of .qdx files is the viewer, as it is when the viewer itself registers.
void ActAsDesktopProgram() {
  std::string self(4096, '\0');
  DWORD length = GetModuleFileNameA(nullptr, self.data(), static_cast<DWORD>(self.size()));
  if (length == 0 || length >= self.size())
    return;
  self.resize(length);
#if defined(_WIN32)
  const char* viewer = "lintaro.exe";
#else
  const char* viewer = "lintaro";
#endif
  SetModuleFileName(self.substr(0, self.find_last_of("/\\") + 1) + viewer);
}

}  // namespace

int LintaroScript(int argc, char** argv, DesktopPlayer desktopPlayer) {
#if defined(_WIN32)
  // Bytes pass unchanged both ways: no CR before each LF written, and a script's CR or Ctrl+Z
  // (which text mode takes for the end) read as they are.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stdin), _O_BINARY);
#endif
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
  ActAsDesktopProgram();
  if (desktop && !desktopPlayer) {
    std::cerr << "lintaro-script: this build has no desktop program\n";
    return 1;
  }
  if (desktop)
    return desktopPlayer(script, std::cout, std::cerr, argv[0]);
  ScriptDriver driver(script, std::cout, std::cerr, argv[0]);
  return driver.Run();
}
