// Writes the keys under HKEY_CLASSES_ROOT that make a program the handler of a file type: the
// extension names the type, the type has a description, an icon and a default verb whose command
// starts the program with the file's path.
#pragma once

#include <span>
#include <string>

#include "platform/Registry.h"

class FileTypeRegistrar {
 public:
  virtual ~FileTypeRegistrar() = default;

  // The Register command: makes the running program the handler of the type, then tells the
  // desktop, so that where the keys alone open nothing its own files follow them. A program whose
  // path does not fit the path buffer stays unregistered: a cut path names no program.
  void RegisterRunningProgram(std::string extension, std::string typeName, std::string description,
                              std::string verbText);
  // The Unregister command: deletes the keys in the order given, then tells the desktop.
  static void Unregister(std::span<const char* const> keys);

  // Every key, stopping at the first that cannot be written.
  bool RegisterFileType(std::string modulePath, std::string extension, std::string typeName,
                        std::string description, std::string verbText);
  // "." + extension, naming the type.
  bool RegisterExtension(std::string extension, std::string typeName);
  // The type's description and its DefaultIcon.
  bool RegisterTypeKey(std::string typeName, std::string description, std::string modulePath);
  // The default verb, the verb's menu text and its command.
  bool RegisterShellVerb(std::string typeName, std::string verbText, std::string modulePath);

  bool SetClassesRootValue(std::string subKey, std::string data, std::string valueName);
  // Creates or opens the key and sets one REG_SZ value, stored with its ending NUL.
  bool SetStringValue(HKEY root, std::string subKey, std::string data, std::string valueName);
};
