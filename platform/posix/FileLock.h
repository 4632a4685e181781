// An exclusive advisory lock (flock) on a lock file, held for the object's life. Processes that
// take it around their read-change-write of a shared file never lose each other's changes. The
// lock file exists only while the lock is held: its holder removes it before letting go, and a
// waiter that finds it gone takes the new one.
#pragma once

#include <chrono>
#include <string>

class FileLock {
 public:
  // Makes the lock file (and its folder) and waits for the lock, but no longer than `wait` after
  // it last changed hands: a holder that has stopped must not stop everyone else.
  FileLock(const std::string& path, std::chrono::milliseconds wait);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // 0 while the lock is held; ETIMEDOUT when one other holder kept it for the whole wait; else
  // the errno that prevented it.
  int Error() const { return error_; }

 private:
  // Takes the lock if it is free now; false with error_ unset when another holds it.
  bool TryTake();

  std::string path_;
  int fd_ = -1;
  int error_ = 0;
};
