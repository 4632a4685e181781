// The .qdx file type's keys: the bytes that the writer stores, the verb key it derives, where it
// stops when a value cannot be set, and the program's path that must fit before Register writes
// anything. Register and Unregister as the user runs them are in tests/scripts/register.case.
#include <gtest/gtest.h>
#include <strings.h>

#include <map>
#include <string>

#include "TestFiles.h"
#include "platform/MemoryRegistryStore.h"
#include "platform/Module.h"
#include "shell/FileTypeRegistrar.h"

namespace {

using namespace std::string_literals;

// Every key below HKEY_CLASSES_ROOT with the bytes of its default value ("-" for none).
using Tree = std::map<std::string, std::string>;

void Walk(const std::string& path, Tree& tree) {
  RegistryListing listing;
  if (RegListKey(HKEY_CLASSES_ROOT, path.c_str(), &listing) != ERROR_SUCCESS)
    return;
  if (!path.empty()) {
    tree[path] = "-";
    for (const RegistryValue& value : listing.values) {
      if (value.name.empty() && value.type == REG_SZ)
        tree[path] = std::string(value.data.begin(), value.data.end());
    }
  }
  for (const std::string& subkey : listing.subkeys)
    Walk(path.empty() ? subkey : path + "\\" + subkey, tree);
}

Tree ClassesRoot() {
  Tree tree;
  Walk("", tree);
  return tree;
}

// The six keys for a program at `path`, each value stored with its ending NUL.
Tree Registered(const std::string& path) {
  return {{".qdx", "QDX file\0"s},
          {"QDX file", "Sekvential file\0"s},
          {"QDX file\\DefaultIcon", path + ",0\0"s},
          {"QDX file\\shell", "Open\0"s},
          {"QDX file\\shell\\open", "&Open\0"s},
          {"QDX file\\shell\\open\\command", "\"" + path + "\" %1\0"s}};
}

// The keys that the writer makes before it fails on `failed`, which is left without a value; they
// are made in name order.
Tree Until(const Tree& keys, const std::string& failed) {
  Tree made(keys.begin(), keys.upper_bound(failed));
  made[failed] = "-";
  return made;
}

// A registry in memory whose values cannot be set in one key (matched without regard to case).
class RefusingStore : public MemoryRegistryStore {
 public:
  explicit RefusingStore(std::string refused) : refused_(std::move(refused)) {}
  LSTATUS SetValue(const RegistryKeyRef& key, const RegistryValue& value) override {
    std::string path;
    for (const KeyPath* part : {&key.open, &key.below}) {
      for (const std::string& name : *part)
        path += (path.empty() ? "" : "\\") + name;
    }
    if (strcasecmp(path.c_str(), refused_.c_str()) == 0)
      return ERROR_ACCESS_DENIED;
    return MemoryRegistryStore::SetValue(key, value);
  }

 private:
  std::string refused_;
};

TEST(FileType, TheWriterStopsAtTheFirstFailureAndDerivesTheVerbKey) {
  const std::string path = "/opt/My Apps/a\"b;$c%d";
  const struct {
    const char* refused;
    const char* verb;
    bool result;
    Tree after;
  } cases[] = {
      {"", "&Open", true, Registered(path)},
      {".QDX", "&Open", false, Until(Registered(path), ".qdx")},
      {"qdx file\\defaulticon", "&Open", false, Until(Registered(path), "QDX file\\DefaultIcon")},
      {"QDX file\\shell\\open", "&Open", false, Until(Registered(path), "QDX file\\shell\\open")},
      // Every '&' goes from the default verb and the key name; the key's value keeps them. The
      // default verb keeps its case.
      {"",
       "E&xP&&lore",
       true,
       {{".qdx", "QDX file\0"s},
        {"QDX file", "Sekvential file\0"s},
        {"QDX file\\DefaultIcon", path + ",0\0"s},
        {"QDX file\\shell", "ExPlore\0"s},
        {"QDX file\\shell\\explore", "E&xP&&lore\0"s},
        {"QDX file\\shell\\explore\\command", "\"" + path + "\" %1\0"s}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.refused) + " " + c.verb);
    RefusingStore store(c.refused);
    SetRegistryStore(&store);
    bool result =
        FileTypeRegistrar().RegisterFileType(path, "qdx", "QDX file", "Sekvential file", c.verb);
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(ClassesRoot(), c.after);
    SetRegistryStore(nullptr);
  }
}

// The buffer holds 1024 bytes with the NUL: a longer path would be registered cut short. The
// keys are read by the run itself, while its own registry is still the one in use.
TEST(FileType, RegisterWithAPathThatDoesNotFitWritesNothing) {
  for (size_t length : {1023u, 1024u}) {
    SCOPED_TRACE(length);
    TempDir dir;
    std::string path = "/" + std::string(length - 1, 'a');
    SetModuleFileName(path);
    ScriptOutput run = RunScript(dir, "start\nmenu ID_OPTIONS_REGISTER\nreg-show HKCR\\.qdx\n");
    SetModuleFileName("");
    const std::string registered = "key HKCR\\.qdx\nvalue \"\" REG_SZ 5144582066696C6500\n";
    const std::string nothing = "key HKCR\\.qdx missing\n";
    EXPECT_EQ(run.out, length < 1024 ? registered : nothing) << run.err;
  }
}

}  // namespace
