#include "table/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <limits>

#include "table/LostPages.h"

namespace {
const char kNoBytes[1] = {};
}  // namespace

MappedFile::~MappedFile() {
  Close();
}

bool MappedFile::Open(const char* path) {
  Close();
  // Opening a FIFO without a writer would wait for one; without blocking it opens and is refused
  // below, as a device or a folder is, which have no length to read.
  int fd = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0)
    return false;
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0 ||
      static_cast<uint64_t>(info.st_size) > std::numeric_limits<size_t>::max()) {
    close(fd);
    return false;
  }
  size_ = static_cast<uint64_t>(info.st_size);
  data_ = kNoBytes;
  if (size_ == 0) {
    close(fd);
    return true;
  }
  int flags = MAP_SHARED;
#if defined(MAP_POPULATE)
  // The pages are in the file cache: making the page tables now takes one call, where faulting
  // them in one by one would take hundreds of thousands.
  flags |= MAP_POPULATE;
#endif
  void* view = mmap(nullptr, static_cast<size_t>(size_), PROT_READ, flags, fd, 0);
  close(fd);
  if (view == MAP_FAILED) {
    data_ = nullptr;
    size_ = 0;
    return false;
  }
  view_ = view;
  data_ = static_cast<const char*>(view);
  slot_ = WatchMapping(view, static_cast<size_t>(size_));
  return true;
}

void MappedFile::Close() {
  if (view_) {
    UnwatchMapping(slot_);
    munmap(view_, static_cast<size_t>(size_));
  }
  view_ = nullptr;
  slot_ = -1;
  data_ = nullptr;
  size_ = 0;
}

bool MappedFile::Lost() const {
  return MappingLostPages(slot_);
}
