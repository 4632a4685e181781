#include "table/FileBuffer.h"

#include <sys/stat.h>
#if defined(__unix__)
#include <unistd.h>
#endif

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "table/HugePages.h"
#include "table/Workers.h"

namespace {
// Reading in parts on every core: much of a big read is the copy out of the system's file cache
// and the first touch of fresh memory, and both go faster on more than one core.
constexpr size_t kReadGrain = size_t{16} << 20;

size_t ReadWhole(FILE* file, char* into, size_t length) {
#if defined(__unix__)
  int fd = fileno(file);
  std::atomic<bool> failed{false};
  Workers::ForRange(length, kReadGrain, [&](size_t begin, size_t end) {
    while (begin < end && !failed) {
      ssize_t got = pread(fd, into + begin, end - begin, static_cast<off_t>(begin));
      if (got <= 0) {
        failed = true;
        return;
      }
      begin += static_cast<size_t>(got);
    }
  });
  return failed ? 0 : length;
#else
  return std::fread(into, 1, length, file);
#endif
}

// Only a regular file can be read whole: opening a FIFO without a writer would block, and a
// device or a folder has no length to read.
bool IsRegularFile(const char* path) {
  struct stat info;
  return stat(path, &info) == 0 && S_ISREG(info.st_mode);
}
// The position at the end of the file, in 64 bits everywhere: where `long` has 32 bits a file of
// 4 GiB and more would read as a small one, and load cut short as if it were whole.
int64_t EndPosition(FILE* file) {
#if defined(_WIN32)
  if (_fseeki64(file, 0, SEEK_END) != 0)
    return -1;
  return _ftelli64(file);
#else
  if (fseeko(file, 0, SEEK_END) != 0)
    return -1;
  return ftello(file);
#endif
}
}  // namespace

FileBuffer::~FileBuffer() {
  std::free(data);
  data = nullptr;
  length = 0;
}

bool FileBuffer::Fail() {
  std::fclose(file);
  file = nullptr;
  return false;
}

bool FileBuffer::LoadFile(const char* path, bool stripCarriageReturns, const char* terminator) {
  if (!IsRegularFile(path))
    return false;
  file = std::fopen(path, "rb");
  if (!file)
    return false;
  int64_t position = EndPosition(file);
  if (position < 0)
    return Fail();
  const auto terminatorLength = static_cast<int64_t>(std::strlen(terminator));
  // The length, terminator included, must fit the signed 32-bit count: a larger file is refused
  // rather than cut short.
  if (position > std::numeric_limits<int32_t>::max() - terminatorLength - 1)
    return Fail();
  length = static_cast<int32_t>(position);
  if (std::fseek(file, 0, SEEK_SET) != 0)
    return Fail();
  size_t size = static_cast<size_t>(length) + static_cast<size_t>(terminatorLength) + 1;
  data = static_cast<char*>(std::calloc(size, 1));
  if (!data)
    return Fail();
  PreferHugePages(data, size);
  std::memcpy(data + length, terminator, static_cast<size_t>(terminatorLength) + 1);
  size_t read = ReadWhole(file, data, static_cast<size_t>(length));
  if (read != static_cast<size_t>(length)) {
    std::free(data);
    data = nullptr;
    return Fail();
  }
  length += static_cast<int32_t>(terminatorLength);
  if (stripCarriageReturns)
    StripCarriageReturns();
  std::fclose(file);
  file = nullptr;
  return true;
}

void FileBuffer::StripCarriageReturns() {
  // Bytes before the first CR stay where they are; the NUL after the content is kept too.
  size_t end = static_cast<size_t>(length) + 1;
  char* first = static_cast<char*>(std::memchr(data, '\r', end));
  size_t j = first ? static_cast<size_t>(first - data) : end;
  for (size_t i = j; i < end; ++i) {
    if (data[i] != '\r')
      data[j++] = data[i];
  }
  length = static_cast<int32_t>(j);
}
