#include "platform/RegistryStore.h"

#include <mutex>

namespace {
std::mutex storeMutex;
RegistryStore* chosen = nullptr;
std::unique_ptr<RegistryStore> fallback;
}  // namespace

const char* RegistryRootName(RegistryRoot root) {
  return root == RegistryRoot::ClassesRoot ? "HKEY_CLASSES_ROOT" : "HKEY_CURRENT_USER";
}

RegistryStore& CurrentRegistryStore() {
  std::lock_guard<std::mutex> hold(storeMutex);
  if (chosen)
    return *chosen;
  if (!fallback)
    fallback = MakeDefaultRegistryStore();
  return *fallback;
}

void SetRegistryStore(RegistryStore* store) {
  std::lock_guard<std::mutex> hold(storeMutex);
  chosen = store;
}

void ResetRegistryStore() {
  std::lock_guard<std::mutex> hold(storeMutex);
  fallback.reset();
}
