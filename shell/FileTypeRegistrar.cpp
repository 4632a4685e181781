#include "shell/FileTypeRegistrar.h"

#include <algorithm>

#include "platform/Module.h"
#include "platform/ShellNotify.h"

namespace {
constexpr DWORD kModulePathSize = 1024;
}  // namespace

void FileTypeRegistrar::RegisterRunningProgram(std::string extension, std::string typeName,
                                               std::string description, std::string verbText) {
  char modulePath[kModulePathSize];
  DWORD length = GetModuleFileNameA(nullptr, modulePath, kModulePathSize);
  if (length == 0 || length >= kModulePathSize)
    return;
  RegisterFileType(modulePath, extension, typeName, description, verbText);
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

void FileTypeRegistrar::Unregister(std::span<const char* const> keys) {
  for (const char* key : keys)
    RegDeleteKeyA(HKEY_CLASSES_ROOT, key);
  SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

bool FileTypeRegistrar::RegisterFileType(std::string modulePath, std::string extension,
                                         std::string typeName, std::string description,
                                         std::string verbText) {
  if (!RegisterExtension(extension, typeName))
    return false;
  if (!RegisterTypeKey(typeName, description, modulePath))
    return false;
  return RegisterShellVerb(typeName, verbText, modulePath);
}

bool FileTypeRegistrar::RegisterExtension(std::string extension, std::string typeName) {
  return SetClassesRootValue("." + extension, typeName, "");
}

bool FileTypeRegistrar::RegisterTypeKey(std::string typeName, std::string description,
                                        std::string modulePath) {
  if (!SetClassesRootValue(typeName, description, ""))
    return false;
  return SetClassesRootValue(typeName + "\\DefaultIcon", modulePath + ",0", "");
}

bool FileTypeRegistrar::RegisterShellVerb(std::string typeName, std::string verbText,
                                          std::string modulePath) {
  // The shell's default verb is named by the shell key's value and found by its key name, which
  // carries no menu mnemonic; only the verb key's own value keeps the '&' for the menu.
  std::string plainVerb = verbText;
  plainVerb.erase(std::remove(plainVerb.begin(), plainVerb.end(), '&'), plainVerb.end());
  std::string verbKey = plainVerb;
  std::transform(verbKey.begin(), verbKey.end(), verbKey.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  if (!SetClassesRootValue(typeName + "\\shell", plainVerb, ""))
    return false;
  std::string verbPath = typeName + "\\shell\\" + verbKey;
  if (!SetClassesRootValue(verbPath, verbText, ""))
    return false;
  return SetClassesRootValue(verbPath + "\\command", "\"" + modulePath + "\"" + " %1", "");
}

bool FileTypeRegistrar::SetClassesRootValue(std::string subKey, std::string data,
                                            std::string valueName) {
  return SetStringValue(HKEY_CLASSES_ROOT, subKey, data, valueName);
}

bool FileTypeRegistrar::SetStringValue(HKEY root, std::string subKey, std::string data,
                                       std::string valueName) {
  HKEY key = nullptr;
  if (RegCreateKeyExA(root, subKey.c_str(), 0, "", REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                      &key, nullptr) != ERROR_SUCCESS) {
    return false;
  }
  LSTATUS status =
      RegSetValueExA(key, valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                     static_cast<DWORD>(data.size() + 1));
  RegCloseKey(key);
  return status == ERROR_SUCCESS;
}
