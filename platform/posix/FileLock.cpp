#include "platform/posix/FileLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>

#include "platform/posix/DurableFile.h"

FileLock::FileLock(const std::string& path, std::chrono::milliseconds wait) : path_(path) {
  using Clock = std::chrono::steady_clock;
  const Clock::time_point deadline = Clock::now() + wait;
  std::chrono::milliseconds pause(1);
  while (!TryTake()) {
    if (error_)
      return;
    Clock::time_point now = Clock::now();
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
