// The registry's files: their exact text, what a person may have edited in them, a damaged file
// that must not be lost, a folder that cannot be written, and saving that goes wrong half-way (a
// process killed before its new file is in place, a full disk). Several processes changing the
// files at once are in tests/reliability/eight_instances.py.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "ScratchRegistry.h"
#include "platform/Registry.h"
#include "platform/posix/DurableFile.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kKey = "Software\\Lintaro";

void WriteText(const std::string& path, const std::string& text) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(RegistryFile, HoldsEachRootAsRegistryExportText) {
  Bytes image(52, 0xFF);
  for (BYTE i = 0; i < 20; ++i)
    image[i] = i;
  const struct {
    HKEY root;
    const char* path;
    const char* name;
    DWORD type;
    Bytes data;
  } writes[] = {
      {HKEY_CURRENT_USER, kKey, "Config", REG_BINARY, image},
      {HKEY_CURRENT_USER, kKey, "Config - SIZE", REG_DWORD, {0x34, 0, 0, 0}},
      {HKEY_CURRENT_USER, "", "Top", REG_DWORD, {1, 0, 0, 0}},
      {HKEY_CURRENT_USER, "Odd", "", REG_SZ, B("say \"hi\" \\o/\0")},
      {HKEY_CURRENT_USER, "Odd", "high", REG_SZ, B("\xE9\0")},
      {HKEY_CURRENT_USER, "Odd", "no nul", REG_SZ, B("ab")},
      {HKEY_CURRENT_USER, "Odd", "two nuls", REG_SZ, B("a\0\0")},
      {HKEY_CURRENT_USER, "Odd", "tab", REG_SZ, B("\t\0")},
      {HKEY_CURRENT_USER, "Odd", "short dword", REG_DWORD, {1, 2, 3}},
      {HKEY_CURRENT_USER, "Odd", "big type", 0x2A, {}},
      {HKEY_CURRENT_USER, "Odd", "empty", REG_BINARY, {}},
      {HKEY_CURRENT_USER, "Odd", "\"q\\", REG_SZ, B("\0")},
      {HKEY_CLASSES_ROOT, ".qdx\\shell", "", REG_SZ, B("C:\\x\0")},
  };
  ScratchRegistry registry;
  for (const auto& w : writes)
    ASSERT_EQ(SetRegistryValue(w.root, w.path, w.name, w.type, w.data), ERROR_SUCCESS) << w.name;
  HKEY key = nullptr;
  ASSERT_EQ(
      RegCreateKeyExA(HKEY_CURRENT_USER, "Empty", 0, "", 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
      ERROR_SUCCESS);
  RegCloseKey(key);

  EXPECT_EQ(ReadText(registry.File("HKEY_CURRENT_USER")),
            "Windows Registry Editor Version 5.00\n"
            "\n"
            "[HKEY_CURRENT_USER]\n"
            "\"Top\"=dword:00000001\n"
            "\n"
            "[HKEY_CURRENT_USER\\Empty]\n"
            "\n"
            "[HKEY_CURRENT_USER\\Odd]\n"
            "@=\"say \\\"hi\\\" \\\\o/\"\n"
            "\"\\\"q\\\\\"=\"\"\n"
            "\"big type\"=hex(2a):\n"
            "\"empty\"=hex:\n"
            "\"high\"=hex(1):e9,00\n"
            "\"no nul\"=hex(1):61,62\n"
            "\"short dword\"=hex(4):01,02,03\n"
            "\"tab\"=hex(1):09,00\n"
            "\"two nuls\"=hex(1):61,00,00\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software]\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software\\Lintaro]\n"
            "\"Config\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,ff,ff,\\\n"
            "  ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,\\\n"
            "  ff,ff,ff,ff,ff\n"
            "\"Config - SIZE\"=dword:00000034\n"
            "\n");
  EXPECT_EQ(ReadText(registry.File("HKEY_CLASSES_ROOT")),
            "Windows Registry Editor Version 5.00\n\n[HKEY_CLASSES_ROOT\\.qdx]\n\n"
            "[HKEY_CLASSES_ROOT\\.qdx\\shell]\n@=\"C:\\\\x\"\n\n");

  // And it reads back as written.
  for (const auto& w : writes) {
    std::optional<RegistryValue> value = GetRegistryValue(w.root, w.path, w.name);
    ASSERT_TRUE(value) << w.name;
    EXPECT_EQ(value->type, w.type) << w.name;
    EXPECT_EQ(value->data, w.data) << w.name;
  }
}

TEST(RegistryFile, ReadsWhatAPersonMayHaveEdited) {
  ScratchRegistry registry;
  WriteText(registry.File(),
            "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
            "\r\n"
            "; a comment\r\n"
            "[hkey_current_user\\Software\\Lintaro]\r\n"
            "\"Config\" = hex:6E,00,\\\r\n"
            "      00 , 00,\\\r\n"
            "\t08\r\n"
            "   \r\n"
            "\"Config - SIZE\"=dword:34\r\n"
            "[HKEY_CURRENT_USER\\software\\LINTARO]\r\n"
            "@=\"a\\\\b\"\r\n"
            "\"odd\"=hex(0B):1,2,\r\n");
  const struct {
    const char* name;
    DWORD type;
    Bytes data;
  } expected[] = {
      {"Config", REG_BINARY, {0x6E, 0, 0, 0, 8}},
      {"Config - SIZE", REG_DWORD, {0x34, 0, 0, 0}},
      {"", REG_SZ, B("a\\b\0")},
      {"odd", 0x0B, {1, 2}},
  };
  for (const auto& e : expected) {
    std::optional<RegistryValue> value = GetRegistryValue(HKEY_CURRENT_USER, kKey, e.name);
    ASSERT_TRUE(value) << e.name;
    EXPECT_EQ(value->type, e.type) << e.name;
    EXPECT_EQ(value->data, e.data) << e.name;
  }
  RegistryListing listing;
  ASSERT_EQ(RegListKey(HKEY_CURRENT_USER, "Software", &listing), ERROR_SUCCESS);
  EXPECT_EQ(listing.subkeys, std::vector<std::string>{"Lintaro"});
}

TEST(RegistryFile, ADamagedFileIsKeptAsideAndNeverWrittenOver) {
  const std::string header = "Windows Registry Editor Version 5.00\n\n";
  const std::string damaged[] = {
      "",
      "[HKEY_CURRENT_USER\\Software]\n",  // no header
      header + "\"v\"=hex:01\n",
      header + "[HKEY_CLASSES_ROOT\\Software]\n",
      header + "[HKEY_CURRENT_USER\\Software]\n\"v\"=hex:1g\n",
      header + "[HKEY_CURRENT_USER\\Software]\n\"v\"=dword:123456789\n",
      header + "[HKEY_CURRENT_USER\\Software]\n\"v=\"x\"\n",
      header + "[HKEY_CURRENT_USER\\\\Software]\n",
  };
  for (const std::string& text : damaged) {
    SCOPED_TRACE(text);
    ScratchRegistry registry;
    WriteText(registry.File(), text);
    // Reading sees no keys, and a change that changes nothing leaves the file alone.
    EXPECT_FALSE(HasRegistryKey(HKEY_CURRENT_USER, "Software"));
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Software"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(Names(registry.Folder()), std::vector<std::string>{"HKEY_CURRENT_USER.reg"});
    EXPECT_EQ(ReadText(registry.File()), text);
    // The first change moves it aside, then writes.
    ASSERT_EQ(SetRegistryValue(HKEY_CURRENT_USER, "New", "v", REG_BINARY, {1}), ERROR_SUCCESS);
    std::vector<std::string> names = Names(registry.Folder());
    ASSERT_EQ(names.size(), 2u);
    EXPECT_TRUE(names[1].starts_with("HKEY_CURRENT_USER.reg.damaged-")) << names[1];
    EXPECT_EQ(ReadText(registry.Folder() + "/" + names[1]), text);
    EXPECT_TRUE(GetRegistryValue(HKEY_CURRENT_USER, "New", "v"));
  }
  // A second damaged file in the same second goes beside the first one, not over it.
  ScratchRegistry registry;
  for (const char* text : {"first", "second"}) {
    WriteText(registry.File(), text);
    ASSERT_EQ(SetRegistryValue(HKEY_CURRENT_USER, text, "v", REG_BINARY, {1}), ERROR_SUCCESS);
  }
  std::vector<std::string> texts;
  for (const std::string& name : Names(registry.Folder())) {
    if (name.starts_with("HKEY_CURRENT_USER.reg.damaged-"))
      texts.push_back(ReadText(registry.Folder() + "/" + name));
  }
  std::sort(texts.begin(), texts.end());
  EXPECT_EQ(texts, (std::vector<std::string>{"first", "second"}));
}

// Nothing stays that holds nothing: a key emptied by the delete of its last subkey goes with it
// (but not the one a handle holds open), a root without keys has no file, and the folder goes
// with its last file. Nor does the lock file stay once the lock is free.
TEST(RegistryFile, NothingIsLeftThatHoldsNothing) {
  ScratchRegistry registry;
  ASSERT_EQ(SetRegistryValue(HKEY_CURRENT_USER, kKey, "Config", REG_BINARY, {1}), ERROR_SUCCESS);
  ASSERT_EQ(SetRegistryValue(HKEY_CURRENT_USER, "Kept\\Sub", "v", REG_BINARY, {1}), ERROR_SUCCESS);
  ASSERT_EQ(SetRegistryValue(HKEY_CURRENT_USER, "Kept", "v", REG_BINARY, {2}), ERROR_SUCCESS);
  EXPECT_EQ(Names(registry.Folder()), std::vector<std::string>{"HKEY_CURRENT_USER.reg"});
  EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, kKey), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Kept\\Sub"), ERROR_SUCCESS);
  EXPECT_EQ(ReadText(registry.File()),
            "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Kept]\n\"v\"=hex:02\n\n");

  HKEY open = nullptr;
  ASSERT_EQ(SetRegistryValue(HKEY_CURRENT_USER, "Open\\Sub", "v", REG_BINARY, {1}), ERROR_SUCCESS);
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Open", 0, KEY_ALL_ACCESS, &open), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKeyA(open, "Sub"), ERROR_SUCCESS);
  EXPECT_TRUE(HasRegistryKey(HKEY_CURRENT_USER, "Open"));
  RegCloseKey(open);

  EXPECT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, nullptr), ERROR_SUCCESS);
  EXPECT_FALSE(fs::exists(registry.Folder()));
}

// A registry file that the user keeps elsewhere through a link stays a link; the change, and the
// setting aside of a damaged file, happen at the link's target.
TEST(RegistryFile, ALinkedFileStaysALink) {
  ScratchRegistry registry;
  WriteText(registry.Dir().Path("dotfiles/current-user.reg"), "damaged");
  fs::create_directories(registry.Folder());
  fs::create_symlink("../../dotfiles/current-user.reg", registry.File());
  ASSERT_EQ(SetRegistryValue(HKEY_CURRENT_USER, kKey, "Config", REG_BINARY, {1}), ERROR_SUCCESS);
  EXPECT_TRUE(fs::is_symlink(registry.File()));
  EXPECT_TRUE(GetRegistryValue(HKEY_CURRENT_USER, kKey, "Config"));
  std::vector<std::string> kept = Names(registry.Dir().Path("dotfiles"));
  ASSERT_EQ(kept.size(), 2u);
  EXPECT_TRUE(kept[1].starts_with("current-user.reg.damaged-")) << kept[1];
}

TEST(RegistryFile, AFolderThatCannotBeWrittenSavesNothingAndSaysNothing) {
  struct {
    const char* what;
    const char* config;   // XDG_CONFIG_HOME below the scratch folder
    const char* blocker;  // a plain file where a folder would have to be
  } const cases[] = {
      {"the configuration folder lies under a file", "file/config", "file"},
      {"the program's folder is a file", "config", "config/lintaro"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchRegistry registry(c.config);
    WriteText(registry.Dir().Path(c.blocker), "not a folder");
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    HKEY key = nullptr;
    LSTATUS created =
        RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, "", 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    LSTATUS set = SetRegistryValue(HKEY_CLASSES_ROOT, ".qdx", "", REG_SZ, B("QDX file\0"));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_NE(created, ERROR_SUCCESS);
    EXPECT_NE(set, ERROR_SUCCESS);
    EXPECT_FALSE(HasRegistryKey(HKEY_CURRENT_USER, "Software"));
    EXPECT_EQ(ReadText(registry.Dir().Path(c.blocker)), "not a folder");
  }
}

TEST(RegistryFile, KilledBeforeTheRenameLeavesTheOldFileWhole) {
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
            (std::vector<std::string>{".HKEY_CURRENT_USER.reg.backup", "HKEY_CURRENT_USER.reg"}));
}

// On a small tmpfs (mounting one needs root) that is then filled up.
TEST(RegistryFile, AFullDiskLeavesTheOldFileWhole) {
  ScratchRegistry registry;
  const std::string folder = registry.Dir().Path("config");
  fs::create_directories(folder);
  if (mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=256k") != 0)
    GTEST_SKIP() << "cannot mount a tmpfs here (not root?)";
  struct Unmount {
    std::string folder;
    ~Unmount() { umount2(folder.c_str(), MNT_DETACH); }
  } unmount{folder};
  ASSERT_EQ(SetRegistryValue(HKEY_CURRENT_USER, kKey, "Config", REG_BINARY, {1, 2, 3}),
            ERROR_SUCCESS);
  const std::string before = ReadText(registry.File());
  const std::vector<std::string> files = Names(registry.Folder());
  {
    std::ofstream filler(folder + "/filler", std::ios::binary);
    const std::string block(4096, 'x');
    while (filler.write(block.data(), static_cast<std::streamsize>(block.size())) &&
           filler.flush()) {
    }
  }
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
