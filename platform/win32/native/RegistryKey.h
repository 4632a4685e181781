// A key of the registry, opened or created under one of the roots, with its values and subkeys.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/win32/native/NativeTypes.h"

namespace native {

enum class RegistryRoot { CurrentUser, ClassesRoot };

class RegistryKey {
 public:
  RegistryKey() = default;
  ~RegistryKey();
  RegistryKey(RegistryKey&& other) noexcept;
  RegistryKey& operator=(RegistryKey&& other) noexcept;
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;

  // Opens the key, creating it and the keys above it when missing, for reading and writing.
  bool Create(RegistryRoot root, const std::string& path);
  // The same, and opening a key that exists, with the window system's result code (0 on success,
  // else its ERROR_ code) and whether the key was new.
  long CreateWithStatus(RegistryRoot root, const std::string& path, bool* created);
  long OpenWithStatus(RegistryRoot root, const std::string& path, bool write);
  bool IsOpen() const { return key_ != nullptr; }
  void Close();

  // Values; the empty name is the key's default value.
  bool DeleteValue(const std::string& name);
  // A value as stored, whatever its type; the result code.
  long QueryValue(const std::string& name, uint32_t* type, std::vector<uint8_t>* data) const;
  long SetValue(const std::string& name, uint32_t type, const std::vector<uint8_t>& data);

  std::vector<std::string> SubKeyNames() const;
  std::vector<std::string> ValueNames() const;

  // Deletes a key that has no subkeys.
  static long DeleteKeyWithStatus(RegistryRoot root, const std::string& path);
  // Deletes a key with everything below it.
  static bool DeleteTree(RegistryRoot root, const std::string& path);

 private:
  Handle key_ = nullptr;
};

}  // namespace native
