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
  bool Open(RegistryRoot root, const std::string& path, bool write = false);
  // The same, with the window system's result code (0 on success, else its ERROR_ code) and, for
  // the first, whether the key was new.
  long CreateWithStatus(RegistryRoot root, const std::string& path, bool* created);
  long OpenWithStatus(RegistryRoot root, const std::string& path, bool write);
  bool IsOpen() const { return key_ != nullptr; }
  void Close();

  // Values; the empty name is the key's default value. A read fails when the value is missing or
  // has another type.
  bool SetBinary(const std::string& name, const std::vector<uint8_t>& data);
  bool GetBinary(const std::string& name, std::vector<uint8_t>* data) const;
  bool SetDword(const std::string& name, uint32_t value);
  bool GetDword(const std::string& name, uint32_t* value) const;
  bool SetString(const std::string& name, const std::string& value);
  bool GetString(const std::string& name, std::string* value) const;
  bool DeleteValue(const std::string& name);
  // A value as stored, whatever its type; the result code.
  long QueryValue(const std::string& name, uint32_t* type, std::vector<uint8_t>* data) const;
  long SetValue(const std::string& name, uint32_t type, const std::vector<uint8_t>& data);

  std::vector<std::string> SubKeyNames() const;
  std::vector<std::string> ValueNames() const;

  // Deletes a key that has no subkeys.
  static bool DeleteKey(RegistryRoot root, const std::string& path);
  static long DeleteKeyWithStatus(RegistryRoot root, const std::string& path);
  // Deletes a key with everything below it.
  static bool DeleteTree(RegistryRoot root, const std::string& path);

 private:
  bool Read(const std::string& name, unsigned long type, std::vector<uint8_t>* data) const;
  bool Write(const std::string& name, unsigned long type, const void* data, size_t size);

  Handle key_ = nullptr;
};

}  // namespace native
