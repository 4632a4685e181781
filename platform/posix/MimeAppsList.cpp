#include "platform/posix/MimeAppsList.h"

#include <algorithm>
#include <sstream>

namespace {

constexpr char kGroup[] = "[Default Applications]";

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

std::vector<std::string> Split(const std::string& list) {
  std::vector<std::string> items;
  std::istringstream in(list);
  for (std::string item; std::getline(in, item, ';');) {
    if (!item.empty())
      items.push_back(item);
  }
  return items;
}

bool Contains(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

}  // namespace

std::string UpdateDefaultApplications(const std::string& text,
                                      const std::vector<std::string>& types,
                                      const std::string& desktopId) {
  std::vector<std::string> in = Lines(text), out;
  std::vector<std::string> missing = types;
  bool inGroup = false, sawGroup = false;
  // The types not yet set are added at the end of the first group, before its blank lines.
  auto closeGroup = [&] {
    if (!inGroup)
      return;
    size_t end = out.size();
    while (end > 0 && out[end - 1].empty())
      --end;
    for (const std::string& type : missing)
      out.insert(out.begin() + static_cast<long>(end++), type + "=" + desktopId + ";");
    missing.clear();
  };
  for (const std::string& line : in) {
    if (!line.empty() && line[0] == '[') {
      closeGroup();
      inGroup = line == kGroup;
      sawGroup = sawGroup || inGroup;
      out.push_back(line);
      continue;
    }
    size_t equals = line.find('=');
    if (!inGroup || equals == std::string::npos || line[0] == '#') {
      out.push_back(line);
      continue;
    }
    std::string type = line.substr(0, equals);
    std::vector<std::string> choices = Split(line.substr(equals + 1));
    choices.erase(std::remove(choices.begin(), choices.end(), desktopId), choices.end());
    if (Contains(types, type)) {
      choices.insert(choices.begin(), desktopId);
      missing.erase(std::remove(missing.begin(), missing.end(), type), missing.end());
    } else if (!Contains(Split(line.substr(equals + 1)), desktopId)) {
      out.push_back(line);
      continue;
    }
    if (choices.empty())
      continue;
    std::string kept = type + "=";
    for (const std::string& choice : choices)
      kept += choice + ";";
    out.push_back(kept);
  }
  closeGroup();
  if (!sawGroup && !missing.empty()) {
    if (!out.empty() && !out.back().empty())
      out.emplace_back();
    out.push_back(kGroup);
    for (const std::string& type : missing)
      out.push_back(type + "=" + desktopId + ";");
  }
  std::string result;
  for (const std::string& line : out)
    result += line + "\n";
  return result;
}
