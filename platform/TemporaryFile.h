// A file written in full beside the file it is to become, and only then put in that file's place:
// the target is either as it was or the whole new file, also after a full disk, a folder that
// cannot be written, or a crash on the way. One definition for each system, beside its backend.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

class CTemporaryFile {
 public:
  CTemporaryFile();
  // A file that was never put in place is removed.
  ~CTemporaryFile();
  CTemporaryFile(const CTemporaryFile&) = delete;
  CTemporaryFile& operator=(const CTemporaryFile&) = delete;

  // Creates the empty temporary file in the folder of `target`; false when it cannot be.
  bool Create(const std::string& target);
  // Appends the bytes; false when they cannot all be written.
  bool Write(const char* data, size_t size);
  // Flushes the file to the disk, closes it and renames it over the target; false, with the
  // target as it was and the temporary file gone, when any of that fails.
  bool Replace();

  struct System;

 private:
  std::unique_ptr<System> system_;
};

// Whether two paths name one file on the disk, whatever the names; false when either names none.
bool IsSameFile(const std::string& first, const std::string& second);
