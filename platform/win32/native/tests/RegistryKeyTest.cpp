#include "platform/win32/native/RegistryKey.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/win32/native/ProgramPath.h"

namespace native {
namespace {

const char kBase[] = "Software\\LintaroNativeTests";

class RegistryKeyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegistryKey::DeleteTree(RegistryRoot::CurrentUser, kBase);
    ASSERT_TRUE(key.Create(RegistryRoot::CurrentUser, kBase));
  }
  void TearDown() override {
    key.Close();
    RegistryKey::DeleteTree(RegistryRoot::CurrentUser, kBase);
  }

  // The stored bytes and type, read past the shim.
  std::vector<uint8_t> RawValue(const char* name, DWORD* type) {
    BYTE buffer[256];
    DWORD size = sizeof buffer;
    HKEY raw = nullptr;
    EXPECT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kBase, 0, KEY_READ, &raw), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExA(raw, name, nullptr, type, buffer, &size), ERROR_SUCCESS);
    RegCloseKey(raw);
    return std::vector<uint8_t>(buffer, buffer + size);
  }

  RegistryKey key;
};

TEST_F(RegistryKeyTest, BinaryValuesComeBackByteForByte) {
  std::vector<uint8_t> record(52);
  for (size_t i = 0; i < record.size(); ++i)
    record[i] = static_cast<uint8_t>(255 - i * 5);
  const std::vector<uint8_t> cases[] = {record, {}, {0, 0, 0}, {0xFF}};
  for (const auto& data : cases) {
    ASSERT_TRUE(key.SetBinary("Config", data));
    std::vector<uint8_t> back{1, 2, 3};
    ASSERT_TRUE(key.GetBinary("Config", &back));
    EXPECT_EQ(back, data);
    DWORD type = 0;
    EXPECT_EQ(RawValue("Config", &type), data);
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  }
}

TEST_F(RegistryKeyTest, DwordIsStoredLittleEndian) {
  ASSERT_TRUE(key.SetDword("Config - SIZE", 0x01020334));
  DWORD type = 0;
  EXPECT_EQ(RawValue("Config - SIZE", &type), (std::vector<uint8_t>{0x34, 0x03, 0x02, 0x01}));
  EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
  uint32_t back = 0;
  ASSERT_TRUE(key.GetDword("Config - SIZE", &back));
  EXPECT_EQ(back, 0x01020334u);
}

TEST_F(RegistryKeyTest, ReadsRefuseMissingValuesAndOtherTypes) {
  ASSERT_TRUE(key.SetBinary("bin", {1, 2, 3, 4}));
  ASSERT_TRUE(key.SetString("", "QDX file"));
  uint32_t number = 7;
  std::vector<uint8_t> bytes;
  std::string text;
  EXPECT_FALSE(key.GetDword("bin", &number));
  EXPECT_EQ(number, 7u);
  EXPECT_FALSE(key.GetBinary("", &bytes));
  EXPECT_FALSE(key.GetString("bin", &text));
  EXPECT_FALSE(key.GetBinary("missing", &bytes));
  ASSERT_TRUE(key.GetString("", &text));
  EXPECT_EQ(text, "QDX file");
  ASSERT_TRUE(key.DeleteValue("bin"));
  EXPECT_FALSE(key.GetBinary("bin", &bytes));
}

TEST_F(RegistryKeyTest, StringWithoutTerminatorEndsAtItsBytes) {
  HKEY raw = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kBase, 0, KEY_WRITE, &raw), ERROR_SUCCESS);
  const char bytes[] = {'a', '.', 'q', 'd', 'x'};
  ASSERT_EQ(RegSetValueExA(raw, "cut", 0, REG_SZ, reinterpret_cast<const BYTE*>(bytes), 5),
            ERROR_SUCCESS);
  RegCloseKey(raw);
  std::string text;
  ASSERT_TRUE(key.GetString("cut", &text));
  EXPECT_EQ(text, "a.qdx");
}

TEST_F(RegistryKeyTest, EnumeratesSubkeysAndValues) {
  for (const char* name : {"shell", "DefaultIcon", "open"})
    ASSERT_TRUE(RegistryKey().Create(RegistryRoot::CurrentUser, std::string(kBase) + "\\" + name));
  ASSERT_TRUE(key.SetDword("one", 1));
  ASSERT_TRUE(key.SetString("two", "2"));
  auto keys = key.SubKeyNames();
  auto values = key.ValueNames();
  std::sort(keys.begin(), keys.end());
  std::sort(values.begin(), values.end());
  EXPECT_EQ(keys, (std::vector<std::string>{"DefaultIcon", "open", "shell"}));
  EXPECT_EQ(values, (std::vector<std::string>{"one", "two"}));
}

TEST_F(RegistryKeyTest, DeleteTreeRemovesEverythingBelowAndDeleteKeyOnlyLeaves) {
  const std::string deep = std::string(kBase) + "\\QDX file\\shell\\open\\command";
  ASSERT_TRUE(RegistryKey().Create(RegistryRoot::CurrentUser, deep));
  ASSERT_TRUE(
      RegistryKey().Create(RegistryRoot::CurrentUser, std::string(kBase) + "\\QDX file\\x"));
  const std::string top = std::string(kBase) + "\\QDX file";
  EXPECT_FALSE(RegistryKey::DeleteKey(RegistryRoot::CurrentUser, top));
  RegistryKey probe;
  EXPECT_TRUE(probe.Open(RegistryRoot::CurrentUser, deep));
  probe.Close();
  EXPECT_TRUE(RegistryKey::DeleteTree(RegistryRoot::CurrentUser, top));
  EXPECT_FALSE(probe.Open(RegistryRoot::CurrentUser, top));
  EXPECT_TRUE(probe.Open(RegistryRoot::CurrentUser, kBase));
  EXPECT_FALSE(RegistryKey::DeleteTree(RegistryRoot::CurrentUser, top));
}

TEST(ProgramPathTest, NamesThisProgramFile) {
  std::string path = ProgramPath();
  ASSERT_GT(path.size(), 4u);
  EXPECT_EQ(path.substr(path.size() - 4), ".exe");
  DWORD attributes = GetFileAttributesA(path.c_str());
  ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace
}  // namespace native
