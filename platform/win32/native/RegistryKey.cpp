#include "platform/win32/native/RegistryKey.h"

#include <windows.h>

#include <utility>

namespace native {
namespace {
HKEY RootKey(RegistryRoot root) {
  return root == RegistryRoot::ClassesRoot ? HKEY_CLASSES_ROOT : HKEY_CURRENT_USER;
}

HKEY AsKey(Handle key) {
  return static_cast<HKEY>(key);
}

// Names longer than this are not allowed for keys (255) and values (16383) alike.
constexpr DWORD kMaxName = 16384;

bool DeleteBelow(HKEY parent, const std::string& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(parent, path.c_str(), 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS)
    return false;
  std::vector<char> name(kMaxName);
  bool ok = true;
  // Always the first subkey: each one deleted moves the rest up.
  for (;;) {
    DWORD length = kMaxName;
    LONG status = RegEnumKeyExA(key, 0, name.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status != ERROR_SUCCESS)
      break;
    if (!DeleteBelow(key, std::string(name.data(), length))) {
      ok = false;
      break;
    }
  }
  RegCloseKey(key);
  return ok && RegDeleteKeyA(parent, path.c_str()) == ERROR_SUCCESS;
}

// Every name that `enumerate` gives for the indices 0, 1, 2... until it fails.
template <typename Enumerate>
std::vector<std::string> Names(Enumerate enumerate) {
  std::vector<std::string> names;
  std::vector<char> name(kMaxName);
  for (DWORD index = 0;; ++index) {
    DWORD length = kMaxName;
    if (enumerate(index, name.data(), &length) != ERROR_SUCCESS)
      return names;
    names.emplace_back(name.data(), length);
  }
}
}  // namespace

RegistryKey::~RegistryKey() {
  Close();
}

RegistryKey::RegistryKey(RegistryKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}

RegistryKey& RegistryKey::operator=(RegistryKey&& other) noexcept {
  if (this != &other) {
    Close();
    key_ = std::exchange(other.key_, nullptr);
  }
  return *this;
}

bool RegistryKey::Create(RegistryRoot root, const std::string& path) {
  return CreateWithStatus(root, path, nullptr) == ERROR_SUCCESS;
}

long RegistryKey::CreateWithStatus(RegistryRoot root, const std::string& path, bool* created) {
  Close();
  HKEY key = nullptr;
  DWORD disposition = 0;
  LONG status = RegCreateKeyExA(RootKey(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                KEY_READ | KEY_WRITE, nullptr, &key, &disposition);
  if (status != ERROR_SUCCESS)
    return status;
  key_ = key;
  if (created)
    *created = disposition == REG_CREATED_NEW_KEY;
  return ERROR_SUCCESS;
}

long RegistryKey::OpenWithStatus(RegistryRoot root, const std::string& path, bool write) {
  Close();
  HKEY key = nullptr;
  REGSAM access = write ? KEY_READ | KEY_WRITE : KEY_READ;
  LONG status = RegOpenKeyExA(RootKey(root), path.c_str(), 0, access, &key);
  if (status != ERROR_SUCCESS)
    return status;
  key_ = key;
  return ERROR_SUCCESS;
}

void RegistryKey::Close() {
  if (key_)
    RegCloseKey(AsKey(key_));
  key_ = nullptr;
}

long RegistryKey::QueryValue(const std::string& name, uint32_t* type,
                             std::vector<uint8_t>* data) const {
  if (!key_)
    return ERROR_INVALID_HANDLE;
  // The value may grow between asking its size and reading it; ask again then.
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD size = 0;
    LONG status = RegQueryValueExA(AsKey(key_), name.c_str(), nullptr, nullptr, nullptr, &size);
    if (status != ERROR_SUCCESS)
      return status;
    data->assign(size, 0);
    DWORD actualType = 0;
    status = RegQueryValueExA(AsKey(key_), name.c_str(), nullptr, &actualType, data->data(), &size);
    if (status == ERROR_MORE_DATA)
      continue;
    if (status != ERROR_SUCCESS)
      return status;
    data->resize(size);
    *type = actualType;
    return ERROR_SUCCESS;
  }
  return ERROR_MORE_DATA;
}

long RegistryKey::SetValue(const std::string& name, uint32_t type,
                           const std::vector<uint8_t>& data) {
  if (!key_)
    return ERROR_INVALID_HANDLE;
  if (data.size() > MAXDWORD)
    return ERROR_INVALID_PARAMETER;
  return RegSetValueExA(AsKey(key_), name.c_str(), 0, type, data.data(),
                        static_cast<DWORD>(data.size()));
}

bool RegistryKey::DeleteValue(const std::string& name) {
  return key_ && RegDeleteValueA(AsKey(key_), name.c_str()) == ERROR_SUCCESS;
}

std::vector<std::string> RegistryKey::SubKeyNames() const {
  return Names([this](DWORD index, char* name, DWORD* length) {
    return RegEnumKeyExA(AsKey(key_), index, name, length, nullptr, nullptr, nullptr, nullptr);
  });
}

std::vector<std::string> RegistryKey::ValueNames() const {
  return Names([this](DWORD index, char* name, DWORD* length) {
    return RegEnumValueA(AsKey(key_), index, name, length, nullptr, nullptr, nullptr, nullptr);
  });
}

long RegistryKey::DeleteKeyWithStatus(RegistryRoot root, const std::string& path) {
  // An empty path would name the root itself.
  if (path.empty())
    return ERROR_ACCESS_DENIED;
  return RegDeleteKeyA(RootKey(root), path.c_str());
}

bool RegistryKey::DeleteTree(RegistryRoot root, const std::string& path) {
  // An empty path would name the root itself.
  if (path.empty())
    return false;
  return DeleteBelow(RootKey(root), path);
}

}  // namespace native
