// A registry store that keeps its keys in memory only, for as long as it lives: for runs that must
// leave no trace on the disk and start from a known registry each time.
#pragma once

#include "platform/RegistryNode.h"
#include "platform/RegistryStore.h"

class MemoryRegistryStore : public RegistryStore {
 public:
  LSTATUS CreateKey(const RegistryKeyRef& key, DWORD* disposition) override;
  LSTATUS OpenKey(const RegistryKeyRef& key) override;
  LSTATUS QueryValue(const RegistryKeyRef& key, const std::string& name,
                     RegistryValue* value) override;
  LSTATUS SetValue(const RegistryKeyRef& key, const RegistryValue& value) override;
  LSTATUS DeleteKey(const RegistryKeyRef& key) override;
  LSTATUS DeleteTree(const RegistryKeyRef& key) override;
  LSTATUS ListKey(const RegistryKeyRef& key, RegistryListing* listing) override;

  // Forgets every key of both roots.
  void Clear();

 private:
  RegistryNode& Top(RegistryRoot root);

  RegistryNode classesRoot_;
  RegistryNode currentUser_;
};
