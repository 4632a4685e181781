#include "TestFiles.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <random>
#include <sstream>

#include "platform/Backend.h"
#include "platform/RegistryStore.h"
#include "tools/ScriptDriver.h"

namespace fs = std::filesystem;

#if defined(_WIN32)
namespace {
// Where every test store keeps its keys; nothing of it outlives the test program.
constexpr char kTestKeys[] = "Software\\Lintaro tests";

class TestKeysEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    native::RegistryKey::DeleteTree(native::RegistryRoot::CurrentUser, kTestKeys);
  }
  void TearDown() override { SetUp(); }
};
[[maybe_unused]] const auto* const testKeys =
    ::testing::AddGlobalTestEnvironment(new TestKeysEnvironment);
}  // namespace

WindowsRegistryStore TestRegistryStore(const std::string& name) {
  std::string base = std::string(kTestKeys) + "\\" + name;
  native::RegistryKey made;
  made.Create(native::RegistryRoot::CurrentUser, base + "\\HKCR");
  made.Create(native::RegistryRoot::CurrentUser, base + "\\HKCU");
  return WindowsRegistryStore({native::RegistryRoot::CurrentUser, base + "\\HKCR"},
                              {native::RegistryRoot::CurrentUser, base + "\\HKCU"});
}

TempDir::TempDir() {
  std::random_device random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path path = fs::temp_directory_path() / ("lintaro-test-" + std::to_string(random()));
    if (fs::create_directory(path)) {
      root_ = fs::canonical(path);
      return;
    }
  }
  throw std::runtime_error("cannot make a temporary folder");
}
#else
TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "lintaro-test-XXXXXX").string();
  if (!mkdtemp(pattern.data()))
    throw std::runtime_error("cannot make a temporary folder");
  root_ = fs::canonical(pattern);
}
#endif

TempDir::~TempDir() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

std::string TempDir::Write(const std::string& name, std::string_view bytes) const {
  std::string path = Path(name);
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return path;
}

ScriptOutput RunScript(const TempDir& dir, const std::string& script) {
  fs::path before = fs::current_path();
#if defined(_WIN32)
  WindowsRegistryStore store = TestRegistryStore(dir.Root().filename().string());
  SetRegistryStore(&store);
#else
  fs::create_directories(dir.Root() / "cfg");
  std::string config = (dir.Root() / "cfg").string();
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  std::string data = (dir.Root() / "data").string();
  setenv("XDG_DATA_HOME", data.c_str(), 1);
  ResetRegistryStore();
#endif
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
#if defined(_WIN32)
  SetRegistryStore(nullptr);
#endif
  fs::current_path(before);
  result.out = out.str();
  result.err = err.str();
  return result;
}
