// The registry's files: their exact text, what a person may have edited in them, a damaged file
// that must not be lost, a folder that cannot be written, and two processes changing them at once.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "ScratchRegistry.h"
#include "platform/Registry.h"

namespace fs = std::filesystem;

namespace {

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteText(const std::string& path, const std::string& text) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

// The files in the folder whose names start with `prefix`.
std::vector<std::string> FilesStartingWith(const std::string& folder, const std::string& prefix) {
  std::vector<std::string> found;
  for (const auto& entry : fs::directory_iterator(folder)) {
    std::string name = entry.path().filename().string();
    if (name.starts_with(prefix))
      found.push_back(entry.path().string());
  }
  return found;
}

struct Write {
  HKEY root;
  const char* path;
  const char* name;
  DWORD type;
  Bytes data;
};

TEST(RegistryFile, HoldsEachRootAsRegistryExportText) {
  const Bytes image = {0x6E, 0,    0,    0,    8,    0,    0,    0,    0x2C, 0,    0,    0,    0,
                       0,    0,    0,    1,    0,    0,    0,    0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                       0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x64, 0,    0,
                       0,    0x64, 0,    0,    0,    0xF4, 1,    0,    0,    0x90, 1,    0,    0};
  const Write writes[] = {
      {HKEY_CURRENT_USER, "Software\\Lintaro", "Config", REG_BINARY, image},
      {HKEY_CURRENT_USER, "Software\\Lintaro", "Config - SIZE", REG_DWORD, {0x34, 0, 0, 0}},
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
      {HKEY_CLASSES_ROOT, ".qdx", "", REG_SZ, B("QDX file\0")},
      {HKEY_CLASSES_ROOT, "QDX file\\DefaultIcon", "", REG_SZ, B("C:\\Apps\\viewer.exe,0\0")},
      {HKEY_CLASSES_ROOT, "QDX file\\shell\\open\\command", "", REG_SZ,
       B("\"C:\\Apps\\viewer.exe\" %1\0")},
  };
  ScratchRegistry registry;
  for (const Write& w : writes)
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
            "\"Config\"=hex:6e,00,00,00,08,00,00,00,2c,00,00,00,00,00,00,00,01,00,00,00,ff,ff,\\\n"
            "  ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,ff,64,00,00,00,64,00,00,00,f4,01,00,\\\n"
            "  00,90,01,00,00\n"
            "\"Config - SIZE\"=dword:00000034\n"
            "\n");
  EXPECT_EQ(ReadText(registry.File("HKEY_CLASSES_ROOT")),
            "Windows Registry Editor Version 5.00\n"
            "\n"
            "[HKEY_CLASSES_ROOT\\.qdx]\n"
            "@=\"QDX file\"\n"
            "\n"
            "[HKEY_CLASSES_ROOT\\QDX file]\n"
            "\n"
            "[HKEY_CLASSES_ROOT\\QDX file\\DefaultIcon]\n"
            "@=\"C:\\\\Apps\\\\viewer.exe,0\"\n"
            "\n"
            "[HKEY_CLASSES_ROOT\\QDX file\\shell]\n"
            "\n"
            "[HKEY_CLASSES_ROOT\\QDX file\\shell\\open]\n"
            "\n"
            "[HKEY_CLASSES_ROOT\\QDX file\\shell\\open\\command]\n"
            "@=\"\\\"C:\\\\Apps\\\\viewer.exe\\\" %1\"\n"
            "\n");

  // And it reads back as written.
  for (const Write& w : writes) {
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
    std::optional<RegistryValue> value =
        GetRegistryValue(HKEY_CURRENT_USER, "Software\\Lintaro", e.name);
    ASSERT_TRUE(value) << e.name;
    EXPECT_EQ(value->type, e.type) << e.name;
    EXPECT_EQ(value->data, e.data) << e.name;
  }
  RegistryListing listing;
  ASSERT_EQ(RegListKey(HKEY_CURRENT_USER, "Software", &listing), ERROR_SUCCESS);
  EXPECT_EQ(listing.subkeys, std::vector<std::string>{"Lintaro"});
}

TEST(RegistryFile, ADamagedFileIsKeptAsideAndNeverWrittenOver) {
  const char* const damaged[] = {
      "garbage\n",
      "",
      "[HKEY_CURRENT_USER\\Software]\n",  // no header
      "Windows Registry Editor Version 5.00\n\n\"v\"=hex:01\n",
      "Windows Registry Editor Version 5.00\n\n[HKEY_CLASSES_ROOT\\Software]\n",
      "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software]\n\"v\"=hex:1g\n",
      "Windows Registry Editor Version "
      "5.00\n\n[HKEY_CURRENT_USER\\Software]\n\"v\"=dword:123456789\n",
      "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\Software]\n\"v=\"x\"\n",
      "Windows Registry Editor Version 5.00\n\n[-HKEY_CURRENT_USER\\Software]\n",
      "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\\\Software]\n",
  };
  for (const char* text : damaged) {
    SCOPED_TRACE(text);
    ScratchRegistry registry;
    WriteText(registry.File(), text);
    // Reading sees no keys and leaves the file alone.
    HKEY key = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_ALL_ACCESS, &key),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(ReadText(registry.File()), text);
    EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Software"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(ReadText(registry.File()), text);
    // The first change moves it aside, then writes.
    ASSERT_EQ(SetRegistryValue(HKEY_CURRENT_USER, "New", "v", REG_BINARY, {1}), ERROR_SUCCESS);
    std::vector<std::string> aside =
        FilesStartingWith(registry.Folder(), "HKEY_CURRENT_USER.reg.damaged-");
    ASSERT_EQ(aside.size(), 1u);
    EXPECT_EQ(ReadText(aside[0]), text);
    EXPECT_TRUE(GetRegistryValue(HKEY_CURRENT_USER, "New", "v"));
  }
  // A second damaged file in the same second goes beside the first one, not over it.
  ScratchRegistry registry;
  WriteText(registry.File(), "first");
  ASSERT_EQ(SetRegistryValue(HKEY_CURRENT_USER, "A", "v", REG_BINARY, {1}), ERROR_SUCCESS);
  WriteText(registry.File(), "second");
  ASSERT_EQ(SetRegistryValue(HKEY_CURRENT_USER, "B", "v", REG_BINARY, {1}), ERROR_SUCCESS);
  std::vector<std::string> texts;
  for (const std::string& file :
       FilesStartingWith(registry.Folder(), "HKEY_CURRENT_USER.reg.damaged-"))
    texts.push_back(ReadText(file));
  std::sort(texts.begin(), texts.end());
  EXPECT_EQ(texts, (std::vector<std::string>{"first", "second"}));
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
    LSTATUS created = RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Lintaro", 0, "", 0,
                                      KEY_ALL_ACCESS, nullptr, &key, nullptr);
    LSTATUS set = SetRegistryValue(HKEY_CLASSES_ROOT, ".qdx", "", REG_SZ, B("QDX file\0"));
    LSTATUS opened = RegOpenKeyExA(HKEY_CURRENT_USER, "Software", 0, KEY_ALL_ACCESS, &key);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_NE(created, ERROR_SUCCESS);
    EXPECT_NE(set, ERROR_SUCCESS);
    EXPECT_EQ(opened, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(ReadText(registry.Dir().Path(c.blocker)), "not a folder");
  }
}

TEST(RegistryFile, TwoProcessesChangingKeysAtOnceLoseNothing) {
  constexpr int kProcesses = 2;
  constexpr int kKeysEach = 25;
  ScratchRegistry registry;
  ASSERT_EQ(SetRegistryValue(HKEY_CURRENT_USER, "Before", "v", REG_BINARY, {1}), ERROR_SUCCESS);
  int gate[2];
  ASSERT_EQ(pipe(gate), 0);
  std::vector<pid_t> children;
  for (int p = 0; p < kProcesses; ++p) {
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      // Wait until every process is there, then change keys as fast as possible.
      close(gate[1]);
      char start;
      bool ok = read(gate[0], &start, 1) == 0;
      for (int k = 0; k < kKeysEach; ++k) {
        std::string path = "P" + std::to_string(p) + "\\K" + std::to_string(k);
        ok = SetRegistryValue(HKEY_CURRENT_USER, path.c_str(), "v", REG_DWORD,
                              {static_cast<BYTE>(k), 0, 0, 0}) == ERROR_SUCCESS &&
             ok;
      }
      _exit(ok ? 0 : 1);
    }
    children.push_back(child);
  }
  close(gate[0]);
  close(gate[1]);
  for (pid_t child : children) {
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  EXPECT_TRUE(GetRegistryValue(HKEY_CURRENT_USER, "Before", "v"));
  for (int p = 0; p < kProcesses; ++p) {
    for (int k = 0; k < kKeysEach; ++k) {
      std::string path = "P" + std::to_string(p) + "\\K" + std::to_string(k);
      std::optional<RegistryValue> value = GetRegistryValue(HKEY_CURRENT_USER, path.c_str(), "v");
      ASSERT_TRUE(value) << path;
      EXPECT_EQ(value->data[0], k) << path;
    }
  }
}

}  // namespace
