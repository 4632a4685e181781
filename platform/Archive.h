// An archive over an in-memory file: 32-bit integers stored as their 4 bytes, least significant
// first, and nothing else, and read back the same way. Bytes pass through a buffer, the caller's
// or the archive's own; Flush and Close move what is buffered to the file.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/MemFile.h"
#include "platform/Win32.h"

// Raised by a read that finds fewer than 4 bytes left (endOfFile), and by a use of the archive in
// the wrong direction or after Close. The program catches it where it reads the archive.
class CArchiveException {
 public:
  enum { none, generic, readOnly, endOfFile, writeOnly, badIndex, badClass, badSchema };
  explicit CArchiveException(int cause = none) : m_cause(cause) {}
  int m_cause;
};

class CArchive {
 public:
  enum Mode { store = 0, load = 1 };

  // `buffer` of `bufSize` bytes is the caller's and must outlive the archive; without it, or when
  // it is smaller than one integer, the archive uses its own.
  CArchive(CMemFile* file, UINT mode, int bufSize = 4096, void* buffer = nullptr);
  // Closes the archive if the caller has not.
  ~CArchive();
  CArchive(const CArchive&) = delete;
  CArchive& operator=(const CArchive&) = delete;

  BOOL IsLoading() const { return mode_ == load; }
  BOOL IsStoring() const { return mode_ == store; }

  CArchive& operator<<(LONG value);
  CArchive& operator<<(DWORD value);
  CArchive& operator>>(LONG& value);
  CArchive& operator>>(DWORD& value);

  // Storing: writes the buffered bytes to the file. Loading: puts the file's position back after
  // the last byte handed out, dropping what was read ahead.
  void Flush();
  // Flushes and lets go of the file; the archive cannot be used after.
  void Close();

 private:
  void Put(DWORD word);
  DWORD Take();

  CMemFile* file_;
  UINT mode_;
  std::vector<BYTE> own_;
  BYTE* buffer_;
  size_t capacity_;
  size_t held_ = 0;  // bytes in the buffer: waiting to be written, or read ahead
  size_t next_ = 0;  // loading: the next byte to hand out
};
