#include "tools/LintaroScript.h"

#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "app/Commands.h"
#include "app/Version.h"
#include "platform/Module.h"
#include "tools/ScriptDriver.h"
#include "tools/ScriptParser.h"

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

namespace {

constexpr char kUsage[] = "usage: lintaro-script [--desktop] [SCRIPT]\n";

// The words as a list that wraps before 80 columns, each line indented by two blanks.
std::string WrappedList(const std::vector<std::string_view>& words) {
  std::string text, line(1, ' ');
  for (size_t i = 0; i < words.size(); ++i) {
    std::string_view comma = i + 1 < words.size() ? "," : "";
    if (line.size() + 1 + words[i].size() + comma.size() > 78) {
      text.append(line).push_back('\n');
      line.assign(1, ' ');
    }
    line.append(1, ' ').append(words[i]).append(comma);
  }
  return text.append(line).append(1, '\n');
}

void PrintHelp(std::ostream& out) {
  std::vector<std::string_view> menuNames;
  for (const Command& command : kCommands)
    menuNames.push_back(command.name);
  out << kUsage << "       lintaro-script --help | --version\n"
      << "\n"
         "Runs the Lintaro viewer without a display and plays a user from SCRIPT, or from\n"
         "standard input, one step a line; prints a line for each thing the user would see.\n"
         "\n"
         "  --desktop   play the script in the desktop program's real windows\n"
         "  --help      print this help and exit\n"
         "  --version   print the version and exit\n"
         "\n"
         "Steps and answers:\n"
      << WrappedList(StepVerbs()) << "Menu items (menu <ID>):\n"
      << WrappedList(menuNames)
      << "\n"
         "Exit status: 0 when every step ran, 2 for a line that cannot be parsed,\n"
         "1 when the driver itself fails. A script file named --help runs as ./--help.\n"
         "The steps, answers and output lines are described in lintaro-script(1).\n";
}

// --help and --version anywhere on the command line, as command-line tools take them: true when
// one was given and answered.
bool AnswerInformationOption(int argc, char** argv, std::ostream& out) {
  for (int i = 1; i < argc; ++i) {
    std::string_view argument = argv[i];
    if (argument == "--help") {
      PrintHelp(out);
      return true;
    }
    if (argument == "--version") {
      out << "lintaro-script " LINTARO_VERSION
             "\n"
             "Copyright (c) 2026 Quorvel. MIT License.\n";
      return true;
    }
  }
  return false;
}

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
  if (AnswerInformationOption(argc, argv, std::cout))
    return 0;
  int next = 1;
  bool desktop = argc > next && std::string(argv[next]) == "--desktop";
  next += desktop ? 1 : 0;
  if (argc > next + 1) {
    std::cerr << kUsage;
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
