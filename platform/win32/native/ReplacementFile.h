// A file written in full in the folder of the file it is to replace, then flushed and moved over
// it in one step.
#pragma once

#include <cstddef>
#include <string>

#include "platform/win32/native/NativeTypes.h"

namespace native {

class ReplacementFile {
 public:
  ReplacementFile() = default;
  // A file that was never moved into place is deleted.
  ~ReplacementFile();
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  bool Create(const std::string& target);
  bool Write(const char* data, size_t size);
  // Flushes, closes and moves the file over the target; false, with the target untouched and the
  // new file deleted, when one of them fails.
  bool Replace();

  // Whether both paths open one file (the same volume and file index).
  static bool SameFile(const std::string& first, const std::string& second);

 private:
  void Discard();

  Handle file_ = nullptr;
  std::string target_;
  std::string temporary_;
  bool failed_ = false;
};

}  // namespace native
