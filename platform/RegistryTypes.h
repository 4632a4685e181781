// The registry's results, value types, values and listings: what both the registry calls
// (platform/Registry.h) and its store (platform/RegistryStore.h) speak.
#pragma once

#include <string>
#include <vector>

#include "platform/Win32.h"

using LSTATUS = LONG;

// Results.
constexpr LSTATUS ERROR_SUCCESS = 0;
constexpr LSTATUS ERROR_FILE_NOT_FOUND = 2;
constexpr LSTATUS ERROR_ACCESS_DENIED = 5;
constexpr LSTATUS ERROR_INVALID_HANDLE = 6;
constexpr LSTATUS ERROR_OUTOFMEMORY = 14;
constexpr LSTATUS ERROR_WRITE_FAULT = 29;
constexpr LSTATUS ERROR_READ_FAULT = 30;
constexpr LSTATUS ERROR_INVALID_PARAMETER = 87;
constexpr LSTATUS ERROR_MORE_DATA = 234;
constexpr LSTATUS ERROR_KEY_DELETED = 1018;

// Value types.
constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;

// What creating a key did (RegCreateKeyExA, RegistryStore::CreateKey).
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// A value as the store keeps it: its name, its type as given, and its bytes.
struct RegistryValue {
  std::string name;
  DWORD type = REG_NONE;
  std::vector<BYTE> data;
  friend bool operator==(const RegistryValue&, const RegistryValue&) = default;
};

// A key's values and the names of its direct subkeys, each in name order (ASCII letters compared
// as upper case).
struct RegistryListing {
  std::vector<RegistryValue> values;
  std::vector<std::string> subkeys;
};
