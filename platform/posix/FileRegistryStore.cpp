#include "platform/posix/FileRegistryStore.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>

#include "platform/ProgramIdentity.h"
#include "platform/posix/DurableFile.h"
#include "platform/posix/FileLock.h"
#include "platform/posix/RegistryText.h"
#include "platform/posix/XdgDirs.h"

namespace {

LSTATUS FromErrno(int error, LSTATUS otherwise) {
  switch (error) {
    case EACCES:
    case EPERM:
    case EROFS:
    case ENOTDIR:
    case EEXIST:
      return ERROR_ACCESS_DENIED;
    case ENOMEM:
      return ERROR_OUTOFMEMORY;
    default:
      return otherwise;
  }
}

std::string FileName(RegistryRoot root) {
  return std::string(RegistryRootName(root)) + ".reg";
}

std::string DamagedSuffix() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  return ".damaged-" + std::string(stamp) + "-" + std::to_string(getpid());
}

}  // namespace

std::unique_ptr<RegistryStore> MakeDefaultRegistryStore() {
  return std::make_unique<FileRegistryStore>(FileRegistryStore::DefaultFolder());
}

std::string FileRegistryStore::DefaultFolder() {
  std::string config = XdgConfigHome();
  const char* folder = GetProgramIdentity().settingsFolder;
  return config.empty() || !*folder ? std::string() : config + "/" + folder;
}

std::string FileRegistryStore::FilePath(RegistryRoot root) const {
  return folder_ + "/" + FileName(root);
}

LSTATUS FileRegistryStore::Read(RegistryRoot root, RegistryNode* top, bool* damaged) const {
  *top = RegistryNode{};
  *damaged = false;
  if (folder_.empty())
    return ERROR_SUCCESS;
  std::string text;
  int error = ReadWholeFile(FilePath(root), &text);
  if (error == ENOENT || error == ENOTDIR)
    return ERROR_SUCCESS;
  if (error)
    return FromErrno(error, ERROR_READ_FAULT);
  if (!ParseRegistryText(text, root, top)) {
    // Nothing of a damaged file is used, not even what read well before the damage.
    *top = RegistryNode{};
    *damaged = true;
  }
  return ERROR_SUCCESS;
}

LSTATUS FileRegistryStore::Apply(RegistryRoot root, const Change& change) {
  // First on the keys as they are, without the lock: a change that would change nothing (a key
  // that exists already, a delete of a missing key) writes nothing and creates no folder.
  RegistryNode top;
  bool damaged = false;
  bool changed = false;
  LSTATUS status = Read(root, &top, &damaged);
  if (status == ERROR_SUCCESS)
    status = change(top, &changed);
  if (status != ERROR_SUCCESS || !changed)
    return status;

  if (folder_.empty())
    return ERROR_ACCESS_DENIED;
  if (int error = MakeFolders(folder_))
    return FromErrno(error, ERROR_WRITE_FAULT);
  status = ApplyLocked(root, change);
  // The folder goes when its last file has gone (the lock file went with the lock).
  rmdir(folder_.c_str());
  return status;
}

LSTATUS FileRegistryStore::ApplyLocked(RegistryRoot root, const Change& change) {
  FileLock lock(folder_ + "/registry.lock", kLockWait);
  if (lock.Error())
    return FromErrno(lock.Error(), ERROR_WRITE_FAULT);
  // Another instance may have changed the file since: apply the change to what it holds now.
  RegistryNode top;
  bool damaged = false;
  bool changed = false;
  LSTATUS status = Read(root, &top, &damaged);
  if (status == ERROR_SUCCESS)
    status = change(top, &changed);
  if (status != ERROR_SUCCESS || !changed)
    return status;
  const std::string file = LinkedFile(FilePath(root));
  if (damaged) {
    if (int error = MoveAside(file, DamagedSuffix()))
      return FromErrno(error, ERROR_WRITE_FAULT);
  }
  RemoveStaleTemporaries(file);
  // A root that holds nothing needs no file, unless the user keeps the file elsewhere.
  if (top.values.empty() && top.subkeys.empty() && file == FilePath(root)) {
    int error = unlink(file.c_str()) == 0 || errno == ENOENT ? 0 : errno;
    return error ? FromErrno(error, ERROR_WRITE_FAULT) : ERROR_SUCCESS;
  }
  int error = ReplaceFile(file, FormatRegistryText(root, top), 0600);
  return error ? FromErrno(error, ERROR_WRITE_FAULT) : ERROR_SUCCESS;
}

LSTATUS FileRegistryStore::CreateKey(const RegistryKeyRef& key, DWORD* disposition) {
  return Apply(key.root, [&](RegistryNode& top, bool* changed) {
    return top.CreateKey(key, disposition, changed);
  });
}

LSTATUS FileRegistryStore::OpenKey(const RegistryKeyRef& key) {
  RegistryNode top;
  bool damaged = false;
  RegistryNode* found = nullptr;
  LSTATUS status = Read(key.root, &top, &damaged);
  return status == ERROR_SUCCESS ? top.FindKey(key, &found) : status;
}

LSTATUS FileRegistryStore::QueryValue(const RegistryKeyRef& key, const std::string& name,
                                      RegistryValue* value) {
  RegistryNode top;
  bool damaged = false;
  LSTATUS status = Read(key.root, &top, &damaged);
  return status == ERROR_SUCCESS ? top.QueryValue(key, name, value) : status;
}

LSTATUS FileRegistryStore::SetValue(const RegistryKeyRef& key, const RegistryValue& value) {
  return Apply(key.root,
               [&](RegistryNode& top, bool* changed) { return top.SetValue(key, value, changed); });
}

LSTATUS FileRegistryStore::DeleteKey(const RegistryKeyRef& key) {
  return Apply(key.root,
               [&](RegistryNode& top, bool* changed) { return top.DeleteKey(key, changed); });
}

LSTATUS FileRegistryStore::DeleteTree(const RegistryKeyRef& key) {
  return Apply(key.root,
               [&](RegistryNode& top, bool* changed) { return top.DeleteTree(key, changed); });
}

LSTATUS FileRegistryStore::ListKey(const RegistryKeyRef& key, RegistryListing* listing) {
  RegistryNode top;
  bool damaged = false;
  LSTATUS status = Read(key.root, &top, &damaged);
  return status == ERROR_SUCCESS ? top.ListKey(key, listing) : status;
}
