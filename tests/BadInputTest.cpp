// Files the reader must refuse: not regular files, too large for the 32-bit count, or shorter
// than they claim. Each must fail without blocking, leaking or leaving a half-loaded table. (What
// the window shows after any of them is in tests/scripts/bad_path_then_open.case.)
#include <gtest/gtest.h>
#include <sys/stat.h>
#if !defined(_WIN32)
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#endif

#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

#include "TestFiles.h"
#include "app/Strings.h"
#include "table/TableFile.h"

namespace fs = std::filesystem;

namespace {

// A file of the given length that takes no disk space.
std::string MakeSparse(const TempDir& dir, const std::string& name, uintmax_t size) {
  std::string path = dir.Write(name, "");
  fs::resize_file(path, size);
  return path;
}

#if defined(_WIN32)
// Windows has no alarm; a read that blocks hangs the test there.
void alarm(unsigned) {}

std::string ShrinkingFile() {
  return "";
}
#else
std::string MakeFifo(const TempDir& dir) {
  std::string path = dir.Path("pipe.qdx");
  if (mkfifo(path.c_str(), 0600) != 0)
    ADD_FAILURE() << "mkfifo: " << std::strerror(errno);
  return path;
}

std::string MakeSocket(const TempDir& dir) {
  std::string path = dir.Path("sock.qdx");
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
  int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  if (fd < 0 || bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
    ADD_FAILURE() << "socket: " << std::strerror(errno);
  if (fd >= 0)
    close(fd);
  return path;
}

// A file whose reported size is larger than what reading it yields, as a file that shrinks
// while it is read would be; empty when the system has none.
std::string ShrinkingFile() {
  const char* path = "/sys/kernel/mm/transparent_hugepage/enabled";
  struct stat info;
  if (stat(path, &info) != 0 || !S_ISREG(info.st_mode))
    return "";
  std::ifstream in(path, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return in.bad() || static_cast<off_t>(bytes.size()) >= info.st_size ? "" : path;
}
#endif

struct BadPath {
  const char* what;
  std::function<std::string(const TempDir&)> make;  // "" where the system has no such file
};

const BadPath kBadPaths[] = {
    {"a path that does not exist", [](const TempDir& d) { return d.Path("missing.qdx"); }},
    {"a directory", [](const TempDir& d) { return d.Root().string(); }},
#if defined(_WIN32)
    {"the null device", [](const TempDir&) { return std::string("NUL"); }},
#else
    // Opening a FIFO without a writer would wait for one forever.
    {"a FIFO with no writer", MakeFifo},
    {"a socket", MakeSocket},
    {"the null device", [](const TempDir&) { return std::string("/dev/null"); }},
    {"an endless device", [](const TempDir&) { return std::string("/dev/zero"); }},
#endif
    {"2 GiB", [](const TempDir& d) { return MakeSparse(d, "2g.qdx", 1ull << 31); }},
    // Its length fits, but not with the terminator and the NUL after it.
    {"2 GiB less 2 bytes",
     [](const TempDir& d) { return MakeSparse(d, "2g-2.qdx", (1ull << 31) - 2); }},
    // A count cut to 32 bits would read this as a 5-byte file.
    {"4 GiB and 5 bytes",
     [](const TempDir& d) { return MakeSparse(d, "4g.qdx", (1ull << 32) + 5); }},
    {"a file that yields fewer bytes than its size",
     [](const TempDir&) { return ShrinkingFile(); }},
};

// One test for each kind of file, named after it; one that this system cannot make is skipped,
// and the run says so.
class BadInput : public ::testing::TestWithParam<BadPath> {};

void PrintTo(const BadPath& bad, std::ostream* out) {
  *out << bad.what;
}

std::string NameOf(const ::testing::TestParamInfo<BadPath>& info) {
  std::string name;
  bool upper = true;
  for (const char* c = info.param.what; *c; ++c) {
    if (!std::isalnum(static_cast<unsigned char>(*c))) {
      upper = true;
      continue;
    }
    name += upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(*c))) : *c;
    upper = false;
  }
  return name;
}

TEST_P(BadInput, ReaderRefusesWhatItCannotReadWhole) {
  TempDir dir;
  std::string path = GetParam().make(dir);
  if (path.empty())
    GTEST_SKIP() << "this system cannot make " << GetParam().what;
  alarm(30);  // a read that blocks ends the test instead of hanging the suite
  FileBuffer buffer;
  EXPECT_FALSE(buffer.LoadFile(path.c_str(), true, "\n"));
  EXPECT_EQ(buffer.data, nullptr);
  EXPECT_EQ(buffer.file, nullptr);
  // A failed parse leaves an empty table that every operation can still use.
  TableFile table(kColumnTitleFormat);
  EXPECT_FALSE(table.Parse(path.c_str(), true));
  EXPECT_EQ(table.Buffer().data, nullptr);
  EXPECT_EQ(table.rowStarts, nullptr);
  EXPECT_EQ(table.lineCount, 0);
  EXPECT_EQ(table.columnCount, 0);
  EXPECT_TRUE(table.headers);
  EXPECT_EQ(table.DataRowCount(), 0);
  EXPECT_STREQ(table.ColumnName(0), "Column 1");
  table.headers = false;
  EXPECT_EQ(table.DataRowCount(), 0);
  alarm(0);
}

INSTANTIATE_TEST_SUITE_P(Files, BadInput, ::testing::ValuesIn(kBadPaths), NameOf);

}  // namespace
