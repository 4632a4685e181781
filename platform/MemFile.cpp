#include "platform/MemFile.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

CMemFile::CMemFile(UINT growBytes) : growBytes_(std::max<UINT>(growBytes, 1)) {}

UINT CMemFile::Read(void* buffer, UINT count) {
  if (position_ >= length_)
    return 0;
  UINT n = std::min<UINT>(count, length_ - position_);
  std::memcpy(buffer, memory_.data() + position_, n);
  position_ += n;
  return n;
}

// Memory past the length is never written before the length covers it, so it is always zero: a gap
// left by a seek past the end reads as zeros.
void CMemFile::Write(const void* buffer, UINT count) {
  if (count == 0)
    return;
  uint64_t after = uint64_t{position_} + count;
  if (after > memory_.size()) {
    uint64_t steps = (after + growBytes_ - 1) / growBytes_;
    memory_.resize(steps * growBytes_);
  }
  std::memcpy(memory_.data() + position_, buffer, count);
  position_ = static_cast<DWORD>(after);
  length_ = std::max(length_, position_);
}

LONG CMemFile::Seek(LONG offset, UINT from) {
  int64_t base = from == begin ? 0 : from == current ? int64_t{position_} : int64_t{length_};
  int64_t target = base + offset;
  if (target < 0 || target > INT32_MAX)
    return -1;
  position_ = static_cast<DWORD>(target);
  return static_cast<LONG>(target);
}

DWORD CMemFile::SeekToEnd() {
  position_ = length_;
  return length_;
}
