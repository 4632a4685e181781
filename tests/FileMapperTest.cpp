// Windows: the table maps files through the mapper that the program hands it, and without one
// reads them into memory. Every test of this program opens files through the handed-in mapper, as
// lintaro.exe does; here the same bytes are also read without it, and both must give one table.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "app/Strings.h"
#include "table/TableFile.h"
#include "windows/FileViewMapper.h"

namespace {

class HandTheMapper : public ::testing::Environment {
 public:
  void SetUp() override { UseFileMapper(&kFileViewMapper); }
};

const auto* const kHanded = ::testing::AddGlobalTestEnvironment(new HandTheMapper);

// Everything a reader of the table can see of it.
struct Seen {
  bool opened = false;
  int32_t lines = 0;
  int32_t columns = 0;
  std::string lineEnd;
  bool copied = false;
  std::vector<std::string> rows;
  std::vector<std::vector<std::string>> fields;
  bool operator==(const Seen&) const = default;
};

void PrintTo(const Seen& seen, std::ostream* out) {
  *out << (seen.opened ? "opened, " : "refused, ") << seen.lines << " lines, " << seen.columns
       << " columns";
  for (const std::string& row : seen.rows)
    *out << "\n  [" << ::testing::PrintToString(row) << "]";
}

Seen Open(const std::string& path, const FileMapper* mapper) {
  UseFileMapper(mapper);
  TableFile table(kColumnTitleFormat);
  Seen seen;
  seen.opened = table.Parse(path.c_str(), false);
  UseFileMapper(&kFileViewMapper);
  if (!seen.opened)
    return seen;
  seen.lines = table.lineCount;
  seen.columns = table.columnCount;
  seen.lineEnd = table.LineEnd();
  seen.copied = table.Buffer().Copied();
  for (int32_t row = 0; row < table.lineCount; ++row) {
    seen.rows.emplace_back(table.RowBytes(row));
    std::vector<std::string>& fields = seen.fields.emplace_back();
    for (int32_t k = 0; k < table.columnCount; ++k)
      fields.emplace_back(table.FieldText(row, k));
  }
  return seen;
}

std::string ManyRows() {
  std::string bytes = "id;name;city\r\n";
  for (int i = 0; i < 20000; ++i)
    bytes += std::to_string(i) + ";n\xE9" + std::to_string(i * 7) + ";c\r\n";
  return bytes;
}

struct FileCase {
  const char* what;
  std::string bytes;  // written to a file; none is written where `make` names the path
  std::string (*make)(const TempDir& dir) = nullptr;
};

const FileCase kFileCases[] = {
    {"an empty file", ""},
    {"LF line ends, the last line without one", "a;b\nc;d"},
    {"CR LF line ends, which a text-mode read would fold", "a;b\r\nc;d\r\n"},
    {"a Ctrl+Z, where a text-mode read would stop", "a;b\r\n\x1A;z\r\nlast;row\r\n"},
    {"a CR inside a field, read from a private copy", "a;b\nc\rx;d\n"},
    {"a NUL, which ends the counting", std::string("a;b\nc\0d;e\nf;g\n", 14)},
    {"Latin-1 bytes over many pages", ManyRows()},
    {"a path that does not exist", "", [](const TempDir& d) { return d.Path("missing.qdx"); }},
    {"a folder", "", [](const TempDir& d) { return d.Root().string(); }},
};

TEST(FileMapper, MappedAndReadIntoMemoryGiveOneTable) {
  for (const FileCase& file : kFileCases) {
    SCOPED_TRACE(file.what);
    TempDir dir;
    std::string path = file.make ? file.make(dir) : dir.Write("t.qdx", file.bytes);
    Seen mapped = Open(path, &kFileViewMapper);
    EXPECT_EQ(mapped.opened, file.make == nullptr);
    EXPECT_EQ(Open(path, nullptr), mapped);
  }
}

}  // namespace
