#include "tools/ScriptParser.h"

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <sstream>
#include <string_view>
#include <utility>

#include "app/Commands.h"

namespace {
// Whether a number fits the 32-bit field that the step hands it to: a larger one would wrap round
// to another item or column.
bool Fits32(long value) {
  return value >= std::numeric_limits<int32_t>::min() &&
         value <= std::numeric_limits<int32_t>::max();
}

// A whole decimal number of 32 bits, optionally signed; nothing else on the text.
bool ParseInt(const std::string& text, long& value) {
  if (text.empty())
    return false;
  char* end = nullptr;
  errno = 0;
  value = std::strtol(text.c_str(), &end, 10);
  return end && *end == '\0' && errno == 0 && Fits32(value);
}

bool ParseCount(const std::string& text, long& value) {
  return ParseInt(text, value) && value >= 0;
}

void SplitWord(const std::string& line, std::string& word, std::string& rest) {
  size_t blank = line.find(' ');
  word = line.substr(0, blank);
  rest = blank == std::string::npos ? std::string() : line.substr(blank + 1);
}

bool ParseStart(const std::string& rest, ScriptStep& step) {
  step.tail = rest;
  return true;
}

bool ParsePath(const std::string& rest, ScriptStep& step) {
  step.tail = rest;
  return !rest.empty();
}

bool ParseMenu(const std::string& rest, ScriptStep& step) {
  const Command* command = FindCommandByName(rest);
  if (!command)
    return false;
  step.command = command->id;
  return true;
}

// Takes `prefix` off the front of `text` when it is there.
bool Consume(std::string_view& text, std::string_view prefix) {
  if (text.substr(0, prefix.size()) != prefix)
    return false;
  text.remove_prefix(prefix.size());
  return true;
}

// F1 to F12.
bool ParseFunctionKey(std::string_view text, UINT& key) {
  int n = 0;
  if (!Consume(text, "F"))
    return false;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (error != std::errc() || end != text.data() + text.size() || n < 1 || n > 12)
    return false;
  key = VK_F1 + static_cast<UINT>(n - 1);
  return true;
}

// Enter or Escape; or Ctrl+, Shift+ and Alt+ in that order, each optional (Alt only with Ctrl),
// and a function key or the menu key (Apps); or Ctrl+ with them and a letter.
bool ParseKey(const std::string& rest, ScriptStep& step) {
  if (rest == "Enter") {
    step.key = VK_RETURN;
    return true;
  }
  if (rest == "Escape") {
    step.key = VK_ESCAPE;
    return true;
  }
  std::string_view text = rest;
  step.ctrl = Consume(text, "Ctrl+");
  step.shift = Consume(text, "Shift+");
  step.alt = Consume(text, "Alt+");
  if (step.alt && !step.ctrl)
    return false;
  if (text == "Apps") {
    step.key = VK_APPS;
    return true;
  }
  if (ParseFunctionKey(text, step.key))
    return true;
  if (!step.ctrl || text.size() != 1 || !std::isalpha(static_cast<unsigned char>(text[0])))
    return false;
  step.key = static_cast<UINT>(std::toupper(static_cast<unsigned char>(text[0])));
  return true;
}

bool ParseNothing(const std::string& rest, ScriptStep& /*step*/) {
  return rest.empty();
}

bool ParseNumber(const std::string& rest, ScriptStep& step) {
  return ParseCount(rest, step.number);
}

bool ParseSelect(const std::string& rest, ScriptStep& step) {
  if (rest == "none") {
    step.number = -1;
    return true;
  }
  return ParseCount(rest, step.number);
}

bool ParsePlacement(const std::string& rest, ScriptStep& step) {
  std::istringstream fields(rest);
  long show, left, top, right, bottom;
  std::string extra;
  if (!(fields >> show >> left >> top >> right >> bottom) || (fields >> extra))
    return false;
  if (show < 0 || !Fits32(show) || !Fits32(left) || !Fits32(top) || !Fits32(right) ||
      !Fits32(bottom)) {
    return false;
  }
  step.placement.showCmd = static_cast<UINT>(show);
  step.placement.rcNormalPosition = RECT{static_cast<LONG>(left), static_cast<LONG>(top),
                                         static_cast<LONG>(right), static_cast<LONG>(bottom)};
  return true;
}

bool ParseDialog(const std::string& rest, ScriptStep& step) {
  DialogAnswer& answer = step.dialog;
  std::string word, tail;
  SplitWord(rest, word, tail);
  if (word == "fail") {
    answer.kind = DialogAnswer::Fail;
    return tail.empty();
  }
  if (word != "ok" && word != "cancel")
    return false;
  answer.kind = word == "ok" ? DialogAnswer::Ok : DialogAnswer::Cancel;
  while (!tail.empty()) {
    SplitWord(tail, word, tail);
    if (word == "field") {
      std::string number;
      long n = 0;
      SplitWord(tail, number, tail);
      if (!ParseInt(number, n))
        return false;
      answer.field = static_cast<int>(n);
    } else if (word == "exact" && answer.kind == DialogAnswer::Ok) {
      answer.exact = true;
    } else if (word == "match" && answer.kind == DialogAnswer::Ok) {
      answer.match = tail;
      tail.clear();
    } else {
      return false;
    }
  }
  return true;
}

bool ParsePick(const std::string& rest, ScriptStep& step) {
  return ParseMenu(rest, step);
}

// save <path>, save keep <path>, save cancel.
bool ParseSave(const std::string& rest, ScriptStep& step) {
  if (rest == "cancel") {
    step.save = SaveAnswer{SaveAnswer::Cancel, ""};
    return true;
  }
  std::string_view path = rest;
  bool keep = Consume(path, "keep ");
  if (path.empty())
    return false;
  step.save = SaveAnswer{keep ? SaveAnswer::Keep : SaveAnswer::Save, std::string(path)};
  return true;
}

// goto <text>, the rest of the line as it is; goto cancel.
bool ParseGoTo(const std::string& rest, ScriptStep& step) {
  step.goTo = rest == "cancel" ? GoToAnswer{false, ""} : GoToAnswer{true, rest};
  return true;
}

bool ParseFile(const std::string& rest, ScriptStep& step) {
  if (rest.empty())
    return false;
  step.file = rest == "cancel" ? FileAnswer{false, ""} : FileAnswer{true, rest};
  return true;
}

// "HKCU\path" or "HKCR\path" (or the root alone): the key as written, its root and its path.
bool ParseKeyName(const std::string& text, ScriptStep& step) {
  size_t slash = text.find('\\');
  std::string root = text.substr(0, slash);
  if (root == "HKCU") {
    step.root = HKEY_CURRENT_USER;
  } else if (root == "HKCR") {
    step.root = HKEY_CLASSES_ROOT;
  } else {
    return false;
  }
  step.keyName = text;
  step.keyPath = slash == std::string::npos ? std::string() : text.substr(slash + 1);
  return true;
}

// Two hex digits a byte, either case, nothing between them.
bool ParseHex(const std::string& text, std::vector<BYTE>& bytes) {
  if (text.size() % 2 != 0)
    return false;
  for (size_t i = 0; i < text.size(); i += 2) {
    if (!std::isxdigit(static_cast<unsigned char>(text[i])) ||
        !std::isxdigit(static_cast<unsigned char>(text[i + 1]))) {
      return false;
    }
    bytes.push_back(static_cast<BYTE>(std::stoi(text.substr(i, 2), nullptr, 16)));
  }
  return true;
}

bool ParseRegType(const std::string& text, DWORD& type) {
  const std::pair<const char*, DWORD> kTypes[] = {
      {"REG_SZ", REG_SZ}, {"REG_BINARY", REG_BINARY}, {"REG_DWORD", REG_DWORD}};
  for (const auto& [name, value] : kTypes) {
    if (text == name) {
      type = value;
      return true;
    }
  }
  return false;
}

// <key> "<name>" <TYPE> <hex>: the key runs up to the blank before the first double quote, the
// name up to the double quote before the type.
bool ParseRegSet(const std::string& rest, ScriptStep& step) {
  size_t open = rest.find(" \"");
  if (open == std::string::npos || !ParseKeyName(rest.substr(0, open), step))
    return false;
  std::string tail = rest.substr(open + 2);
  size_t close = tail.rfind("\" ");
  if (close == std::string::npos)
    return false;
  step.value.name = tail.substr(0, close);
  std::string type, hex;
  SplitWord(tail.substr(close + 2), type, hex);
  return ParseRegType(type, step.value.type) && ParseHex(hex, step.value.data);
}

struct StepSyntax {
  std::string_view verb;
  ScriptStep::Kind kind;
  bool (*parse)(const std::string& rest, ScriptStep& step);
};

const StepSyntax kSteps[] = {
    {"start", ScriptStep::Kind::Start, ParseStart},
    {"menu", ScriptStep::Kind::Menu, ParseMenu},
    {"key", ScriptStep::Kind::Key, ParseKey},
    {"close", ScriptStep::Kind::Close, ParseNothing},
    {"syscommand", ScriptStep::Kind::SysCommand, ParseNumber},
    {"click-title", ScriptStep::Kind::ClickTitle, ParseNumber},
    {"select", ScriptStep::Kind::Select, ParseSelect},
    {"right-click", ScriptStep::Kind::RightClick, ParseSelect},
    {"double-click", ScriptStep::Kind::DoubleClick, ParseSelect},
    {"placement", ScriptStep::Kind::Placement, ParsePlacement},
    {"dump", ScriptStep::Kind::Dump, ParseNothing},
    {"sort-arrow", ScriptStep::Kind::SortArrow, ParseNothing},
    {"drop", ScriptStep::Kind::Drop, ParsePath},
    {"remove", ScriptStep::Kind::Remove, ParsePath},
    {"clipboard", ScriptStep::Kind::Clipboard, ParseNothing},
    {"dialog", ScriptStep::Kind::Dialog, ParseDialog},
    {"file", ScriptStep::Kind::File, ParseFile},
    {"pick", ScriptStep::Kind::Pick, ParsePick},
    {"save", ScriptStep::Kind::Save, ParseSave},
    {"goto", ScriptStep::Kind::GoTo, ParseGoTo},
    {"reg-show", ScriptStep::Kind::RegShow, ParseKeyName},
    {"reg-set", ScriptStep::Kind::RegSet, ParseRegSet},
    {"reg-delete", ScriptStep::Kind::RegDelete, ParseKeyName},
};
}  // namespace

bool ParseStep(const std::string& line, ScriptStep& step) {
  std::string verb, rest;
  SplitWord(line, verb, rest);
  for (const StepSyntax& syntax : kSteps) {
    if (verb != syntax.verb)
      continue;
    step = ScriptStep();
    step.kind = syntax.kind;
    return syntax.parse(rest, step);
  }
  return false;
}

std::vector<std::string_view> StepVerbs() {
  std::vector<std::string_view> verbs;
  for (const StepSyntax& syntax : kSteps)
    verbs.push_back(syntax.verb);
  return verbs;
}
