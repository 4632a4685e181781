#include "table/MappedFile.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <limits>

#include "table/LostPages.h"

namespace {
const char kNoBytes[1] = {};
constexpr size_t kHugePage = size_t{2} << 20;

// An address for `size` bytes on a 2 MiB boundary: the file cache holds a file read from disk in
// pages of 2 MiB where it can, and only a mapping on such a boundary maps them whole, which spares
// the processor a translation for every 4 KiB of the file.
void* AlignedAddress(size_t size) {
  if (size < kHugePage)
    return nullptr;
  void* room = mmap(nullptr, size + kHugePage, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (room == MAP_FAILED)
    return nullptr;
  auto start = reinterpret_cast<uintptr_t>(room);
  uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
  // The room around the aligned stretch goes back; the stretch itself is mapped over.
  if (aligned > start)
    munmap(room, aligned - start);
  munmap(reinterpret_cast<void*>(aligned + size), start + kHugePage - aligned);
  return reinterpret_cast<void*>(aligned);
}
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
  void* at = AlignedAddress(static_cast<size_t>(size_));
  if (at)
    flags |= MAP_FIXED;
  void* view = mmap(at, static_cast<size_t>(size_), PROT_READ, flags, fd, 0);
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
