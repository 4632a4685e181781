#include "platform/MemoryRegistryStore.h"

RegistryNode& MemoryRegistryStore::Top(RegistryRoot root) {
  return root == RegistryRoot::ClassesRoot ? classesRoot_ : currentUser_;
}

void MemoryRegistryStore::Clear() {
  classesRoot_ = RegistryNode{};
  currentUser_ = RegistryNode{};
}

LSTATUS MemoryRegistryStore::CreateKey(const RegistryKeyRef& key, DWORD* disposition) {
  bool changed = false;
  return Top(key.root).CreateKey(key, disposition, &changed);
}

LSTATUS MemoryRegistryStore::OpenKey(const RegistryKeyRef& key) {
  RegistryNode* found = nullptr;
  return Top(key.root).FindKey(key, &found);
}

LSTATUS MemoryRegistryStore::QueryValue(const RegistryKeyRef& key, const std::string& name,
                                        RegistryValue* value) {
  return Top(key.root).QueryValue(key, name, value);
}

LSTATUS MemoryRegistryStore::SetValue(const RegistryKeyRef& key, const RegistryValue& value) {
  bool changed = false;
  return Top(key.root).SetValue(key, value, &changed);
}

LSTATUS MemoryRegistryStore::DeleteKey(const RegistryKeyRef& key) {
  bool changed = false;
  return Top(key.root).DeleteKey(key, &changed);
}

LSTATUS MemoryRegistryStore::DeleteTree(const RegistryKeyRef& key) {
  bool changed = false;
  return Top(key.root).DeleteTree(key, &changed);
}

LSTATUS MemoryRegistryStore::ListKey(const RegistryKeyRef& key, RegistryListing* listing) {
  return Top(key.root).ListKey(key, listing);
}
