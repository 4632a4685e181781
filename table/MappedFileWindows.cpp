#include <cstdlib>
#include <fstream>
#include <limits>

#include "table/FileMapper.h"
#include "table/HugePages.h"
#include "table/MappedFile.h"

namespace {
const char kNoBytes[1] = {};
const FileMapper* handed = nullptr;

// Without a mapper, the file read whole into memory of its own, in binary: a text-mode read would
// drop CR bytes and stop at the first Ctrl+Z. Null, with nothing held, when the file cannot be
// opened, does not fit the address space or memory, or yields fewer bytes than its size. Plain
// C++ cannot tell a device from a file: NUL reads as an empty file here, where the system's
// mapper refuses it.
char* ReadWhole(const char* path, uint64_t& size) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in)
    return nullptr;
  std::streamoff end = in.tellg();
  if (end < 0 || static_cast<uint64_t>(end) > std::numeric_limits<size_t>::max())
    return nullptr;
  auto* copy = static_cast<char*>(AllocateHugePages(static_cast<size_t>(end)));
  if (!copy)
    return nullptr;
  in.seekg(0);
  // A read takes a signed count, which a 32-bit build's largest files would overflow.
  constexpr std::streamoff kPiece = std::streamoff{1} << 30;
  std::streamoff done = 0;
  while (in && done < end) {
    std::streamoff piece = end - done < kPiece ? end - done : kPiece;
    in.read(copy + done, static_cast<std::streamsize>(piece));
    done += in.gcount();
  }
  if (done != end) {
    std::free(copy);
    return nullptr;
  }
  size = static_cast<uint64_t>(end);
  return copy;
}
}  // namespace

void UseFileMapper(const FileMapper* mapper) {
  handed = mapper;
}

MappedFile::~MappedFile() {
  Close();
}

bool MappedFile::Open(const char* path) {
  Close();
  if (!handed) {
    uint64_t size = 0;
    char* copy = ReadWhole(path, size);
    if (!copy)
      return false;
    view_ = copy;
    data_ = copy;
    size_ = size;
    return true;
  }
  MappedBytes bytes;
  if (!handed->map(path, bytes))
    return false;
  mapper_ = handed;
  view_ = bytes.handle;
  data_ = bytes.data ? bytes.data : kNoBytes;
  size_ = bytes.size;
  return true;
}

void MappedFile::Close() {
  if (mapper_)
    mapper_->unmap(view_);
  else
    std::free(view_);
  mapper_ = nullptr;
  view_ = nullptr;
  data_ = nullptr;
  size_ = 0;
}

bool MappedFile::Lost() const {
  return false;
}
