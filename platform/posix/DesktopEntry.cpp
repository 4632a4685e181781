#include "platform/posix/DesktopEntry.h"

#include <cstring>

#include "platform/posix/Utf8.h"

namespace {

bool IsReserved(char c) {
  return c != '\0' && std::strchr(" \t\n\r\"'\\><~|&;$*?#()`", c) != nullptr;
}

}  // namespace

bool DesktopStringValue(const std::string& text, std::string* value) {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    char c = text[i];
    if (c == '\\' || c == '\n' || c == '\t' || c == '\r') {
      out += c == '\\' ? "\\\\" : c == '\n' ? "\\n" : c == '\t' ? "\\t" : "\\r";
      ++i;
      continue;
    }
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
      return false;
    size_t length = Utf8SequenceLength(text, i);
    if (length == 0)
      return false;
    out.append(text, i, length);
    i += length;
  }
  *value = out;
  return true;
}

bool ExecProgramArgument(const std::string& program, std::string* argument) {
  bool absolute = !program.empty() && program[0] == '/';
  bool bareName = !program.empty() && program.find('/') == std::string::npos;
  if (!absolute && !bareName)
    return false;
  bool quote = false;
  for (char c : program)
    quote = quote || IsReserved(c);
  std::string out = quote ? "\"" : "";
  for (char c : program) {
    if (quote && (c == '"' || c == '`' || c == '$' || c == '\\'))
      out += '\\';
    out += c;
    // A lone '%' would start a field code.
    if (c == '%')
      out += '%';
  }
  if (quote)
    out += '"';
  *argument = out;
  return true;
}

bool DesktopEntryText(const std::string& appName, const std::string& program,
                      const std::string& iconName, const std::vector<std::string>& mimeTypes,
                      std::string* text) {
  std::string argument, exec, name;
  if (!ExecProgramArgument(program, &argument) || !DesktopStringValue(argument + " %f", &exec) ||
      !DesktopStringValue(appName, &name) || name.empty()) {
    return false;
  }
  std::string out = "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=" + exec + "\n";
  if (!iconName.empty())
    out += "Icon=" + iconName + "\n";
  out += "Terminal=false\nCategories=Office;Viewer;\nMimeType=";
  for (const std::string& type : mimeTypes)
    out += type + ";";
  *text = out + "\n";
  return true;
}
