// A whole file mapped read-only into the address space. Other programs may still read it, and
// write to it or append to it; the system refuses to cut short a file while it is mapped.
#pragma once

#include <cstdint>
#include <string>

namespace native {

class FileView {
 public:
  FileView() = default;
  ~FileView();
  FileView(const FileView&) = delete;
  FileView& operator=(const FileView&) = delete;

  // Maps the file at `path` (in the ANSI code page) whole. False when it is no file on a disk, or
  // when the view does not fit the address space; nothing stays open then.
  bool Open(const std::string& path);
  void Close();

  // The file's bytes: null for an empty file, which has nothing to map.
  const char* Data() const { return data_; }
  uint64_t Size() const { return size_; }

 private:
  const char* data_ = nullptr;
  uint64_t size_ = 0;
};

}  // namespace native
