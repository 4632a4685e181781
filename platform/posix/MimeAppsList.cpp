#include "platform/posix/MimeAppsList.h"

#include <algorithm>

namespace {

constexpr char kGroup[] = "[Default Applications]";

// A line as the file holds it: its text, and the line end after it ("\n", "\r\n", or none for
// a last line without one). `emptied` marks the heading of a group that lost a line of ours.
struct Line {
  std::string text;
  std::string end;
  bool emptied = false;
};

std::vector<Line> Lines(const std::string& text) {
  std::vector<Line> lines;
  for (size_t at = 0; at < text.size();) {
    size_t newline = text.find('\n', at);
    if (newline == std::string::npos) {
      lines.push_back({text.substr(at), ""});
      break;
    }
    bool cr = newline > at && text[newline - 1] == '\r';
    lines.push_back({text.substr(at, newline - at - (cr ? 1 : 0)), cr ? "\r\n" : "\n"});
    at = newline + 1;
  }
  return lines;
}

std::string Trimmed(const std::string& text) {
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos)
    return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool IsBlank(const Line& line) {
  return Trimmed(line.text).empty();
}

bool IsHeading(const Line& line) {
  return Trimmed(line.text).starts_with('[');
}

bool Contains(const std::vector<std::string>& list, const std::string& item) {
  return std::find(list.begin(), list.end(), item) != list.end();
}

// The list of choices after a type's '=' with `desktopId` first when the type is still
// `missing` (and then no longer missing), else without it. The rest of the list keeps its bytes,
// so that what Register adds, Unregister takes away to the byte.
std::string OurChoices(const std::string& type, const std::string& list,
                       const std::string& desktopId, std::vector<std::string>* missing) {
  std::string kept;
  for (size_t at = 0; at <= list.size();) {
    size_t end = std::min(list.find(';', at), list.size());
    if (Trimmed(list.substr(at, end - at)) != desktopId)
      kept += list.substr(at, std::min(end + 1, list.size()) - at);
    at = end + 1;
  }
  if (!Contains(*missing, type))
    return kept;
  missing->erase(std::remove(missing->begin(), missing->end(), type), missing->end());
  return desktopId + ";" + kept;
}

// Removes each group that holds nothing since a line of ours went, with the blank line before
// it: the group as Register adds it to a file that has none.
void RemoveEmptiedGroups(std::vector<Line>* lines) {
  for (size_t i = 0; i < lines->size(); ++i) {
    if (!(*lines)[i].emptied)
      continue;
    auto next = std::find_if(lines->begin() + static_cast<long>(i) + 1, lines->end(),
                             [](const Line& l) { return !IsBlank(l); });
    if (next != lines->end() && !IsHeading(*next))
      continue;
    size_t first = i > 0 && IsBlank((*lines)[i - 1]) ? i - 1 : i;
    lines->erase(lines->begin() + static_cast<long>(first),
                 lines->begin() + static_cast<long>(i) + 1);
    i = first;
  }
}

}  // namespace

std::string UpdateDefaultApplications(const std::string& text, const std::vector<std::string>& own,
                                      const std::vector<std::string>& handled,
                                      const std::string& desktopId) {
  std::vector<Line> in = Lines(text), out;
  auto ended = std::find_if(in.begin(), in.end(), [](const Line& l) { return !l.end.empty(); });
  const std::string newEnd = ended == in.end() ? "\n" : ended->end;
  std::vector<std::string> missing = handled;
  size_t heading = 0, groups = 0;
  size_t insertAt = 0;  // after the first group's last line that is not blank
  for (const Line& line : in) {
    if (IsHeading(line)) {
      bool ours = Trimmed(line.text) == kGroup;
      groups += ours ? 1 : 0;
      heading = ours ? out.size() + 1 : 0;
    }
    size_t equals = line.text.find('=');
    std::string type = equals == std::string::npos ? "" : Trimmed(line.text.substr(0, equals));
    if (heading == 0 || IsHeading(line) || Trimmed(line.text).starts_with('#') ||
        !Contains(own, type)) {
      out.push_back(line);
    } else if (std::string list =
                   OurChoices(type, line.text.substr(equals + 1), desktopId, &missing);
               Trimmed(list).find_first_not_of(';') == std::string::npos) {
      out[heading - 1].emptied = true;
    } else {
      out.push_back({line.text.substr(0, equals + 1) + list, line.end});
    }
    if (groups == 1 && heading != 0 && !IsBlank(out.back()))
      insertAt = out.size();
  }
  std::vector<Line> added;
  if (groups == 0 && !missing.empty()) {
    if (!out.empty() && !IsBlank(out.back()))
      added.push_back({"", newEnd});
    added.push_back({kGroup, newEnd});
    insertAt = out.size();
  }
  for (const std::string& type : missing)
    added.push_back({type + "=" + desktopId + ";", newEnd});
  if (!added.empty() && insertAt > 0 && out[insertAt - 1].end.empty())
    out[insertAt - 1].end = newEnd;
  out.insert(out.begin() + static_cast<long>(insertAt), added.begin(), added.end());
  RemoveEmptiedGroups(&out);

  std::string result;
  for (const Line& line : out)
    result += line.text + line.end;
  return result;
}
