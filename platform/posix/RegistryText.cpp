#include "platform/posix/RegistryText.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// Hex lines are broken before they get longer than this, counting the '\' that continues them.
constexpr size_t kLineWidth = 80;

std::string Quote(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '\\' || c == '"')
      out += '\\';
    out += c;
  }
  return out + '"';
}

bool IsPlainString(const RegistryValue& value) {
  if (value.type != REG_SZ || value.data.empty() || value.data.back() != 0)
    return false;
  return std::all_of(value.data.begin(), value.data.end() - 1,
                     [](BYTE b) { return b >= 0x20 && b <= 0x7E; });
}

void AppendHex(std::string& out, std::string line, const std::vector<BYTE>& data) {
  for (size_t i = 0; i < data.size(); ++i) {
    char item[4];
    std::snprintf(item, sizeof item, i + 1 < data.size() ? "%02x," : "%02x", data[i]);
    if (line.size() + std::string_view(item).size() + 1 > kLineWidth) {
      out += line + "\\\n";
      line = "  ";
    }
    line += item;
  }
  out += line + '\n';
}

void AppendValue(std::string& out, const RegistryValue& value) {
  std::string line = (value.name.empty() ? std::string("@") : Quote(value.name)) + "=";
  if (IsPlainString(value)) {
    auto text = reinterpret_cast<const char*>(value.data.data());
    out += line + Quote(std::string_view(text, value.data.size() - 1)) + '\n';
    return;
  }
  if (value.type == REG_DWORD && value.data.size() == 4) {
    DWORD number = value.data[0] | value.data[1] << 8 | value.data[2] << 16 |
                   static_cast<DWORD>(value.data[3]) << 24;
    char text[16];
    std::snprintf(text, sizeof text, "dword:%08x", number);
    out += line + text + '\n';
    return;
  }
  char type[24] = "hex:";
  if (value.type != REG_BINARY)
    std::snprintf(type, sizeof type, "hex(%x):", value.type);
  AppendHex(out, line + type, value.data);
}

void AppendKey(std::string& out, const std::string& name, const RegistryNode& key, bool isRoot) {
  if (!isRoot || !key.values.empty()) {
    out += "[" + name + "]\n";
    for (const RegistryValue& value : key.values)
      AppendValue(out, value);
    out += '\n';
  }
  for (const RegistryNode& subkey : key.subkeys)
    AppendKey(out, name + "\\" + subkey.name, subkey, false);
}

// The lines of the text without their line ends, each line that ends in '\' joined with the next
// one (whose leading blanks are dropped).
std::vector<std::string> LogicalLines(std::string_view text) {
  std::vector<std::string> lines;
  bool continued = false;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r')
      line.remove_suffix(1);
    if (continued) {
      line.remove_prefix(std::min(line.size(), line.find_first_not_of(" \t")));
      lines.back() += line;
    } else {
      lines.emplace_back(line);
    }
    continued = !lines.back().empty() && lines.back().back() == '\\';
    if (continued)
      lines.back().pop_back();
  }
  return lines;
}

bool IsBlank(std::string_view s) {
  return s.find_first_not_of(" \t") == std::string_view::npos;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  return -1;
}

// A number of 1 to `maxDigits` hex digits, and nothing else.
bool ParseHexNumber(std::string_view s, size_t maxDigits, DWORD* number) {
  if (s.empty() || s.size() > maxDigits)
    return false;
  *number = 0;
  for (char c : s) {
    int digit = HexDigit(c);
    if (digit < 0)
      return false;
    *number = *number << 4 | static_cast<DWORD>(digit);
  }
  return true;
}

// "6e,00,ff": bytes of one or two hex digits between commas; blanks and a final comma are fine.
bool ParseHexBytes(std::string_view s, std::vector<BYTE>* bytes) {
  while (!IsBlank(s)) {
    size_t comma = s.find(',');
    std::string_view item = s.substr(0, comma);
    size_t first = item.find_first_not_of(" \t");
    item = first == std::string_view::npos ? std::string_view() : item.substr(first);
    item = item.substr(0, item.find_last_not_of(" \t") + 1);
    DWORD byte = 0;
    if (!ParseHexNumber(item, 2, &byte))
      return false;
    bytes->push_back(static_cast<BYTE>(byte));
    s = comma == std::string_view::npos ? std::string_view() : s.substr(comma + 1);
  }
  return true;
}

// A quoted text starting at s[*pos] == '"'; '\' takes the next character as it is.
bool ParseQuoted(std::string_view s, size_t* pos, std::string* text) {
  if (*pos >= s.size() || s[*pos] != '"')
    return false;
  for (size_t i = *pos + 1; i < s.size(); ++i) {
    if (s[i] == '"') {
      *pos = i + 1;
      return true;
    }
    if (s[i] == '\\' && ++i == s.size())
      return false;
    *text += s[i];
  }
  return false;
}

bool ParseData(std::string_view s, RegistryValue* value) {
  if (s.starts_with('"')) {
    size_t end = 0;
    std::string text;
    if (!ParseQuoted(s, &end, &text) || !IsBlank(s.substr(end)))
      return false;
    value->type = REG_SZ;
    value->data.assign(text.begin(), text.end());
    value->data.push_back(0);
    return true;
  }
  if (s.starts_with("dword:")) {
    DWORD number = 0;
    if (!ParseHexNumber(s.substr(6), 8, &number))
      return false;
    value->type = REG_DWORD;
    value->data = {static_cast<BYTE>(number), static_cast<BYTE>(number >> 8),
                   static_cast<BYTE>(number >> 16), static_cast<BYTE>(number >> 24)};
    return true;
  }
  if (s.starts_with("hex:")) {
    value->type = REG_BINARY;
    return ParseHexBytes(s.substr(4), &value->data);
  }
  size_t close = s.find("):");
  if (!s.starts_with("hex(") || close == std::string_view::npos)
    return false;
  return ParseHexNumber(s.substr(4, close - 4), 8, &value->type) &&
         ParseHexBytes(s.substr(close + 2), &value->data);
}

bool ParseValueLine(std::string_view line, RegistryValue* value) {
  size_t pos = 0;
  if (line.starts_with('@'))
    pos = 1;
  else if (!ParseQuoted(line, &pos, &value->name))
    return false;
  pos = line.find_first_not_of(" \t", pos);
  if (pos == std::string_view::npos || line[pos] != '=')
    return false;
  line = line.substr(pos + 1);
  return ParseData(line.substr(std::min(line.size(), line.find_first_not_of(" \t"))), value);
}

// "[ROOT\a\b]" gives the path a, b below the root.
bool ParseKeyLine(std::string_view line, RegistryRoot root, KeyPath* path) {
  size_t close = line.rfind(']');
  if (close == std::string_view::npos || !IsBlank(line.substr(close + 1)))
    return false;
  std::string_view name = line.substr(1, close - 1);
  std::string_view rootName = RegistryRootName(root);
  if (CompareRegistryNames(name.substr(0, rootName.size()), rootName) != 0)
    return false;
  name.remove_prefix(rootName.size());
  path->clear();
  if (name.empty())
    return true;
  if (name.front() != '\\')
    return false;
  while (!name.empty()) {
    name.remove_prefix(1);
    size_t end = std::min(name.size(), name.find('\\'));
    if (end == 0)
      return false;
    path->emplace_back(name.substr(0, end));
    name.remove_prefix(end);
  }
  return true;
}

}  // namespace

std::string FormatRegistryText(RegistryRoot root, const RegistryNode& top) {
  std::string out = std::string(kHeader) + "\n\n";
  AppendKey(out, RegistryRootName(root), top, true);
  return out;
}

bool ParseRegistryText(std::string_view text, RegistryRoot root, RegistryNode* top) {
  *top = RegistryNode{};
  if (text.starts_with(kByteOrderMark))
    text.remove_prefix(kByteOrderMark.size());
  std::vector<std::string> lines = LogicalLines(text);
  auto line = std::find_if_not(lines.begin(), lines.end(), IsBlank);
  if (line == lines.end() || *line != kHeader)
    return false;
  bool inKey = false;
  KeyPath path;
  bool created = false;
  for (++line; line != lines.end(); ++line) {
    if (IsBlank(*line) || line->starts_with(';'))
      continue;
    if (line->starts_with('[')) {
      if (!ParseKeyLine(*line, root, &path))
        return false;
      top->Create(path, &created);
      inKey = true;
      continue;
    }
    RegistryValue value;
    if (!inKey || !ParseValueLine(*line, &value))
      return false;
    top->Create(path, &created).SetValue(value);
  }
  return true;
}
