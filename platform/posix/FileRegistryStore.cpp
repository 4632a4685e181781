#include "platform/posix/FileRegistryStore.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>

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

// The key that `ref` names in `top`.
LSTATUS Find(RegistryNode& top, const RegistryKeyRef& ref, RegistryNode** key) {
  RegistryNode* open = top.Find(ref.open);
  if (!open)
    return ERROR_KEY_DELETED;
  *key = open->Find(ref.below);
  return *key ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
}

KeyPath FullPath(const RegistryKeyRef& ref) {
  KeyPath path = ref.open;
  path.insert(path.end(), ref.below.begin(), ref.below.end());
  return path;
}

}  // namespace

std::unique_ptr<RegistryStore> MakeDefaultRegistryStore() {
  return std::make_unique<FileRegistryStore>(FileRegistryStore::DefaultFolder());
}

std::string FileRegistryStore::DefaultFolder() {
  std::string config = XdgConfigHome();
  return config.empty() ? config : config + "/lintaro";
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
  FileLock lock(folder_ + "/registry.lock");
  if (lock.Error())
    return FromErrno(lock.Error(), ERROR_WRITE_FAULT);
  // Another instance may have changed the file since: apply the change to what it holds now.
  changed = false;
  status = Read(root, &top, &damaged);
  if (status == ERROR_SUCCESS)
    status = change(top, &changed);
  if (status != ERROR_SUCCESS || !changed)
    return status;
  if (damaged) {
    if (int error = MoveAside(FilePath(root), DamagedSuffix()))
      return FromErrno(error, ERROR_WRITE_FAULT);
  }
  int error = ReplaceFile(folder_, FileName(root), FormatRegistryText(root, top));
  return error ? FromErrno(error, ERROR_WRITE_FAULT) : ERROR_SUCCESS;
}

LSTATUS FileRegistryStore::CreateKey(const RegistryKeyRef& key, DWORD* disposition) {
  return Apply(key.root, [&](RegistryNode& top, bool* changed) {
    RegistryNode* open = top.Find(key.open);
    if (!open)
      return ERROR_KEY_DELETED;
    open->Create(key.below, changed);
    *disposition = *changed ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return ERROR_SUCCESS;
  });
}

LSTATUS FileRegistryStore::ReadKey(const RegistryKeyRef& key, RegistryNode* top,
                                   RegistryNode** found) const {
  bool damaged = false;
  LSTATUS status = Read(key.root, top, &damaged);
  return status == ERROR_SUCCESS ? Find(*top, key, found) : status;
}

LSTATUS FileRegistryStore::OpenKey(const RegistryKeyRef& key) {
  RegistryNode top;
  RegistryNode* found = nullptr;
  return ReadKey(key, &top, &found);
}

LSTATUS FileRegistryStore::QueryValue(const RegistryKeyRef& key, const std::string& name,
                                      RegistryValue* value) {
  RegistryNode top;
  RegistryNode* found = nullptr;
  if (LSTATUS status = ReadKey(key, &top, &found); status != ERROR_SUCCESS)
    return status;
  const RegistryValue* stored = found->FindValue(name);
  if (!stored)
    return ERROR_FILE_NOT_FOUND;
  *value = *stored;
  return ERROR_SUCCESS;
}

LSTATUS FileRegistryStore::SetValue(const RegistryKeyRef& key, const RegistryValue& value) {
  return Apply(key.root, [&](RegistryNode& top, bool* changed) {
    RegistryNode* found = nullptr;
    LSTATUS status = Find(top, key, &found);
    if (status != ERROR_SUCCESS)
      return status;
    found->SetValue(value);
    *changed = true;
    return ERROR_SUCCESS;
  });
}

LSTATUS FileRegistryStore::DeleteKey(const RegistryKeyRef& key) {
  if (key.open.empty() && key.below.empty())
    return ERROR_ACCESS_DENIED;
  return Apply(key.root, [&](RegistryNode& top, bool* changed) {
    RegistryNode* found = nullptr;
    LSTATUS status = Find(top, key, &found);
    if (status != ERROR_SUCCESS)
      return status;
    if (!found->subkeys.empty())
      return ERROR_ACCESS_DENIED;
    *changed = top.Remove(FullPath(key));
    return ERROR_SUCCESS;
  });
}

LSTATUS FileRegistryStore::DeleteTree(const RegistryKeyRef& key) {
  return Apply(key.root, [&](RegistryNode& top, bool* changed) {
    RegistryNode* found = nullptr;
    LSTATUS status = Find(top, key, &found);
    if (status != ERROR_SUCCESS)
      return status;
    if (!key.below.empty()) {
      *changed = top.Remove(FullPath(key));
      return ERROR_SUCCESS;
    }
    *changed = !found->values.empty() || !found->subkeys.empty();
    found->values.clear();
    found->subkeys.clear();
    return ERROR_SUCCESS;
  });
}

LSTATUS FileRegistryStore::ListKey(const RegistryKeyRef& key, RegistryListing* listing) {
  RegistryNode top;
  RegistryNode* found = nullptr;
  if (LSTATUS status = ReadKey(key, &top, &found); status != ERROR_SUCCESS)
    return status;
  listing->values = found->values;
  listing->subkeys.clear();
  for (const RegistryNode& subkey : found->subkeys)
    listing->subkeys.push_back(subkey.name);
  return ERROR_SUCCESS;
}
