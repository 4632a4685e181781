// The script driver on any script: every line through the step parser, then the whole script
// played on the program, as a user who does anything at all in any order. The registry is kept in
// memory and starts empty each time; relative paths name the small tables of a scratch folder.
#include <stdlib.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/Backend.h"
#include "platform/MemoryRegistryStore.h"
#include "tools/ScriptDriver.h"
#include "tools/ScriptParser.h"

namespace {

struct Setup {
  MemoryRegistryStore store;
  std::string folder = "/tmp/lintaro-fuzz-XXXXXX";
  Setup() {
    SetRegistryStore(&store);
    if (!mkdtemp(folder.data()) || chdir(folder.c_str()) != 0)
      std::abort();
    std::ofstream("a.qdx", std::ios::binary) << "id;name;city\n1;Ann;Lund\n2;bo;Umea\n3;ann;Lund\n";
    const std::string withNul("x\r\n\r\n;;\n\0tail", 13);
    std::ofstream("b.qdx", std::ios::binary) << withNul;
  }
  ~Setup() {
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Setup setup;
  std::string text(reinterpret_cast<const char*>(data), size);

  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    ScriptStep step;
    ParseStep(line, step);
  }

  setup.store.Clear();
  std::istringstream script(text);
  std::ostringstream out, err;
  {
    ScriptDriver driver(script, out, err, "/opt/lintaro/lintaro");
    int status = driver.Run();
    if (status != 0 && status != 2)
      std::abort();
  }
  SetBackend(nullptr);
  return 0;
}
