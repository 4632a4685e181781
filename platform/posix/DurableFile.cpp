#include "platform/posix/DurableFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace {

void (*beforeReplace)(const std::string& temporary) = nullptr;

// The temporary files of a file are hidden beside it: "." + its name + ".new-" and six random
// characters, a name that no person gives a file of theirs.
std::string TemporaryPrefix(const std::string& name) {
  return "." + name + ".new-";
}

std::string NameOf(const std::string& path) {
  return path.substr(path.rfind('/') + 1);
}

int WriteAll(int fd, const std::string& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR)
      continue;
    if (n < 0)
      return errno;
    done += static_cast<size_t>(n);
  }
  return 0;
}

// Best effort: some file systems cannot flush a folder, and the new file is in place already.
void SyncFolder(const std::string& folder) {
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0)
    return;
  fsync(fd);
  close(fd);
}

}  // namespace

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos)
    return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

int ReadWholeFile(const std::string& path, std::string* bytes) {
  bytes->clear();
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0)
    return errno;
  char chunk[16384];
  int error = 0;
  while (true) {
    ssize_t n = read(fd, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR)
      continue;
    if (n < 0)
      error = errno;
    if (n <= 0)
      break;
    bytes->append(chunk, static_cast<size_t>(n));
  }
  close(fd);
  return error;
}

std::string LinkedFile(const std::string& path) {
  std::string file = path;
  // As many links as the system itself follows in a path.
  for (int links = 0; links < 40; ++links) {
    struct stat status;
    if (lstat(file.c_str(), &status) != 0 || !S_ISLNK(status.st_mode))
      return file;
    std::string target(static_cast<size_t>(status.st_size) + 1, '\0');
    ssize_t n = readlink(file.c_str(), target.data(), target.size());
    if (n <= 0 || static_cast<size_t>(n) >= target.size())
      return file;
    target.resize(static_cast<size_t>(n));
    file = target[0] == '/' ? target : FolderOf(file) + "/" + target;
  }
  return file;
}

int ReplaceFile(const std::string& path, const std::string& bytes, mode_t newMode) {
  const std::string file = LinkedFile(path);
  const std::string folder = FolderOf(file);
  struct stat before;
  mode_t mode = stat(file.c_str(), &before) == 0 ? before.st_mode & 07777 : newMode;
  std::string temporary = folder + "/" + TemporaryPrefix(NameOf(file)) + "XXXXXX";
  int fd = mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0)
    return errno;
  int error = WriteAll(fd, bytes);
  if (!error && fchmod(fd, mode) != 0)
    error = errno;
  if (!error && fsync(fd) != 0)
    error = errno;
  if (close(fd) != 0 && !error)
    error = errno;
  if (!error && beforeReplace)
    beforeReplace(temporary);
  if (!error && rename(temporary.c_str(), file.c_str()) != 0)
    error = errno;
  if (error) {
    unlink(temporary.c_str());
    return error;
  }
  SyncFolder(folder);
  return 0;
}

void RemoveStaleTemporaries(const std::string& path) {
  const std::string prefix = TemporaryPrefix(NameOf(path));
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(FolderOf(path), error)) {
    std::string found = entry.path().filename().string();
    if (found.size() == prefix.size() + 6 && found.starts_with(prefix))
      std::filesystem::remove(entry.path(), error);
  }
}

void SetBeforeReplaceHook(void (*hook)(const std::string& temporary)) {
  beforeReplace = hook;
}

int MoveAside(const std::string& path, const std::string& suffix) {
  std::string target = path + suffix;
  struct stat existing;
  for (int n = 2; lstat(target.c_str(), &existing) == 0; ++n)
    target = path + suffix + "-" + std::to_string(n);
  return rename(path.c_str(), target.c_str()) == 0 ? 0 : errno;
}

int MakeFolders(const std::string& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error)
    return error.value();
  return std::filesystem::is_directory(folder, error) ? 0 : ENOTDIR;
}

void RemoveEmptyFolders(std::string folder, const std::string& top) {
  while (folder.size() > top.size() && folder.starts_with(top) && folder[top.size()] == '/' &&
         rmdir(folder.c_str()) == 0) {
    folder = FolderOf(folder);
  }
}
