// lintaro-script [SCRIPT]: runs the viewer headless and plays a user from a script.
#include <fstream>
#include <iostream>

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

int main(int argc, char** argv) {
#if defined(_WIN32)
  // Bytes pass unchanged both ways: no CR before each LF written, and a script's CR or Ctrl+Z
  // (which text mode takes for the end) read as they are.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stdin), _O_BINARY);
#endif
  std::ifstream file;
  if (argc > 2) {
    std::cerr << "usage: lintaro-script [SCRIPT]\n";
    return 1;
  }
  if (argc == 2) {
    file.open(argv[1], std::ios::binary);
    if (!file) {
      std::cerr << "lintaro-script: cannot read " << argv[1] << "\n";
      return 1;
    }
  }
  std::istream& script = argc == 2 ? static_cast<std::istream&>(file) : std::cin;
  ActAsDesktopProgram();
  ScriptDriver driver(script, std::cout, std::cerr, argv[0]);
  return driver.Run();
}
