// The registry store of the Windows build: the real registry, through the native shim. Every
// operation opens the keys it needs afresh, so what another program changed meanwhile is seen.
#pragma once

#include <string>

#include "platform/RegistryStore.h"
#include "platform/win32/native/RegistryKey.h"

class WindowsRegistryStore : public RegistryStore {
 public:
  // Where a root of the program's registry lies in the real one: a root itself, or a key below
  // one, so that tests can keep their keys apart from the user's.
  struct Place {
    native::RegistryRoot root;
    std::string base;  // empty: the root itself
  };

  // HKEY_CLASSES_ROOT and HKEY_CURRENT_USER themselves.
  WindowsRegistryStore();
  WindowsRegistryStore(Place classesRoot, Place currentUser);

  LSTATUS CreateKey(const RegistryKeyRef& key, DWORD* disposition) override;
  LSTATUS OpenKey(const RegistryKeyRef& key) override;
  LSTATUS QueryValue(const RegistryKeyRef& key, const std::string& name,
                     RegistryValue* value) override;
  LSTATUS SetValue(const RegistryKeyRef& key, const RegistryValue& value) override;
  LSTATUS DeleteKey(const RegistryKeyRef& key) override;
  LSTATUS DeleteTree(const RegistryKeyRef& key) override;
  LSTATUS ListKey(const RegistryKeyRef& key, RegistryListing* listing) override;

 private:
  const Place& PlaceOf(RegistryRoot root) const;
  // The key's path in the real registry, below the root of its place.
  std::string PathOf(RegistryRoot root, const KeyPath& path) const;
  static KeyPath Whole(const RegistryKeyRef& key);
  // ERROR_KEY_DELETED when the key that the handle holds open is gone.
  LSTATUS CheckOpenKey(const RegistryKeyRef& key) const;
  // Opens the key that `key` names, after checking its open key.
  LSTATUS Open(const RegistryKeyRef& key, bool write, native::RegistryKey* found) const;
  LSTATUS Empty(RegistryRoot root, const KeyPath& path) const;

  Place classesRoot_;
  Place currentUser_;
};
