// A file held in memory: bytes and a position. Writing past the end lengthens the file; the
// memory grows in steps of a fixed number of bytes.
#pragma once

#include <vector>

#include "platform/Win32.h"

class CMemFile {
 public:
  enum SeekPosition { begin = 0, current = 1, end = 2 };

  explicit CMemFile(UINT growBytes = 1024);

  // Copies up to `count` bytes from the position on; returns how many (fewer at the end).
  UINT Read(void* buffer, UINT count);
  // Writes at the position; a gap left by a seek past the end reads as zeros.
  void Write(const void* buffer, UINT count);
  // Moves the position; returns the new one, or -1 (and stays) for a place before the start.
  LONG Seek(LONG offset, UINT from);
  void SeekToBegin() { position_ = 0; }
  // Moves to the end and returns the length.
  DWORD SeekToEnd();
  DWORD GetLength() const { return length_; }
  DWORD GetPosition() const { return position_; }

 private:
  UINT growBytes_;
  std::vector<BYTE> memory_;
  DWORD length_ = 0;
  DWORD position_ = 0;
};
