// The registry as the program calls it: names that match without regard to case, keys made along
// a path, values kept with their types, deletes, and handles that outlive their keys. Every call
// goes through the files of a scratch registry. (The capacity rules of a query are those the
// settings' load depends on, and are checked there. The program's own path, cut to a buffer, is
// Register's, in FileTypeTest.cpp and register.case.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ScratchRegistry.h"
#include "platform/Registry.h"

namespace {

#if defined(_WIN32)
// The real registry folds every letter of the code page, as Windows compares names.
constexpr bool kFoldsBeyondAscii = true;
#else
constexpr bool kFoldsBeyondAscii = false;
#endif

LSTATUS Create(HKEY root, const char* path, DWORD* disposition = nullptr) {
  HKEY key = nullptr;
  LSTATUS status = RegCreateKeyExA(root, path, 0, "", REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                   nullptr, &key, disposition);
  if (status == ERROR_SUCCESS)
    RegCloseKey(key);
  return status;
}

RegistryListing List(HKEY root, const char* path) {
  RegistryListing listing;
  EXPECT_EQ(RegListKey(root, path, &listing), ERROR_SUCCESS) << path;
  return listing;
}

std::vector<std::string> ValueNames(const RegistryListing& listing) {
  std::vector<std::string> names;
  for (const RegistryValue& value : listing.values)
    names.push_back(value.name);
  return names;
}

TEST(Registry, KeysMatchWithoutRegardToAsciiCase) {
  struct {
    const char* what;
    HKEY root;
    const char* opened;  // after "Software\\Lintaro" was created under HKEY_CURRENT_USER
    bool found;
  } const cases[] = {
      {"other case", HKEY_CURRENT_USER, "SOFTWARE\\lintaro", true},
      {"a key made along the path", HKEY_CURRENT_USER, "software", true},
      {"a prefix of a name", HKEY_CURRENT_USER, "Software\\Lintar", false},
      {"a key below", HKEY_CURRENT_USER, "Software\\Lintaro\\Config", false},
      {"the other root", HKEY_CLASSES_ROOT, "Software", false},
  };
  ScratchRegistry registry;
  ASSERT_EQ(Create(HKEY_CURRENT_USER, "Software\\Lintaro"), ERROR_SUCCESS);
  // Only ASCII letters fold: not the Latin-1 ones, and not '[' and '{'.
  ASSERT_EQ(Create(HKEY_CURRENT_USER, "\xC9t\xC9\\a["), ERROR_SUCCESS);
  EXPECT_EQ(HasRegistryKey(HKEY_CURRENT_USER, "\xE9t\xE9"), kFoldsBeyondAscii);
  EXPECT_FALSE(HasRegistryKey(HKEY_CURRENT_USER, "\xC9t\xC9\\A{"));
  for (const auto& c : cases)
    EXPECT_EQ(HasRegistryKey(c.root, c.opened), c.found) << c.what;

  // A key keeps the spelling it was made with; names list in order with letters as upper case,
  // so '_' comes after them and "Config" before "Config - SIZE".
  DWORD disposition = 0;
  ASSERT_EQ(Create(HKEY_CURRENT_USER, "SOFTWARE\\LINTARO\\Sub", &disposition), ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
  ASSERT_EQ(Create(HKEY_CURRENT_USER, "software\\lintaro", &disposition), ERROR_SUCCESS);
  EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
  EXPECT_EQ(List(HKEY_CURRENT_USER, "SOFTWARE").subkeys, std::vector<std::string>{"Lintaro"});
  for (const char* name : {"b\\x", "_u", "C", "A"})
    ASSERT_EQ(Create(HKEY_CURRENT_USER, (std::string("Order\\") + name).c_str()), ERROR_SUCCESS);
  for (const char* name : {"Config - SIZE", "_v", "config", "B"})
    ASSERT_EQ(SetRegistryValue(HKEY_CURRENT_USER, "Order", name, REG_BINARY, {}), ERROR_SUCCESS);
  RegistryListing listing = List(HKEY_CURRENT_USER, "Order");
  EXPECT_EQ(listing.subkeys, (std::vector<std::string>{"A", "b", "C", "_u"}));
  EXPECT_EQ(ValueNames(listing), (std::vector<std::string>{"B", "config", "Config - SIZE", "_v"}));
}

TEST(Registry, PathsWithEmptyNamesOrLineBreaksAreRefused) {
  ScratchRegistry registry;
  for (const char* path : {"\\Lead", "a\\\\b", "Trail\\", "line\nbreak"})
    EXPECT_EQ(Create(HKEY_CURRENT_USER, path), ERROR_INVALID_PARAMETER) << path;
  EXPECT_TRUE(List(HKEY_CURRENT_USER, "").subkeys.empty());
  EXPECT_EQ(SetRegistryValue(HKEY_CURRENT_USER, "K", "two\nlines", REG_BINARY, {}),
            ERROR_INVALID_PARAMETER);
}

// Types and bytes of every shape are kept: see the round trip through the file's text.
TEST(Registry, ValuesMatchWithoutRegardToCaseAndKeepTheirFirstSpelling) {
  struct Write {
    const char* name;
    DWORD type;
    Bytes data;
  };
  struct {
    const char* what;
    std::vector<Write> writes;
    const char* queried;  // gives the last write's type and bytes
    const char* listed;
  } const cases[] = {
      {"other case", {{"Config", REG_BINARY, {1}}}, "CONFIG", "Config"},
      {"set in other case replaces and keeps the name",
       {{"Config", REG_BINARY, {1}}, {"CONFIG", REG_DWORD, {4, 0, 0, 0}}},
       "config",
       "Config"},
      {"default value set by null, read by empty", {{nullptr, REG_SZ, B("x\0")}}, "", ""},
      {"default value set by empty, read by null", {{"", REG_SZ, B("x\0")}}, nullptr, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchRegistry registry;
    for (const Write& w : c.writes)
      ASSERT_EQ(SetRegistryValue(HKEY_CURRENT_USER, "K", w.name, w.type, w.data), ERROR_SUCCESS);
    std::optional<RegistryValue> value = GetRegistryValue(HKEY_CURRENT_USER, "K", c.queried);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, c.writes.back().type);
    EXPECT_EQ(value->data, c.writes.back().data);
    EXPECT_EQ(ValueNames(List(HKEY_CURRENT_USER, "K")), std::vector<std::string>{c.listed});
    EXPECT_FALSE(GetRegistryValue(HKEY_CURRENT_USER, "K", "Config2"));
  }
}

TEST(Registry, DeletesRemoveWhatTheyNameAndNoMore) {
  enum Call { DeleteKey, DeleteTree };
  struct {
    const char* what;
    Call call;
    const char* path;
    LSTATUS result;
    std::vector<const char*> left;
    std::vector<const char*> gone;
  } const cases[] = {
      {"a key with subkeys stays", DeleteKey, "A", ERROR_ACCESS_DENIED, {"A", "A\\B"}, {}},
      {"a key without subkeys goes", DeleteKey, "a\\b", ERROR_SUCCESS, {"C"}, {"A\\B"}},
      {"a missing key", DeleteKey, "A\\X", ERROR_FILE_NOT_FOUND, {"A", "A\\B", "C"}, {}},
      {"the root", DeleteKey, "", ERROR_ACCESS_DENIED, {"A", "A\\B", "C"}, {}},
      {"a tree goes whole", DeleteTree, "A", ERROR_SUCCESS, {"C"}, {"A", "A\\B"}},
      {"a missing tree", DeleteTree, "X", ERROR_FILE_NOT_FOUND, {"A", "A\\B", "C"}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchRegistry registry;
    ASSERT_EQ(SetRegistryValue(HKEY_CURRENT_USER, "A\\B", "v", REG_BINARY, {1}), ERROR_SUCCESS);
    ASSERT_EQ(Create(HKEY_CURRENT_USER, "C"), ERROR_SUCCESS);
    LSTATUS result = c.call == DeleteKey ? RegDeleteKeyA(HKEY_CURRENT_USER, c.path)
                                         : RegDeleteTreeA(HKEY_CURRENT_USER, c.path);
    EXPECT_EQ(result, c.result);
    for (const char* key : c.left)
      EXPECT_TRUE(HasRegistryKey(HKEY_CURRENT_USER, key)) << key;
    for (const char* key : c.gone)
      EXPECT_FALSE(HasRegistryKey(HKEY_CURRENT_USER, key)) << key;
  }
  // A key made again after its delete starts without the old values.
  ScratchRegistry registry;
  ASSERT_EQ(SetRegistryValue(HKEY_CURRENT_USER, "A", "v", REG_BINARY, {1}), ERROR_SUCCESS);
  ASSERT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "A"), ERROR_SUCCESS);
  ASSERT_EQ(Create(HKEY_CURRENT_USER, "A"), ERROR_SUCCESS);
  EXPECT_TRUE(List(HKEY_CURRENT_USER, "A").values.empty());
}

TEST(Registry, HandlesSeeChangesAndFailOnceTheirKeyIsGone) {
  ScratchRegistry registry;
  HKEY reader = nullptr;
  HKEY writer = nullptr;
  ASSERT_EQ(Create(HKEY_CURRENT_USER, "K"), ERROR_SUCCESS);
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "K", 0, KEY_ALL_ACCESS, &reader), ERROR_SUCCESS);
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "k", 0, KEY_ALL_ACCESS, &writer), ERROR_SUCCESS);
  BYTE one = 1;
  ASSERT_EQ(RegSetValueExA(writer, "v", 0, REG_BINARY, &one, 1), ERROR_SUCCESS);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExA(reader, "v", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 1u);

  ASSERT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, "K"), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExA(reader, "v", nullptr, nullptr, nullptr, &size), ERROR_KEY_DELETED);
  EXPECT_EQ(RegSetValueExA(writer, "v", 0, REG_BINARY, &one, 1), ERROR_KEY_DELETED);
  EXPECT_EQ(Create(writer, "Sub"), ERROR_KEY_DELETED);
  EXPECT_FALSE(HasRegistryKey(HKEY_CURRENT_USER, "K"));

  EXPECT_EQ(RegCloseKey(reader), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(reader), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegSetValueExA(reader, "v", 0, REG_BINARY, &one, 1), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(writer), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
}

}  // namespace
