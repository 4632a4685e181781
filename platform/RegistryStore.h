// Where the registry's keys and values live. The registry calls (platform/Registry.h) work through
// one store per process: on Linux the files of platform/posix/FileRegistryStore.h; a Windows build
// can put the real registry here.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/RegistryTypes.h"

enum class RegistryRoot { ClassesRoot, CurrentUser };

// The root's name as the registry tools write it: "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER".
const char* RegistryRootName(RegistryRoot root);

using KeyPath = std::vector<std::string>;

// A key as a handle reaches it: the path of the key the handle holds open (empty for a root) and a
// path below that. If the open key no longer exists the handle has outlived it and the operation
// fails with ERROR_KEY_DELETED; a missing key below it is ERROR_FILE_NOT_FOUND.
struct RegistryKeyRef {
  RegistryRoot root = RegistryRoot::CurrentUser;
  KeyPath open;
  KeyPath below;
};

// Every operation is whole: it sees the store as it is at that moment and leaves it changed
// completely or not at all. Results are the registry's (ERROR_SUCCESS and the ERROR_ codes).
class RegistryStore {
 public:
  virtual ~RegistryStore() = default;

  // Creates what is missing along the path; *disposition says whether the key was new.
  virtual LSTATUS CreateKey(const RegistryKeyRef& key, DWORD* disposition) = 0;
  virtual LSTATUS OpenKey(const RegistryKeyRef& key) = 0;
  // ERROR_FILE_NOT_FOUND when the key has no value of that name.
  virtual LSTATUS QueryValue(const RegistryKeyRef& key, const std::string& name,
                             RegistryValue* value) = 0;
  virtual LSTATUS SetValue(const RegistryKeyRef& key, const RegistryValue& value) = 0;
  // Fails on a root, and on a key that has subkeys. The file and memory stores then remove the
  // keys above it, up to the open key, that it leaves with nothing in them (RegistryNode.h); the
  // real registry keeps them, where HKEY_CURRENT_USER\Software always holds keys of the system.
  virtual LSTATUS DeleteKey(const RegistryKeyRef& key) = 0;
  // Deletes the key with everything below it; with no path below the open key, empties the open
  // key instead (so a root is only ever emptied).
  virtual LSTATUS DeleteTree(const RegistryKeyRef& key) = 0;
  virtual LSTATUS ListKey(const RegistryKeyRef& key, RegistryListing* listing) = 0;
};

// The store in use: the one set with SetRegistryStore, or else the platform's default store,
// made on first use from the environment of that moment.
RegistryStore& CurrentRegistryStore();
// Puts a store in place without owning it; null goes back to the default store.
void SetRegistryStore(RegistryStore* store);
// Forgets the default store, so that the next use makes it again from the environment (tests
// point XDG_CONFIG_HOME somewhere new and call this).
void ResetRegistryStore();

// The platform's default store; defined by the store that the build links in.
std::unique_ptr<RegistryStore> MakeDefaultRegistryStore();
