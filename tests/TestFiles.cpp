#include "TestFiles.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <sstream>

#include "platform/Backend.h"
#include "platform/RegistryStore.h"
#include "tools/ScriptDriver.h"

namespace fs = std::filesystem;

TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "lintaro-test-XXXXXX").string();
  if (!mkdtemp(pattern.data()))
    throw std::runtime_error("cannot make a temporary folder");
  root_ = fs::canonical(pattern);
}

TempDir::~TempDir() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

std::string TempDir::Write(const std::string& name, std::string_view bytes) const {
  std::string path = Path(name);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

std::vector<std::string> ScriptOutput::Lines() const {
  std::vector<std::string> lines;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

ScriptOutput RunScript(const TempDir& dir, const std::string& script) {
  fs::path before = fs::current_path();
  fs::create_directories(dir.Root() / "cfg");
  std::string config = (dir.Root() / "cfg").string();
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  std::string data = (dir.Root() / "data").string();
  setenv("XDG_DATA_HOME", data.c_str(), 1);
  ResetRegistryStore();
  fs::current_path(dir.Root());
  std::istringstream in(script);
  std::ostringstream out, err;
  ScriptOutput result;
  {
    ScriptDriver driver(in, out, err, "/opt/lintaro/lintaro");
    result.status = driver.Run();
  }
  // The driver was the backend; nothing may reach it once it is gone.
  SetBackend(nullptr);
  fs::current_path(before);
  result.out = out.str();
  result.err = err.str();
  return result;
}
