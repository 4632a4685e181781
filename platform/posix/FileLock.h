// An exclusive advisory lock (flock) on a lock file, held for the object's life. Processes that
// take it around their read-change-write of a shared file never lose each other's changes.
#pragma once

#include <string>

class FileLock {
 public:
  // Opens the lock file, creating it, and waits until the lock is ours.
  explicit FileLock(const std::string& path);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // 0 while the lock is held, else the errno that prevented it.
  int Error() const { return error_; }

 private:
  int fd_ = -1;
  int error_ = 0;
};
