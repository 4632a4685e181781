// lintaro-script [SCRIPT]: runs the viewer headless and plays a user from a script.
#include <fstream>
#include <iostream>

#include "tools/ScriptDriver.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

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
  ScriptDriver driver(script, std::cout, std::cerr, argv[0]);
  return driver.Run();
}
