#include "desktop/QtProgram.h"

#include "app/ViewerApp.h"
#include "platform/App.h"
#include "platform/qt/QtBackend.h"

std::string QtProgram::ProcessCommandLine(const std::string& programPath,
                                          const std::vector<std::string>& arguments) {
  // The program name ends at the first blank unless it is quoted, so a name with blanks is
  // quoted; a quote inside it could not be, and it only has to be skipped, so it goes.
  std::string name;
  bool blank = programPath.empty();
  for (char c : programPath) {
    if (c == '"')
      continue;
    blank = blank || static_cast<unsigned char>(c) <= 0x20;
    name += c;
  }
  std::string line = blank ? "\"" + name + "\"" : name;
  for (const std::string& argument : arguments)
    line += " " + argument;
  return line;
}

int QtProgram::Run(QtBackend& backend, const std::string& programPath,
                   const std::vector<std::string>& arguments) {
  ViewerApp::Instance();
  return AfxWinMain(backend, programPath, ProcessCommandLine(programPath, arguments));
}
