#include "platform/win32/WindowsRegistryStore.h"

#include <algorithm>
#include <memory>

namespace {
// The order the registry lists names in: ASCII letters compared as upper case.
bool NameBefore(const std::string& a, const std::string& b) {
  auto upper = [](unsigned char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; };
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [&](char x, char y) {
    return upper(static_cast<unsigned char>(x)) < upper(y);
  });
}
}  // namespace

WindowsRegistryStore::WindowsRegistryStore()
    : WindowsRegistryStore(Place{native::RegistryRoot::ClassesRoot, ""},
                           Place{native::RegistryRoot::CurrentUser, ""}) {}

WindowsRegistryStore::WindowsRegistryStore(Place classesRoot, Place currentUser)
    : classesRoot_(std::move(classesRoot)), currentUser_(std::move(currentUser)) {}

const WindowsRegistryStore::Place& WindowsRegistryStore::PlaceOf(RegistryRoot root) const {
  return root == RegistryRoot::ClassesRoot ? classesRoot_ : currentUser_;
}

std::string WindowsRegistryStore::PathOf(RegistryRoot root, const KeyPath& path) const {
  std::string joined = PlaceOf(root).base;
  for (const std::string& name : path) {
    if (!joined.empty())
      joined += '\\';
    joined += name;
  }
  return joined;
}

KeyPath WindowsRegistryStore::Whole(const RegistryKeyRef& key) {
  KeyPath path = key.open;
  path.insert(path.end(), key.below.begin(), key.below.end());
  return path;
}

LSTATUS WindowsRegistryStore::CheckOpenKey(const RegistryKeyRef& key) const {
  if (key.open.empty())
    return ERROR_SUCCESS;
  native::RegistryKey open;
  LSTATUS status = open.OpenWithStatus(PlaceOf(key.root).root, PathOf(key.root, key.open), false);
  return status == ERROR_FILE_NOT_FOUND ? ERROR_KEY_DELETED : status;
}

LSTATUS WindowsRegistryStore::Open(const RegistryKeyRef& key, bool write,
                                   native::RegistryKey* found) const {
  if (LSTATUS status = CheckOpenKey(key); status != ERROR_SUCCESS)
    return status;
  return found->OpenWithStatus(PlaceOf(key.root).root, PathOf(key.root, Whole(key)), write);
}

LSTATUS WindowsRegistryStore::CreateKey(const RegistryKeyRef& key, DWORD* disposition) {
  if (LSTATUS status = CheckOpenKey(key); status != ERROR_SUCCESS)
    return status;
  native::RegistryKey created;
  bool isNew = false;
  LSTATUS status =
      created.CreateWithStatus(PlaceOf(key.root).root, PathOf(key.root, Whole(key)), &isNew);
  if (status == ERROR_SUCCESS && disposition)
    *disposition = isNew ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  return status;
}

LSTATUS WindowsRegistryStore::OpenKey(const RegistryKeyRef& key) {
  native::RegistryKey found;
  return Open(key, false, &found);
}

LSTATUS WindowsRegistryStore::QueryValue(const RegistryKeyRef& key, const std::string& name,
                                         RegistryValue* value) {
  native::RegistryKey found;
  if (LSTATUS status = Open(key, false, &found); status != ERROR_SUCCESS)
    return status;
  RegistryValue read{name, REG_NONE, {}};
  if (LSTATUS status = found.QueryValue(name, &read.type, &read.data); status != ERROR_SUCCESS)
    return status;
  *value = std::move(read);
  return ERROR_SUCCESS;
}

LSTATUS WindowsRegistryStore::SetValue(const RegistryKeyRef& key, const RegistryValue& value) {
  native::RegistryKey found;
  if (LSTATUS status = Open(key, true, &found); status != ERROR_SUCCESS)
    return status;
  return found.SetValue(value.name, value.type, value.data);
}

LSTATUS WindowsRegistryStore::DeleteKey(const RegistryKeyRef& key) {
  KeyPath whole = Whole(key);
  if (whole.empty())
    return ERROR_ACCESS_DENIED;
  if (LSTATUS status = CheckOpenKey(key); status != ERROR_SUCCESS)
    return status;
  // A key with subkeys is refused by the registry itself.
  return native::RegistryKey::DeleteKeyWithStatus(PlaceOf(key.root).root, PathOf(key.root, whole));
}

LSTATUS WindowsRegistryStore::Empty(RegistryRoot root, const KeyPath& path) const {
  native::RegistryKey key;
  if (LSTATUS status = key.OpenWithStatus(PlaceOf(root).root, PathOf(root, path), true);
      status != ERROR_SUCCESS) {
    return status;
  }
  for (const std::string& subkey : key.SubKeyNames()) {
    KeyPath below = path;
    below.push_back(subkey);
    if (!native::RegistryKey::DeleteTree(PlaceOf(root).root, PathOf(root, below)))
      return ERROR_ACCESS_DENIED;
  }
  for (const std::string& name : key.ValueNames()) {
    if (!key.DeleteValue(name))
      return ERROR_ACCESS_DENIED;
  }
  return ERROR_SUCCESS;
}

LSTATUS WindowsRegistryStore::DeleteTree(const RegistryKeyRef& key) {
  native::RegistryKey found;
  if (LSTATUS status = Open(key, false, &found); status != ERROR_SUCCESS)
    return status;
  found.Close();
  KeyPath whole = Whole(key);
  if (key.below.empty()) {
    // Emptying a root of the real registry would take every other program's keys with it.
    if (whole.empty() && PlaceOf(key.root).base.empty())
      return ERROR_ACCESS_DENIED;
    return Empty(key.root, whole);
  }
  bool deleted = native::RegistryKey::DeleteTree(PlaceOf(key.root).root, PathOf(key.root, whole));
  return deleted ? ERROR_SUCCESS : ERROR_ACCESS_DENIED;
}

LSTATUS WindowsRegistryStore::ListKey(const RegistryKeyRef& key, RegistryListing* listing) {
  native::RegistryKey found;
  if (LSTATUS status = Open(key, false, &found); status != ERROR_SUCCESS)
    return status;
  RegistryListing read;
  for (const std::string& name : found.ValueNames()) {
    RegistryValue value{name, REG_NONE, {}};
    if (found.QueryValue(name, &value.type, &value.data) == ERROR_SUCCESS)
      read.values.push_back(std::move(value));
  }
  read.subkeys = found.SubKeyNames();
  std::sort(
      read.values.begin(), read.values.end(),
      [](const RegistryValue& a, const RegistryValue& b) { return NameBefore(a.name, b.name); });
  std::sort(read.subkeys.begin(), read.subkeys.end(), NameBefore);
  *listing = std::move(read);
  return ERROR_SUCCESS;
}

std::unique_ptr<RegistryStore> MakeDefaultRegistryStore() {
  return std::make_unique<WindowsRegistryStore>();
}
