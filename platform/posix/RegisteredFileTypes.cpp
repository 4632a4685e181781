#include "platform/posix/RegisteredFileTypes.h"

#include <algorithm>
#include <cstdlib>

#include "platform/Registry.h"

namespace {

// The key's default value when it is a string; nothing when the key or the value is missing.
bool ReadDefault(const std::string& path, std::string* text) {
  RegistryListing listing;
  if (RegListKey(HKEY_CLASSES_ROOT, path.c_str(), &listing) != ERROR_SUCCESS)
    return false;
  text->clear();
  for (const RegistryValue& value : listing.values) {
    if (!value.name.empty() || value.type != REG_SZ)
      continue;
    text->assign(value.data.begin(), value.data.end());
    // The stored text ends at its NUL.
    text->resize(text->find('\0') == std::string::npos ? text->size() : text->find('\0'));
  }
  return true;
}

// "<file>,<index>": the index, or 0 when there is none.
const Icon* IconOfLocation(const std::string& location) {
  if (location.empty())
    return nullptr;
  size_t comma = location.rfind(',');
  if (comma == std::string::npos)
    return IconAtIndex(0);
  std::string digits = location.substr(comma + 1);
  char* end = nullptr;
  long index = std::strtol(digits.c_str(), &end, 10);
  if (digits.empty() || *end != '\0' || index < -65535 || index > 65535)
    return nullptr;
  return IconAtIndex(static_cast<int>(index));
}

// The default verb is the one that the shell key names, else "open".
std::string DefaultVerbCommand(const std::string& typeName) {
  std::string verb;
  if (!ReadDefault(typeName + "\\shell", &verb) || verb.empty())
    verb = "open";
  std::string command;
  if (!ReadDefault(typeName + "\\shell\\" + verb + "\\command", &command))
    return std::string();
  return command;
}

}  // namespace

std::string ProgramOfCommand(const std::string& command) {
  auto endsWith = [&](const std::string& tail) {
    return command.size() >= tail.size() &&
           command.compare(command.size() - tail.size(), tail.size(), tail) == 0;
  };
  // A quoted program runs from the first quote to the quote before the file's path, which keeps
  // quotes inside a path that the program's own writer put there.
  if (!command.empty() && command[0] == '"') {
    for (const char* tail : {"\" %1", "\" \"%1\""}) {
      size_t length = std::char_traits<char>::length(tail);
      if (command.size() > length && endsWith(tail))
        return command.substr(1, command.size() - length - 1);
    }
    return std::string();
  }
  for (const char* tail : {" %1", " \"%1\""}) {
    size_t length = std::char_traits<char>::length(tail);
    std::string program = command.substr(0, command.size() - std::min(length, command.size()));
    if (endsWith(tail) && !program.empty() && program.find(' ') == std::string::npos)
      return program;
  }
  return std::string();
}

std::vector<DesktopFileType> ReadRegisteredFileTypes() {
  std::vector<DesktopFileType> types;
  RegistryListing root;
  if (RegListKey(HKEY_CLASSES_ROOT, "", &root) != ERROR_SUCCESS)
    return types;
  for (const std::string& key : root.subkeys) {
    DesktopFileType type;
    std::string typeName;
    if (key.size() < 2 || key[0] != '.' || !ReadDefault(key, &typeName) || typeName.empty())
      continue;
    type.extension = key.substr(1);
    type.mimeType = MimeTypeOfExtension(type.extension);
    if (type.mimeType.empty() || !ReadDefault(typeName, &type.description))
      continue;
    if (type.description.empty())
      type.description = typeName;
    std::string iconLocation;
    if (ReadDefault(typeName + "\\DefaultIcon", &iconLocation))
      type.icon = IconOfLocation(iconLocation);
    type.program = ProgramOfCommand(DefaultVerbCommand(typeName));
    types.push_back(type);
  }
  return types;
}
