// The registry's files when saving goes wrong half-way: a process killed between writing the new
// file and putting it in place, and a disk that fills up. The old file must stay whole and usable.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "ScratchRegistry.h"
#include "platform/Registry.h"
#include "platform/posix/DurableFile.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kKey = "Software\\Lintaro";

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(RegistryCrash, KilledBeforeTheRenameLeavesTheOldFileWhole) {
  ScratchRegistry registry;
  ASSERT_EQ(SetRegistryValue(HKEY_CURRENT_USER, kKey, "Config", REG_BINARY, {1, 2, 3}),
            ERROR_SUCCESS);
  const std::string before = ReadText(registry.File());

  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    SetBeforeReplaceHook([](const std::string&) { raise(SIGKILL); });
    SetRegistryValue(HKEY_CURRENT_USER, kKey, "Config", REG_BINARY, {9, 9, 9, 9});
    _exit(0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the hook never ran";

  EXPECT_EQ(ReadText(registry.File()), before);
  EXPECT_EQ(Names(registry.Folder()).size(), 3u) << "the new file was not written before the kill";
  std::optional<RegistryValue> value = GetRegistryValue(HKEY_CURRENT_USER, kKey, "Config");
  ASSERT_TRUE(value);
  EXPECT_EQ(value->data, (Bytes{1, 2, 3}));
  // The dead process's lock went with it, its half-done file is taken for no damage, and the next
  // change clears it away, but no file of the user's that looks like it.
  std::ofstream(registry.Folder() + "/.HKEY_CURRENT_USER.reg.backup") << "mine";
  alarm(30);
  EXPECT_EQ(SetRegistryValue(HKEY_CURRENT_USER, kKey, "Next", REG_BINARY, {4}), ERROR_SUCCESS);
  alarm(0);
  EXPECT_TRUE(GetRegistryValue(HKEY_CURRENT_USER, kKey, "Config"));
  EXPECT_EQ(Names(registry.Folder()),
            (std::vector<std::string>{".HKEY_CURRENT_USER.reg.backup", "HKEY_CURRENT_USER.reg",
                                      "registry.lock"}));
}

// A small tmpfs mounted for the test's life; needs root.
class SmallDisk {
 public:
  SmallDisk(const std::string& folder, const char* size) : folder_(folder) {
    fs::create_directories(folder);
    mounted_ = mount("tmpfs", folder.c_str(), "tmpfs", 0, size) == 0;
  }
  ~SmallDisk() {
    if (mounted_)
      umount2(folder_.c_str(), MNT_DETACH);
  }
  bool Mounted() const { return mounted_; }
  // Writes a file until the disk is full.
  void Fill() const {
    std::ofstream filler(folder_ + "/filler", std::ios::binary);
    const std::string block(4096, 'x');
    while (filler.write(block.data(), static_cast<std::streamsize>(block.size())) &&
           filler.flush()) {
    }
  }

 private:
  std::string folder_;
  bool mounted_ = false;
};

TEST(RegistryCrash, AFullDiskLeavesTheOldFileWhole) {
  ScratchRegistry registry;
  SmallDisk disk(registry.Dir().Path("config"), "size=256k");
  if (!disk.Mounted())
    GTEST_SKIP() << "cannot mount a tmpfs here (not root?)";
  ASSERT_EQ(SetRegistryValue(HKEY_CURRENT_USER, kKey, "Config", REG_BINARY, {1, 2, 3}),
            ERROR_SUCCESS);
  const std::string before = ReadText(registry.File());
  const std::vector<std::string> files = Names(registry.Folder());
  disk.Fill();

  const Bytes large(64 * 1024, 0xAB);
  EXPECT_NE(SetRegistryValue(HKEY_CURRENT_USER, kKey, "Config", REG_BINARY, large), ERROR_SUCCESS);
  EXPECT_NE(SetRegistryValue(HKEY_CURRENT_USER, "Other", "v", REG_BINARY, large), ERROR_SUCCESS);
  EXPECT_EQ(ReadText(registry.File()), before);
  EXPECT_EQ(Names(registry.Folder()), files) << "a temporary file was left behind";
  std::optional<RegistryValue> value = GetRegistryValue(HKEY_CURRENT_USER, kKey, "Config");
  ASSERT_TRUE(value);
  EXPECT_EQ(value->data, (Bytes{1, 2, 3}));
}

}  // namespace
