// The registry as the program calls it: Win32 names, values and results. Every call goes to the
// process's registry store (platform/RegistryStore.h); a handle names a root and a key path, and
// each operation through it asks the store again, so changes made meanwhile by another running
// instance are seen.
#pragma once

#include <cstdint>

#include "platform/RegistryTypes.h"
#include "platform/Win32.h"

struct RegistryKeyHandle;
using HKEY = RegistryKeyHandle*;
using REGSAM = DWORD;
struct SECURITY_ATTRIBUTES;

// The predefined roots: always open, never closed.
inline HKEY const HKEY_CLASSES_ROOT = reinterpret_cast<HKEY>(uintptr_t{0x80000000});
inline HKEY const HKEY_CURRENT_USER = reinterpret_cast<HKEY>(uintptr_t{0x80000001});

// Access rights and options: accepted and not checked, since the store has one user.
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;
constexpr DWORD REG_OPTION_NON_VOLATILE = 0;

// Names and paths: a key path is names joined by '\'; a null or empty path is the key itself; a
// null or empty value name is the key's default value. Names match without regard to the case of
// ASCII letters and keep the case they were created with. An empty name in a path, or a line
// break in any name, is ERROR_INVALID_PARAMETER. Through a handle whose key has been deleted
// meanwhile every call fails with ERROR_KEY_DELETED; through a closed one, ERROR_INVALID_HANDLE.

// Opens the key, creating every missing key along the path.
LSTATUS RegCreateKeyExA(HKEY key, const char* subKey, DWORD reserved, const char* keyClass,
                        DWORD options, REGSAM access, const SECURITY_ATTRIBUTES* security,
                        HKEY* result, DWORD* disposition);
// Opens an existing key; ERROR_FILE_NOT_FOUND when it is missing.
LSTATUS RegOpenKeyExA(HKEY key, const char* subKey, DWORD options, REGSAM access, HKEY* result);
LSTATUS RegCloseKey(HKEY key);

// Reads a value. With `data` null only the type and the size are reported. When the value is
// longer than *size, nothing is copied, *size becomes the length needed and the result is
// ERROR_MORE_DATA. On success *size is the count of bytes copied.
LSTATUS RegQueryValueExA(HKEY key, const char* name, DWORD* reserved, DWORD* type, BYTE* data,
                         DWORD* size);
// Creates or replaces a value, storing the type as given.
LSTATUS RegSetValueExA(HKEY key, const char* name, DWORD reserved, DWORD type, const BYTE* data,
                       DWORD size);

// Deletes a key that has no subkeys (its values go with it).
LSTATUS RegDeleteKeyA(HKEY key, const char* subKey);
// Deletes a key with everything below it; with an empty path, empties the key itself.
LSTATUS RegDeleteTreeA(HKEY key, const char* subKey);

// A key's values and the names of its direct subkeys (RegistryListing).
LSTATUS RegListKey(HKEY key, const char* subKey, RegistryListing* listing);
