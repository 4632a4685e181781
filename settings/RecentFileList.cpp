#include "settings/RecentFileList.h"

#include <algorithm>
#include <cstring>

#include "platform/FullPath.h"
#include "platform/Registry.h"
#include "platform/ShellNotify.h"
#include "settings/SettingsRecord.h"

namespace {
constexpr char kSubKey[] = "Recent File List";
// No system names a file with a longer path; a longer value is not one the program wrote.
constexpr DWORD kLongestPath = 32767;

std::string ValueName(size_t index) {
  return "File" + std::to_string(index + 1);
}

std::string FullPath(const std::string& path) {
  DWORD needed = GetFullPathNameA(path.c_str(), 0, nullptr, nullptr);
  if (needed == 0)
    return path;
  std::string full(needed, '\0');
  DWORD length = GetFullPathNameA(path.c_str(), needed, full.data(), nullptr);
  if (length == 0 || length >= needed)
    return path;
  full.resize(length);
  return full;
}

// A string value's text, up to its first NUL; empty when the value is not a usable string.
std::string ReadString(HKEY key, const std::string& name) {
  DWORD type = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      type != REG_SZ || size == 0 || size > kLongestPath + 1) {
    return std::string();
  }
  std::string text(size, '\0');
  if (RegQueryValueExA(key, name.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(text.data()),
                       &size) != ERROR_SUCCESS) {
    return std::string();
  }
  text.resize(std::strlen(text.c_str()));
  return text;
}
}  // namespace

std::string RecentFileList::Key() {
  return std::string(SettingsRecord::kKey) + "\\" + kSubKey;
}

void RecentFileList::ReadList() {
  files_.clear();
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, Key().c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
    return;
  for (size_t i = 0; i < kSize; ++i) {
    std::string file = ReadString(key, ValueName(i));
    if (!file.empty() && std::find(files_.begin(), files_.end(), file) == files_.end())
      files_.push_back(std::move(file));
  }
  RegCloseKey(key);
}

void RecentFileList::Save(bool keep) const {
  // What was stored goes first, so that no value of an older, longer list stays behind.
  RegDeleteKeyA(HKEY_CURRENT_USER, Key().c_str());
  if (!keep || files_.empty())
    return;
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, Key().c_str(), 0, "", REG_OPTION_NON_VOLATILE,
                      KEY_ALL_ACCESS, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    return;
  }
  for (size_t i = 0; i < files_.size(); ++i) {
    const std::string& file = files_[i];
    RegSetValueExA(key, ValueName(i).c_str(), 0, REG_SZ,
                   reinterpret_cast<const BYTE*>(file.c_str()),
                   static_cast<DWORD>(file.size() + 1));
  }
  RegCloseKey(key);
}

void RecentFileList::Add(const std::string& path) {
  std::string full = FullPath(path);
  std::erase(files_, full);
  files_.insert(files_.begin(), full);
  if (files_.size() > kSize)
    files_.resize(kSize);
  SHAddToRecentDocs(SHARD_PATHA, full.c_str());
}

// A stored name may be in another form than the program would write (a list from another tool
// or an older program), so both sides are compared as full paths.
void RecentFileList::Remove(const std::string& path) {
  std::string full = FullPath(path);
  std::erase_if(files_, [&](const std::string& file) { return FullPath(file) == full; });
}
