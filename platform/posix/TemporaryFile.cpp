#include "platform/TemporaryFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

struct CTemporaryFile::System {
  std::string target;
  std::string temporary;
  int fd = -1;
  bool failed = false;
};

namespace {
std::string FolderOf(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos)
    return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// A new file gets the mode that the user's mask leaves; one that replaces a file keeps its mode.
mode_t ModeFor(const std::string& target) {
  struct stat existing;
  if (stat(target.c_str(), &existing) == 0)
    return existing.st_mode & 07777;
  mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}
}  // namespace

CTemporaryFile::CTemporaryFile() : system_(std::make_unique<System>()) {}

CTemporaryFile::~CTemporaryFile() {
  if (system_->fd >= 0) {
    close(system_->fd);
    unlink(system_->temporary.c_str());
  }
}

bool CTemporaryFile::Create(const std::string& target) {
  std::string folder = FolderOf(target);
  std::string name = target.substr(target.find_last_of('/') + 1);
  // Hidden beside the target, with a name that no person gives a file of theirs.
  system_->target = target;
  system_->temporary = folder + "/." + name + ".new-XXXXXX";
  system_->fd = mkostemp(system_->temporary.data(), O_CLOEXEC);
  if (system_->fd < 0)
    return false;
  fchmod(system_->fd, ModeFor(target));
  return true;
}

bool CTemporaryFile::Write(const char* data, size_t size) {
  while (size > 0 && !system_->failed && system_->fd >= 0) {
    ssize_t n = write(system_->fd, data, size);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0) {
      system_->failed = true;
      break;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return size == 0 && !system_->failed;
}

bool CTemporaryFile::Replace() {
  System& s = *system_;
  if (s.fd < 0)
    return false;
  bool ok = !s.failed && fsync(s.fd) == 0;
  ok = close(s.fd) == 0 && ok;
  s.fd = -1;
  ok = ok && rename(s.temporary.c_str(), s.target.c_str()) == 0;
  if (!ok) {
    unlink(s.temporary.c_str());
    return false;
  }
  // The rename itself reaches the disk with the folder; best effort, as some cannot be flushed.
  int folder = open(FolderOf(s.target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    fsync(folder);
    close(folder);
  }
  return true;
}

bool IsSameFile(const std::string& first, const std::string& second) {
  struct stat a;
  struct stat b;
  return stat(first.c_str(), &a) == 0 && stat(second.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
         a.st_ino == b.st_ino;
}
