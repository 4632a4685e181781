#include "app/CommandLinePath.h"

std::string CommandLinePath(const std::string& commandLine) {
  std::string path = commandLine;
  if (!path.empty() && path.front() == '"')
    path.erase(0, 1);
  if (!path.empty() && path.back() == '"')
    path.pop_back();
  return path;
}
