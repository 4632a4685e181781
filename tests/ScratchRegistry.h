// A registry of its own for one test: XDG_CONFIG_HOME points at a fresh folder while the object
// lives, and the store is made again from it. On Windows the store is the real registry, with both
// roots placed in a fresh key of the test program's own. With the helpers that every registry test
// uses.
#pragma once

#include <stdlib.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "platform/Registry.h"
#include "platform/RegistryStore.h"

#if defined(_WIN32)
#include "platform/win32/WindowsRegistryStore.h"

class ScratchRegistry {
 public:
  ScratchRegistry() : store_(TestRegistryStore(dir_.Root().filename().string())) {
    SetRegistryStore(&store_);
  }
  ~ScratchRegistry() { SetRegistryStore(nullptr); }

  const TempDir& Dir() const { return dir_; }

 private:
  TempDir dir_;
  WindowsRegistryStore store_;
};
#else
class ScratchRegistry {
 public:
  // `config` is the XDG_CONFIG_HOME to use, relative to the scratch folder.
  explicit ScratchRegistry(const std::string& config = "config") : config_(dir_.Path(config)) {
    if (const char* was = getenv("XDG_CONFIG_HOME"))
      saved_ = was;
    setenv("XDG_CONFIG_HOME", config_.c_str(), 1);
    ResetRegistryStore();
  }
  ~ScratchRegistry() {
    if (saved_)
      setenv("XDG_CONFIG_HOME", saved_->c_str(), 1);
    else
      unsetenv("XDG_CONFIG_HOME");
    ResetRegistryStore();
  }

  const TempDir& Dir() const { return dir_; }
  std::string Folder() const { return config_ + "/lintaro"; }
  std::string File(const std::string& root = "HKEY_CURRENT_USER") const {
    return Folder() + "/" + root + ".reg";
  }

 private:
  TempDir dir_;
  std::string config_;
  std::optional<std::string> saved_;
};
#endif

using Bytes = std::vector<BYTE>;

// The bytes of a literal, NULs included, without the one that ends it.
template <size_t N>
Bytes B(const char (&text)[N]) {
  return Bytes(text, text + N - 1);
}

// The whole file, or "" when it cannot be read.
inline std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Creates the key (and the path to it) and sets one value in it.
inline LSTATUS SetRegistryValue(HKEY root, const char* path, const char* name, DWORD type,
                                const Bytes& data) {
  HKEY key = nullptr;
  LSTATUS status = RegCreateKeyExA(root, path, 0, "", REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                                   nullptr, &key, nullptr);
  if (status != ERROR_SUCCESS)
    return status;
  status = RegSetValueExA(key, name, 0, type, data.data(), static_cast<DWORD>(data.size()));
  RegCloseKey(key);
  return status;
}

// The value's type and bytes, or nothing.
inline std::optional<RegistryValue> GetRegistryValue(HKEY root, const char* path,
                                                     const char* name) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
    return std::nullopt;
  RegistryValue value{name ? name : "", 0, {}};
  DWORD size = 0;
  LSTATUS status = RegQueryValueExA(key, name, nullptr, &value.type, nullptr, &size);
  value.data.resize(size);
  if (status == ERROR_SUCCESS)
    status = RegQueryValueExA(key, name, nullptr, &value.type, value.data.data(), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS)
    return std::nullopt;
  return value;
}

// Whether the key exists.
inline bool HasRegistryKey(HKEY root, const char* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}
