#include "platform/FullPath.h"

#include <filesystem>
#include <system_error>

// A relative name is taken from the working folder; "." and ".." are resolved by name, as the
// system's own full paths are, without following links.
std::string SystemFullPath(const char* fileName) {
  std::error_code error;
  std::filesystem::path full = std::filesystem::absolute(fileName, error);
  if (error)
    return std::string();
  return full.lexically_normal().string();
}
