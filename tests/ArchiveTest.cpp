// The in-memory file and the archive over it: the bytes of stored integers, reading them back
// across buffer refills, and the failure when the data ends before an integer does.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "platform/Archive.h"
#include "platform/MemFile.h"

namespace {

using Bytes = std::vector<BYTE>;

Bytes Content(CMemFile& file) {
  DWORD position = file.GetPosition();
  Bytes bytes(file.GetLength());
  file.SeekToBegin();
  bytes.resize(file.Read(bytes.data(), static_cast<UINT>(bytes.size())));
  file.Seek(static_cast<LONG>(position), CMemFile::begin);
  return bytes;
}

TEST(MemFile, SeeksOverwriteFailBeforeTheStartAndLeaveZerosInAGap) {
  CMemFile file(2);
  file.Write("abcdef", 6);
  EXPECT_EQ(file.Seek(-4, CMemFile::current), 2);
  file.Write("XY", 2);
  EXPECT_EQ(file.Seek(-5, CMemFile::current), -1);
  EXPECT_EQ(file.GetPosition(), 4u);
  EXPECT_EQ(file.Seek(2, CMemFile::end), 8);
  file.Write("Z", 1);
  EXPECT_EQ(file.GetLength(), 9u);
  EXPECT_EQ(Content(file), (Bytes{'a', 'b', 'X', 'Y', 'e', 'f', 0, 0, 'Z'}));
}

// The cause of the failure of one more read, or `none`.
int CauseOfNextRead(CArchive& ar) {
  try {
    DWORD word = 0;
    ar >> word;
  } catch (const CArchiveException& e) {
    return e.m_cause;
  }
  return CArchiveException::none;
}

TEST(Archive, StoresIntegersLeastSignificantByteFirstAndReadsThemBack) {
  struct {
    const char* what;
    int bufSize;
    bool callerBuffer;
  } const buffers[] = {
      {"a caller's buffer of one integer: a refill for each", 4, true},
      {"a caller's buffer of six bytes: refills split integers", 6, true},
      {"the archive's own buffer", 4096, false},
      {"a buffer too small to use", 2, true},
  };
  const Bytes expected = {0x6E, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x78, 0x56,
                          0x34, 0x12, 0x00, 0x00, 0x00, 0x80, 0xFF, 0xFE, 0xFD, 0xFC};
  for (const auto& b : buffers) {
    SCOPED_TRACE(b.what);
    CMemFile file(3);  // grows many times
    BYTE buffer[8];
    {
      CArchive ar(&file, CArchive::store, b.bufSize, b.callerBuffer ? buffer : nullptr);
      EXPECT_TRUE(ar.IsStoring());
      ar << LONG{110} << LONG{-1} << DWORD{0x12345678} << LONG{INT32_MIN} << DWORD{0xFCFDFEFF};
      ar.Close();
    }
    EXPECT_EQ(Content(file), expected);

    file.Write("\x01\x02\x03", 3);  // an integer cut short
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load, b.bufSize, b.callerBuffer ? buffer : nullptr);
    EXPECT_TRUE(ar.IsLoading());
    LONG first = 0, second = 0, fourth = 0;
    DWORD third = 0, fifth = 0;
    ar >> first >> second >> third >> fourth >> fifth;
    EXPECT_EQ(first, 110);
    EXPECT_EQ(second, -1);
    EXPECT_EQ(third, 0x12345678u);
    EXPECT_EQ(fourth, INT32_MIN);
    EXPECT_EQ(fifth, 0xFCFDFEFFu);
    EXPECT_EQ(CauseOfNextRead(ar), CArchiveException::endOfFile);
  }
  // Whatever is still buffered reaches the file when the archive ends without Close; no data at
  // all ends a read at once.
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    ar << DWORD{0x01020304};
  }
  EXPECT_EQ(Content(file), (Bytes{4, 3, 2, 1}));
  CMemFile empty;
  CArchive ar(&empty, CArchive::load);
  EXPECT_EQ(CauseOfNextRead(ar), CArchiveException::endOfFile);
}

}  // namespace
