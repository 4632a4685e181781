#include "platform/posix/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>

#include "platform/posix/DurableFile.h"

namespace {

// Which lock file the path names: every holder makes a new one, so a new file means that the lock
// changed hands (an inode's number may come again, but not with the same change time).
struct LockFileIdentity {
  dev_t device = 0;
  ino_t inode = 0;
  timespec changed{};

  bool operator==(const LockFileIdentity& o) const {
    return device == o.device && inode == o.inode && changed.tv_sec == o.changed.tv_sec &&
           changed.tv_nsec == o.changed.tv_nsec;
  }
};

LockFileIdentity IdentityOf(const std::string& path) {
  struct stat status;
  if (stat(path.c_str(), &status) != 0)
    return LockFileIdentity{};
  return LockFileIdentity{status.st_dev, status.st_ino, status.st_ctim};
}

}  // namespace

FileLock::FileLock(const std::string& path, std::chrono::milliseconds wait) : path_(path) {
  using Clock = std::chrono::steady_clock;
  Clock::time_point deadline = Clock::now() + wait;
  LockFileIdentity holder = IdentityOf(path_);
  std::chrono::milliseconds pause(1);
  while (!TryTake()) {
    if (error_)
      return;
    Clock::time_point now = Clock::now();
    // Many instances may take turns for longer than the wait; only a holder that keeps the lock
    // all that time has stopped.
    if (LockFileIdentity seen = IdentityOf(path_); !(seen == holder)) {
      holder = seen;
      deadline = now + wait;
    }
    if (now >= deadline) {
      error_ = ETIMEDOUT;
      return;
    }
    std::this_thread::sleep_for(std::min<Clock::duration>(pause, deadline - now));
    pause = std::min(pause * 2, std::chrono::milliseconds(50));
  }
}

bool FileLock::TryTake() {
  int fd = open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  if (fd < 0 && errno == ENOENT) {
    // The folder went with the last file in it; it is made again.
    if (int made = MakeFolders(FolderOf(path_))) {
      error_ = made;
      return false;
    }
    fd = open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
  }
  if (fd < 0) {
    // Gone again at once: another process removed the emptied folder; the next try makes it.
    error_ = errno == ENOENT ? 0 : errno;
    return false;
  }
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    if (errno != EWOULDBLOCK && errno != EINTR)
      error_ = errno;
    close(fd);
    return false;
  }
  // The holder before may have removed the file between our open and our lock: a lock on a
  // removed file keeps nobody out, so it counts only while the path still names that file.
  struct stat held, named;
  if (fstat(fd, &held) == 0 && stat(path_.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
      held.st_ino == named.st_ino) {
    fd_ = fd;
    return true;
  }
  close(fd);
  return false;
}

FileLock::~FileLock() {
  if (fd_ < 0)
    return;
  unlink(path_.c_str());
  close(fd_);
}
