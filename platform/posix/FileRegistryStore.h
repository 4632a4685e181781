// The registry kept in files, one per root, in the program's folder of the user's configuration:
// $XDG_CONFIG_HOME/<folder>/HKEY_CURRENT_USER.reg and HKEY_CLASSES_ROOT.reg (platform/posix/
// RegistryText.h gives their text). Several running instances share them: each change takes the
// folder's lock (registry.lock, there only while it is held), reads the file again, and replaces
// it as a whole. A change waits for the lock while it changes hands, and fails, as a change that
// cannot be written does, once one holder has kept it for kLockWait. A file that does not read as
// a registry is never written over: it counts as empty, and the first change renames it aside
// (".damaged-<time>-<pid>") before it writes. A root left with no keys and no values has no file,
// and the folder goes with its last file.
#pragma once

#include <chrono>
#include <functional>
#include <string>

#include "platform/RegistryNode.h"
#include "platform/RegistryStore.h"

class FileRegistryStore : public RegistryStore {
 public:
  // An empty folder means there is nowhere to keep anything: every change fails.
  explicit FileRegistryStore(std::string folder) : folder_(std::move(folder)) {}

  // $XDG_CONFIG_HOME/<folder> (when that is an absolute path), else $HOME/.config/<folder>, with
  // the folder that the program names (ProgramIdentity::settingsFolder); empty when there is no
  // home or no folder named.
  static std::string DefaultFolder();
  std::string FilePath(RegistryRoot root) const;

  LSTATUS CreateKey(const RegistryKeyRef& key, DWORD* disposition) override;
  LSTATUS OpenKey(const RegistryKeyRef& key) override;
  LSTATUS QueryValue(const RegistryKeyRef& key, const std::string& name,
                     RegistryValue* value) override;
  LSTATUS SetValue(const RegistryKeyRef& key, const RegistryValue& value) override;
  LSTATUS DeleteKey(const RegistryKeyRef& key) override;
  LSTATUS DeleteTree(const RegistryKeyRef& key) override;
  LSTATUS ListKey(const RegistryKeyRef& key, RegistryListing* listing) override;

 private:
  // Changes the root's keys in place; sets *changed when there is anything to write.
  using Change = std::function<LSTATUS(RegistryNode& top, bool* changed)>;

  // The root's keys as the file holds them now. A missing file is an empty registry, and so is a
  // damaged one (*damaged tells).
  LSTATUS Read(RegistryRoot root, RegistryNode* top, bool* damaged) const;
  LSTATUS Apply(RegistryRoot root, const Change& change);
  LSTATUS ApplyLocked(RegistryRoot root, const Change& change);

  static constexpr std::chrono::milliseconds kLockWait{3000};

  std::string folder_;
};
