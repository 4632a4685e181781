// Register and Unregister of the .qdx file type: the keys and the bytes stored, what stays after
// Unregister, the writer stopping at the first failure, and the program's path that must fit.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "ScratchRegistry.h"
#include "platform/Module.h"
#include "platform/RegistryStore.h"
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

const Tree kAfterUnregister = {
    {".qdx", "QDX file\0"s}, {"QDX file", "Sekvential file\0"s}, {"QDX file\\shell", "Open\0"s}};

// Runs the steps in a program whose file is at `modulePath`.
Tree AfterSteps(const TempDir& dir, const std::string& modulePath, const std::string& steps) {
  SetModuleFileName(modulePath);
  ScriptOutput run = RunScript(dir, "start\n" + steps);
  SetModuleFileName("");
  EXPECT_EQ(run.out, "") << run.err;
  return ClassesRoot();
}

TEST(FileType, RegisterWritesSixKeysWithTheProgramsPath) {
  const char* const paths[] = {"/opt/Apps/viewer", "/opt/My Apps/lin taro", "/x/a\"b;$c%d"};
  for (const char* path : paths) {
    SCOPED_TRACE(path);
    TempDir dir;
    Tree tree = AfterSteps(dir, path, "menu ID_OPTIONS_REGISTER\n");
    EXPECT_EQ(tree, Registered(path));
    EXPECT_EQ(tree[".qdx"].size(), 9u);
    EXPECT_EQ(tree["QDX file"].size(), 16u);
  }
}

TEST(FileType, UnregisterTakesBackTheCommandTheVerbAndTheIcon) {
  const std::string path = "/opt/lintaro/lintaro";
  const struct {
    const char* steps;
    Tree after;
  } cases[] = {
      {"menu ID_OPTIONS_UNREGISTER\n", {}},
      {"menu ID_OPTIONS_REGISTER\nmenu ID_OPTIONS_UNREGISTER\n", kAfterUnregister},
      {"menu ID_OPTIONS_REGISTER\nmenu ID_OPTIONS_UNREGISTER\nmenu ID_OPTIONS_UNREGISTER\n",
       kAfterUnregister},
      {"menu ID_OPTIONS_REGISTER\nmenu ID_OPTIONS_UNREGISTER\nmenu ID_OPTIONS_REGISTER\n",
       Registered(path)},
      // Keys of other verbs are not Unregister's business.
      {"menu ID_OPTIONS_REGISTER\nreg-set HKCR\\QDX file\\shell\\print \"\" REG_SZ 5000\n"
       "menu ID_OPTIONS_UNREGISTER\n",
       [] {
         Tree t = kAfterUnregister;
         t["QDX file\\shell\\print"] = "P\0"s;
         return t;
       }()},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.steps);
    TempDir dir;
    EXPECT_EQ(AfterSteps(dir, path, c.steps), c.after);
  }
}

// The buffer holds 1024 bytes with the NUL: a longer path would be registered cut short.
TEST(FileType, APathThatDoesNotFitRegistersNothing) {
  for (size_t length : {1023u, 1024u, 4000u}) {
    SCOPED_TRACE(length);
    TempDir dir;
    std::string path = "/" + std::string(length - 1, 'a');
    Tree tree = AfterSteps(dir, path, "menu ID_OPTIONS_REGISTER\n");
    EXPECT_EQ(tree, length < 1024 ? Registered(path) : Tree{});
  }
}

// A store whose values cannot be set in one key (matched without regard to case); the key itself
// is still made.
class RefusingStore : public RegistryStore {
 public:
  explicit RefusingStore(std::string refused)
      : inner_(MakeDefaultRegistryStore()), refused_(std::move(refused)) {}
  LSTATUS CreateKey(const RegistryKeyRef& k, DWORD* d) override { return inner_->CreateKey(k, d); }
  LSTATUS OpenKey(const RegistryKeyRef& k) override { return inner_->OpenKey(k); }
  LSTATUS QueryValue(const RegistryKeyRef& k, const std::string& n, RegistryValue* v) override {
    return inner_->QueryValue(k, n, v);
  }
  LSTATUS SetValue(const RegistryKeyRef& k, const RegistryValue& v) override {
    std::string path;
    for (const KeyPath* part : {&k.open, &k.below}) {
      for (const std::string& name : *part)
        path += (path.empty() ? "" : "\\") + name;
    }
    return strcasecmp(path.c_str(), refused_.c_str()) == 0 ? ERROR_ACCESS_DENIED
                                                           : inner_->SetValue(k, v);
  }
  LSTATUS DeleteKey(const RegistryKeyRef& k) override { return inner_->DeleteKey(k); }
  LSTATUS DeleteTree(const RegistryKeyRef& k) override { return inner_->DeleteTree(k); }
  LSTATUS ListKey(const RegistryKeyRef& k, RegistryListing* l) override {
    return inner_->ListKey(k, l);
  }

 private:
  std::unique_ptr<RegistryStore> inner_;
  std::string refused_;
};

TEST(FileType, TheWriterStopsAtTheFirstFailureAndDerivesTheVerbKey) {
  const std::string path = "/p/v";
  const struct {
    const char* refused;
    const char* verb;
    bool result;
    Tree after;
  } cases[] = {
      {"", "&Open", true, Registered(path)},
      {".QDX", "&Open", false, {{".qdx", "-"}}},
      {"qdx file\\defaulticon",
       "&Open",
       false,
       {{".qdx", "QDX file\0"s},
        {"QDX file", "Sekvential file\0"s},
        {"QDX file\\DefaultIcon", "-"}}},
      {"QDX file\\shell\\open",
       "&Open",
       false,
       {{".qdx", "QDX file\0"s},
        {"QDX file", "Sekvential file\0"s},
        {"QDX file\\DefaultIcon", "/p/v,0\0"s},
        {"QDX file\\shell", "Open\0"s},
        {"QDX file\\shell\\open", "-"}}},
      // Every '&' goes from the default verb and the key name; the key's value keeps them. The
      // default verb keeps its case.
      {"",
       "E&xP&&lore",
       true,
       {{".qdx", "QDX file\0"s},
        {"QDX file", "Sekvential file\0"s},
        {"QDX file\\DefaultIcon", "/p/v,0\0"s},
        {"QDX file\\shell", "ExPlore\0"s},
        {"QDX file\\shell\\explore", "E&xP&&lore\0"s},
        {"QDX file\\shell\\explore\\command", "\"/p/v\" %1\0"s}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.refused) + " " + c.verb);
    ScratchRegistry registry;
    RefusingStore store(c.refused);
    SetRegistryStore(&store);
    bool result =
        FileTypeRegistrar().RegisterFileType(path, "qdx", "QDX file", "Sekvential file", c.verb);
    EXPECT_EQ(result, c.result);
    EXPECT_EQ(ClassesRoot(), c.after);
    SetRegistryStore(nullptr);
  }
}

}  // namespace
