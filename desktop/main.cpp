// lintaro [FILE]: the desktop viewer.
#include <QApplication>
#include <string>
#include <vector>

#include "desktop/QtProgram.h"
#include "platform/qt/QtBackend.h"

int main(int argc, char** argv) {
  static char fallbackName[] = "lintaro";
  std::string programPath = argc > 0 && argv[0] ? argv[0] : fallbackName;
  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i)
    arguments.emplace_back(argv[i]);
  // Every argument is part of the file path, so Qt is shown none of them: a file named
  // "-style" must not restyle the program.
  int qtArgc = 1;
  char* qtArgv[] = {argc > 0 && argv[0] ? argv[0] : fallbackName, nullptr};
  QApplication application(qtArgc, qtArgv);
  QtBackend backend;
  return QtProgram::Run(backend, programPath, arguments);
}
