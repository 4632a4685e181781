// One key of a registry held in memory, with its values and its subkeys, both kept in name order.
// Names match without regard to the case of ASCII letters and keep the case they came with. The
// key of a root answers a store's operations on that root's keys, so every store changes its keys
// by the same rules whether it keeps them in files or in memory.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"
#include "platform/RegistryStore.h"

// Orders names as the registry lists them: bytes unsigned, ASCII letters as upper case.
int CompareRegistryNames(std::string_view a, std::string_view b);

struct RegistryNode {
  std::string name;
  std::vector<RegistryValue> values;
  std::vector<RegistryNode> subkeys;

  // The key at `path` below this one (this one for the empty path), or null.
  RegistryNode* Find(const KeyPath& path);
  // The same, creating every missing key along the path; *created tells whether any was new.
  RegistryNode& Create(const KeyPath& path, bool* created);
  // Removes the key at the non-empty `path` with everything below it; false when it is missing.
  bool Remove(const KeyPath& path);

  const RegistryValue* FindValue(std::string_view valueName) const;
  // Adds the value, or replaces the data and type of the one with that name (keeping its name).
  void SetValue(const RegistryValue& value);

  // A store's operations (platform/RegistryStore.h) on the keys below this root key. Those that
  // change keys set *changed when there is anything to write.
  LSTATUS FindKey(const RegistryKeyRef& key, RegistryNode** found);
  LSTATUS QueryValue(const RegistryKeyRef& key, const std::string& valueName, RegistryValue* value);
  LSTATUS CreateKey(const RegistryKeyRef& key, DWORD* disposition, bool* changed);
  LSTATUS SetValue(const RegistryKeyRef& key, const RegistryValue& value, bool* changed);
  LSTATUS DeleteKey(const RegistryKeyRef& key, bool* changed);
  LSTATUS DeleteTree(const RegistryKeyRef& key, bool* changed);
  LSTATUS ListKey(const RegistryKeyRef& key, RegistryListing* listing);

  // After `key` was deleted: removes the keys between it and the key its handle holds open that
  // the deletion left with no values and no subkeys, deepest first, so that no empty key stays
  // behind (the HKEY_CURRENT_USER\Software above Software\Example, say). The open key stays.
  void RemoveEmptiedAbove(const RegistryKeyRef& key);

  friend bool operator==(const RegistryNode&, const RegistryNode&) = default;
};
