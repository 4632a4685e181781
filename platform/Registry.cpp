#include "platform/Registry.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>

#include "platform/RegistryStore.h"

// An open key: the root and the path it was opened or created with.
struct RegistryKeyHandle {
  RegistryRoot root;
  KeyPath path;
};

namespace {

std::mutex handleMutex;
std::map<HKEY, std::unique_ptr<RegistryKeyHandle>> openKeys;

// The root and the path of the key that a handle holds open; false for no open key.
bool Resolve(HKEY key, RegistryRoot* root, KeyPath* path) {
  path->clear();
  if (key == HKEY_CLASSES_ROOT || key == HKEY_CURRENT_USER) {
    *root = key == HKEY_CLASSES_ROOT ? RegistryRoot::ClassesRoot : RegistryRoot::CurrentUser;
    return true;
  }
  std::lock_guard<std::mutex> hold(handleMutex);
  auto found = openKeys.find(key);
  if (found == openKeys.end())
    return false;
  *root = found->second->root;
  *path = found->second->path;
  return true;
}

// A line break in a name would end the line it is stored on.
bool IsStorableName(const std::string& name) {
  return name.find_first_of("\r\n") == std::string::npos;
}

// Splits "a\b\c" into its names; null or "" is the empty path. An empty name (a leading, doubled
// or trailing '\') makes the path invalid.
bool SplitPath(const char* text, KeyPath* path) {
  path->clear();
  if (!text || !*text)
    return true;
  std::string all(text);
  size_t start = 0;
  while (true) {
    size_t end = all.find('\\', start);
    std::string name = all.substr(start, end == std::string::npos ? end : end - start);
    if (name.empty() || !IsStorableName(name))
      return false;
    path->push_back(name);
    if (end == std::string::npos)
      return true;
    start = end + 1;
  }
}

// The key that `key` and `subKey` name together.
LSTATUS Locate(HKEY key, const char* subKey, RegistryKeyRef* ref) {
  if (!Resolve(key, &ref->root, &ref->open))
    return ERROR_INVALID_HANDLE;
  return SplitPath(subKey, &ref->below) ? ERROR_SUCCESS : ERROR_INVALID_PARAMETER;
}

HKEY NewHandle(const RegistryKeyRef& ref) {
  auto open = std::make_unique<RegistryKeyHandle>();
  open->root = ref.root;
  open->path = ref.open;
  open->path.insert(open->path.end(), ref.below.begin(), ref.below.end());
  HKEY handle = open.get();
  std::lock_guard<std::mutex> hold(handleMutex);
  openKeys.emplace(handle, std::move(open));
  return handle;
}

}  // namespace

LSTATUS RegCreateKeyExA(HKEY key, const char* subKey, DWORD /*reserved*/, const char* /*keyClass*/,
                        DWORD /*options*/, REGSAM /*access*/,
                        const SECURITY_ATTRIBUTES* /*security*/, HKEY* result, DWORD* disposition) {
  if (!result)
    return ERROR_INVALID_PARAMETER;
  RegistryKeyRef ref;
  if (LSTATUS status = Locate(key, subKey, &ref); status != ERROR_SUCCESS)
    return status;
  DWORD what = 0;
  if (LSTATUS status = CurrentRegistryStore().CreateKey(ref, &what); status != ERROR_SUCCESS)
    return status;
  *result = NewHandle(ref);
  if (disposition)
    *disposition = what;
  return ERROR_SUCCESS;
}

LSTATUS RegOpenKeyExA(HKEY key, const char* subKey, DWORD /*options*/, REGSAM /*access*/,
                      HKEY* result) {
  if (!result)
    return ERROR_INVALID_PARAMETER;
  RegistryKeyRef ref;
  if (LSTATUS status = Locate(key, subKey, &ref); status != ERROR_SUCCESS)
    return status;
  if (LSTATUS status = CurrentRegistryStore().OpenKey(ref); status != ERROR_SUCCESS)
    return status;
  *result = NewHandle(ref);
  return ERROR_SUCCESS;
}

LSTATUS RegCloseKey(HKEY key) {
  if (key == HKEY_CLASSES_ROOT || key == HKEY_CURRENT_USER)
    return ERROR_SUCCESS;
  std::lock_guard<std::mutex> hold(handleMutex);
  return openKeys.erase(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LSTATUS RegQueryValueExA(HKEY key, const char* name, DWORD* /*reserved*/, DWORD* type, BYTE* data,
                         DWORD* size) {
  if (data && !size)
    return ERROR_INVALID_PARAMETER;
  RegistryKeyRef ref;
  if (LSTATUS status = Locate(key, nullptr, &ref); status != ERROR_SUCCESS)
    return status;
  RegistryValue value;
  LSTATUS status = CurrentRegistryStore().QueryValue(ref, name ? name : "", &value);
  if (status != ERROR_SUCCESS)
    return status;
  if (type)
    *type = value.type;
  DWORD length = static_cast<DWORD>(value.data.size());
  if (data && *size < length) {
    *size = length;
    return ERROR_MORE_DATA;
  }
  if (data)
    std::copy(value.data.begin(), value.data.end(), data);
  if (size)
    *size = length;
  return ERROR_SUCCESS;
}

LSTATUS RegSetValueExA(HKEY key, const char* name, DWORD /*reserved*/, DWORD type, const BYTE* data,
                       DWORD size) {
  if (!data && size != 0)
    return ERROR_INVALID_PARAMETER;
  RegistryValue value{name ? name : "", type, {}};
  if (!IsStorableName(value.name))
    return ERROR_INVALID_PARAMETER;
  if (data)
    value.data.assign(data, data + size);
  RegistryKeyRef ref;
  if (LSTATUS status = Locate(key, nullptr, &ref); status != ERROR_SUCCESS)
    return status;
  return CurrentRegistryStore().SetValue(ref, value);
}

LSTATUS RegDeleteKeyA(HKEY key, const char* subKey) {
  if (!subKey)
    return ERROR_INVALID_PARAMETER;
  RegistryKeyRef ref;
  if (LSTATUS status = Locate(key, subKey, &ref); status != ERROR_SUCCESS)
    return status;
  return CurrentRegistryStore().DeleteKey(ref);
}

LSTATUS RegDeleteTreeA(HKEY key, const char* subKey) {
  RegistryKeyRef ref;
  if (LSTATUS status = Locate(key, subKey, &ref); status != ERROR_SUCCESS)
    return status;
  return CurrentRegistryStore().DeleteTree(ref);
}

LSTATUS RegListKey(HKEY key, const char* subKey, RegistryListing* listing) {
  if (!listing)
    return ERROR_INVALID_PARAMETER;
  RegistryKeyRef ref;
  if (LSTATUS status = Locate(key, subKey, &ref); status != ERROR_SUCCESS)
    return status;
  return CurrentRegistryStore().ListKey(ref, listing);
}
