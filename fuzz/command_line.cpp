// The command line on any bytes: the application's command line that start-up takes from the
// process's, and the path that the program takes from that. Any path the shell passes in quotes
// comes back as it was.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/CommandLinePath.h"
#include "platform/App.h"

namespace {

void Require(bool condition, const char* what) {
  if (condition)
    return;
  std::fprintf(stderr, "command_line: %s\n", what);
  std::abort();
}

bool IsBlankOrControl(char c) {
  auto byte = static_cast<unsigned char>(c);
  return byte >= 0x01 && byte <= 0x20;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);

  // Any process command line: what follows the program name, never beginning with a blank.
  std::string line = ApplicationCommandLine(bytes);
  Require(line.size() <= bytes.size(), "no longer than the process's");
  Require(bytes.compare(bytes.size() - line.size(), line.size(), line) == 0, "a tail of it");
  Require(line.empty() || !IsBlankOrControl(line.front()), "blanks after the name skipped");
  std::string path = CommandLinePath(line);
  Require(line.find(path) != std::string::npos, "the path lies in the line");

  // The bytes as the path that the shell passes, quoted, after a quoted or a plain program name.
  for (const char* program : {"\"C:\\Program Files\\Lintaro\\lintaro.exe\"", "lintaro"}) {
    std::string quoted = std::string(program) + " \"" + bytes + "\"";
    Require(CommandLinePath(ApplicationCommandLine(quoted)) == bytes, "quoted path comes back");
  }
  return 0;
}
