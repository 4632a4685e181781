// The bytes of one file: the file itself, mapped read-only, or, for the rare file whose CR bytes
// stand where no line end explains them (inside a field, or ending a line alone), a private copy
// with every CR left out, so that rows and fields can be found in place either way.
#pragma once

#include <cstdint>

#include "table/MappedFile.h"

class FileBuffer {
 public:
  FileBuffer() = default;
  ~FileBuffer();
  FileBuffer(const FileBuffer&) = delete;
  FileBuffer& operator=(const FileBuffer&) = delete;

  // Maps the whole file. False when it is no regular file or cannot be mapped; nothing is held
  // then.
  bool Map(const char* path);
  // Replaces the mapping by a private copy of its bytes without any CR; false, with nothing held,
  // when there is no memory for it.
  bool CopyWithoutCarriageReturns();
  void Release();

  // Null while nothing is held.
  const char* Data() const { return data_; }
  uint64_t Length() const { return length_; }
  bool Copied() const { return copy_ != nullptr; }
  // Whether another program cut the file short while it was mapped: the lost bytes read as NUL.
  bool Lost() const { return lost_ || file_.Lost(); }

 private:
  MappedFile file_;
  char* copy_ = nullptr;
  const char* data_ = nullptr;
  uint64_t length_ = 0;
  bool lost_ = false;
};
