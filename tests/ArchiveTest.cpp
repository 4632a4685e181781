// The in-memory file and the archive over it: the bytes of stored integers, reading them back
// across buffer refills, and the failure when the data ends before an integer does.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
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

void Write(CMemFile& file, const std::string& text) {
  file.Write(text.data(), static_cast<UINT>(text.size()));
}

TEST(MemFile, WritesSeeksAndReads) {
  struct {
    const char* what;
    UINT growBytes;
    void (*run)(CMemFile&);
    std::string content;
    DWORD position;
  } const cases[] = {
      {"writes append", 4,
       [](CMemFile& f) {
         Write(f, "abc");
         Write(f, "defgh");
       },
       "abcdefgh", 8},
      {"a write after a seek overwrites", 400,
       [](CMemFile& f) {
         Write(f, "abcdef");
         EXPECT_EQ(f.Seek(2, CMemFile::begin), 2);
         Write(f, "XY");
       },
       "abXYef", 4},
      {"a write past the end leaves zeros in the gap", 2,
       [](CMemFile& f) {
         Write(f, "ab");
         EXPECT_EQ(f.Seek(3, CMemFile::end), 5);
         Write(f, "Z");
       },
       std::string("ab\0\0\0Z", 6), 6},
      {"a seek before the start fails and stays", 16,
       [](CMemFile& f) {
         Write(f, "abc");
         EXPECT_EQ(f.Seek(-4, CMemFile::current), -1);
       },
       "abc", 3},
      {"growing many times keeps every byte", 3,
       [](CMemFile& f) {
         for (int i = 0; i < 100; ++i)
           Write(f, std::string(1, static_cast<char>('a' + i % 26)));
       },
       [] {
         std::string s;
         for (int i = 0; i < 100; ++i)
           s += static_cast<char>('a' + i % 26);
         return s;
       }(),
       100},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    CMemFile file(c.growBytes);
    c.run(file);
    EXPECT_EQ(file.GetPosition(), c.position);
    EXPECT_EQ(file.GetLength(), c.content.size());
    Bytes content = Content(file);
    EXPECT_EQ(std::string(content.begin(), content.end()), c.content);
  }
}

TEST(Archive, StoresEachIntegerAsItsFourBytesLeastSignificantFirst) {
  struct {
    const char* what;
    int bufSize;
    bool callerBuffer;
  } const buffers[] = {
      {"the caller's buffer", 1024, true},         {"a caller's buffer of one integer", 4, true},
      {"a caller's buffer of six bytes", 6, true}, {"the archive's own buffer", 4096, false},
      {"a buffer too small to use", 2, true},
  };
  const Bytes expected = {0x6E, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0x78, 0x56,
                          0x34, 0x12, 0x00, 0x00, 0x00, 0x80, 0x2C, 0x00, 0x00, 0x00};
  for (const auto& b : buffers) {
    SCOPED_TRACE(b.what);
    CMemFile file(400);
    BYTE buffer[1024];
    {
      CArchive ar(&file, CArchive::store, b.bufSize, b.callerBuffer ? buffer : nullptr);
      EXPECT_TRUE(ar.IsStoring());
      ar << LONG{110} << LONG{-1} << DWORD{0x12345678} << LONG{INT32_MIN} << DWORD{44};
      ar.Close();
    }
    EXPECT_EQ(Content(file), expected);
  }
  // Whatever is still buffered reaches the file when the archive ends without Close.
  CMemFile file;
  {
    CArchive ar(&file, CArchive::store);
    ar << DWORD{0x01020304};
  }
  EXPECT_EQ(Content(file), (Bytes{4, 3, 2, 1}));
}

TEST(Archive, ReadsIntegersBackUntilTheDataEnds) {
  struct {
    const char* what;
    Bytes data;
    int bufSize;
    std::vector<DWORD> words;  // read before the data ends
  } const cases[] = {
      {"no data", {}, 1024, {}},
      {"three bytes", {1, 2, 3}, 1024, {}},
      {"one integer", {0x6E, 0, 0, 0}, 1024, {110}},
      {"one integer and three bytes", {0x6E, 0, 0, 0, 8, 0, 0}, 1024, {110}},
      {"refills of a buffer of one integer", {1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0}, 4, {1, 2, 3}},
      {"refills that split an integer", {1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 0xFF}, 5, {1, 2, 3}},
      {"high bytes", {0xFF, 0xFE, 0xFD, 0xFC}, 1024, {0xFCFDFEFF}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    CMemFile file;
    file.Write(c.data.data(), static_cast<UINT>(c.data.size()));
    file.SeekToBegin();
    BYTE buffer[1024];
    CArchive ar(&file, CArchive::load, c.bufSize, buffer);
    EXPECT_TRUE(ar.IsLoading());
    std::vector<DWORD> words;
    int cause = CArchiveException::none;
    try {
      for (size_t i = 0; i <= c.data.size() / 4; ++i) {
        DWORD word = 0;
        ar >> word;
        words.push_back(word);
      }
    } catch (const CArchiveException& e) {
      cause = e.m_cause;
    }
    EXPECT_EQ(words, c.words);
    EXPECT_EQ(cause, CArchiveException::endOfFile);
  }
  // A signed read gives the same bits.
  CMemFile file;
  file.Write("\xFE\xFF\xFF\xFF", 4);
  file.SeekToBegin();
  CArchive ar(&file, CArchive::load);
  LONG value = 0;
  ar >> value;
  EXPECT_EQ(value, -2);
}

}  // namespace
