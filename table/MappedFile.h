// A whole file as the system maps it, read-only: its bytes are the pages of the system's file
// cache, shared, never copied and never written. Mapping a gigabyte costs a hundredth of a second;
// reading it into fresh memory costs seconds on a machine where the first touch of a page is dear.
#pragma once

#include <cstdint>

struct FileMapper;

class MappedFile {
 public:
  MappedFile() = default;
  ~MappedFile();
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;

  // Maps the regular file at `path` whole. False when it is no regular file, cannot be opened, or
  // does not fit the address space; nothing stays mapped then.
  bool Open(const char* path);
  void Close();

  // The file's bytes; never null once open, even for an empty file.
  const char* Data() const { return data_; }
  uint64_t Size() const { return size_; }

  // Whether another program cut the file short while it was mapped. A read of a lost page would
  // end the program (SIGBUS on Linux); instead the lost pages read as zero bytes from then on, so
  // the rows there read as empty. Windows refuses to cut short a mapped file.
  bool Lost() const;

 private:
  const char* data_ = nullptr;
  uint64_t size_ = 0;
  // The system's handle of the mapping: the watch slot on Linux; on Windows the handed-in
  // mapper's view and the mapper that made it, or, without a mapper, the copy read into memory.
  void* view_ = nullptr;
  int slot_ = -1;
#if defined(_WIN32)
  const FileMapper* mapper_ = nullptr;
#endif
};
