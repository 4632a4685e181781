// A byte value in the registry together with its size value, the value's name followed by
// " - SIZE" (a REG_DWORD), which is written first and read first.
#pragma once

#include <string>

#include "platform/Registry.h"

class RegistryBlob {
 public:
  RegistryBlob() = default;
  virtual ~RegistryBlob();
  RegistryBlob(const RegistryBlob&) = delete;
  RegistryBlob& operator=(const RegistryBlob&) = delete;

  // The bytes of the value, or null. They belong to the blob and stay valid until the next
  // ReadBlob or the blob's end. *size is the count of bytes read: the size value, or fewer when
  // the value holds fewer.
  BYTE* ReadBlob(HKEY root, std::string subKey, std::string name, DWORD* size);
  // True when both the size value and the bytes were written.
  bool WriteBlob(HKEY root, std::string subKey, std::string name, const BYTE* data, DWORD size);
  bool DeleteKey(HKEY root, std::string subKey);

 private:
  BYTE* buffer_ = nullptr;  // from malloc
};
