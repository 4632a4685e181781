// The bytes of one file, read whole into one zero-filled heap buffer.
#pragma once

#include <cstdint>
#include <cstdio>

class FileBuffer {
 public:
  FileBuffer() = default;
  virtual ~FileBuffer();
  FileBuffer(const FileBuffer&) = delete;
  FileBuffer& operator=(const FileBuffer&) = delete;

  // Reads the whole file, appends `terminator` and, when asked, removes every CR byte.
  bool LoadFile(const char* path, bool stripCarriageReturns, const char* terminator);
  void StripCarriageReturns();

  int32_t length = 0;
  char* data = nullptr;
  FILE* file = nullptr;

 private:
  bool Fail();
};
