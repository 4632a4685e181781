#include "table/FileBuffer.h"

#include <cstdlib>
#include <cstring>

#include "table/HugePages.h"

FileBuffer::~FileBuffer() {
  Release();
}

bool FileBuffer::Map(const char* path) {
  Release();
  if (!file_.Open(path))
    return false;
  data_ = file_.Data();
  length_ = file_.Size();
  return true;
}

bool FileBuffer::CopyWithoutCarriageReturns() {
  auto* copy = static_cast<char*>(AllocateHugePages(static_cast<size_t>(length_)));
  if (!copy) {
    Release();
    return false;
  }
  size_t kept = 0;
  const char* from = data_;
  const char* end = data_ + length_;
  while (from < end) {
    const void* cr = std::memchr(from, '\r', static_cast<size_t>(end - from));
    const char* stop = cr ? static_cast<const char*>(cr) : end;
    std::memcpy(copy + kept, from, static_cast<size_t>(stop - from));
    kept += static_cast<size_t>(stop - from);
    from = stop + (cr ? 1 : 0);
  }
  lost_ = file_.Lost();
  file_.Close();
  copy_ = copy;
  data_ = copy;
  length_ = kept;
  return true;
}

void FileBuffer::Release() {
  file_.Close();
  std::free(copy_);
  copy_ = nullptr;
  data_ = nullptr;
  length_ = 0;
  lost_ = false;
}
