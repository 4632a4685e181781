#include "settings/RegistryBlob.h"

#include <algorithm>
#include <cstdlib>

namespace {

std::string SizeValueName(const std::string& name) {
  return name + " - SIZE";
}

}  // namespace

RegistryBlob::~RegistryBlob() {
  std::free(buffer_);
}

BYTE* RegistryBlob::ReadBlob(HKEY root, std::string subKey, std::string name, DWORD* size) {
  // 1. The bytes of an earlier read go.
  std::free(buffer_);
  buffer_ = nullptr;

  // 2. Open the key.
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
    return nullptr;

  // 3. The size value must hold exactly 4 bytes: a shorter one would leave part of the size unset.
  BYTE sizeBytes[4] = {};
  DWORD sizeLength = sizeof sizeBytes;
  LSTATUS status =
      RegQueryValueExA(key, SizeValueName(name).c_str(), nullptr, nullptr, sizeBytes, &sizeLength);
  if (status != ERROR_SUCCESS || sizeLength != sizeof sizeBytes) {
    RegCloseKey(key);
    return nullptr;
  }
  *size = sizeBytes[0] | sizeBytes[1] << 8 | sizeBytes[2] << 16 |
          static_cast<DWORD>(sizeBytes[3]) << 24;

  // 4. A buffer of that size, owned from now on (at least one byte, so that null means failure).
  //    A damaged size value may claim up to 4 GiB; no more is taken than the value holds, which
  //    reads the same bytes, since a value longer than the size fails below all the same.
  DWORD stored = 0;
  if (RegQueryValueExA(key, name.c_str(), nullptr, nullptr, nullptr, &stored) != ERROR_SUCCESS) {
    RegCloseKey(key);
    return nullptr;
  }
  *size = std::min(*size, stored);
  buffer_ = static_cast<BYTE*>(std::malloc(*size > 0 ? *size : 1));
  if (!buffer_) {
    RegCloseKey(key);
    return nullptr;
  }

  // 5. The bytes; a value longer than the size value does not fit and fails. A shorter one is
  //    read as it is, and *size becomes its length, so no reader goes past what was stored.
  status = RegQueryValueExA(key, name.c_str(), nullptr, nullptr, buffer_, size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS)
    return nullptr;

  return buffer_;
}

bool RegistryBlob::WriteBlob(HKEY root, std::string subKey, std::string name, const BYTE* data,
                             DWORD size) {
  // 1. Create or open the key.
  HKEY key = nullptr;
  if (RegCreateKeyExA(root, subKey.c_str(), 0, "", REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                      &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }

  // 2. The size value first; without it the bytes are not written.
  BYTE sizeBytes[4] = {static_cast<BYTE>(size), static_cast<BYTE>(size >> 8),
                       static_cast<BYTE>(size >> 16), static_cast<BYTE>(size >> 24)};
  if (RegSetValueExA(key, SizeValueName(name).c_str(), 0, REG_DWORD, sizeBytes, sizeof sizeBytes) !=
      ERROR_SUCCESS) {
    RegCloseKey(key);
    return false;
  }

  // 3, 4. Then the bytes.
  LSTATUS status = RegSetValueExA(key, name.c_str(), 0, REG_BINARY, data, size);
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}

bool RegistryBlob::DeleteKey(HKEY root, std::string subKey) {
  return RegDeleteKeyA(root, subKey.c_str()) == ERROR_SUCCESS;
}
