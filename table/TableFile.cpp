#include "table/TableFile.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "app/Strings.h"

namespace {
const char kEmpty[] = "";

// The tables whose buffers row references may point into. A field is read from a row reference
// alone, so the table that owns the row is found by its address range.
std::vector<const TableFile*>& LiveTables() {
  static std::vector<const TableFile*> tables;
  return tables;
}

// Eight bytes at a time: whether any of them is `b`.
inline uint64_t HasByte(uint64_t word, uint8_t b) {
  constexpr uint64_t kOnes = 0x0101010101010101ULL;
  uint64_t x = word ^ (kOnes * b);
  return (x - kOnes) & ~x & (kOnes << 7);
}

// The first `;` or LF at or after p, or `end`.
inline char* FindSeparator(char* p, char* end) {
  while (end - p >= 8) {
    uint64_t word;
    std::memcpy(&word, p, 8);
    if (HasByte(word, ';') | HasByte(word, '\n'))
      break;
    p += 8;
  }
  while (p < end && *p != ';' && *p != '\n')
    ++p;
  return p;
}

inline const char* SkipFields(const char* p, int32_t k) {
  for (int32_t i = 0; i < k; ++i)
    p += std::strlen(p) + 1;
  return p;
}
}  // namespace

TableFile::TableFile() = default;

TableFile::~TableFile() {
  auto& tables = LiveTables();
  tables.erase(std::remove(tables.begin(), tables.end(), this), tables.end());
  std::free(rowStarts);
  rowStarts = nullptr;
}

void TableFile::Clear() {
  std::free(rowStarts);
  rowStarts = nullptr;
  lineCount = 0;
  columnCount = 0;
}

bool TableFile::Parse(const char* path, bool withHeaders) {
  headers = withHeaders;
  if (!LoadFile(path, true, "\n"))
    return false;
  char* end = data + length;
  char* firstLf = static_cast<char*>(std::memchr(data, '\n', static_cast<size_t>(length)));
  if (!firstLf)
    return false;
  columnCount = 1 + static_cast<int32_t>(std::count(data, firstLf, ';'));
  char* firstNul = static_cast<char*>(std::memchr(data, '\0', static_cast<size_t>(length)));
  char* counted = firstNul ? firstNul : end;
  int32_t lines = 0;
  for (char* p = data; (p = static_cast<char*>(std::memchr(p, '\n', counted - p)));) {
    ++lines;
    while (p < counted && *p == '\n')
      ++p;
  }
  lineCount = lines;
  rowStarts = static_cast<const char**>(
      std::calloc(static_cast<size_t>(lineCount) + 1, sizeof(const char*)));
  if (!rowStarts) {
    Clear();
    return false;
  }
  rowStarts[0] = data;
  Split();
  LiveTables().push_back(this);
  return true;
}

void TableFile::Split() {
  char* p = data;
  char* end = data + length;
  int32_t stored = 0;
  int32_t fields = 1;
  minFields_ = INT32_MAX;
  while ((p = FindSeparator(p, end)) < end) {
    if (*p == ';') {
      *p++ = '\0';
      ++fields;
      continue;
    }
    *p++ = '\0';
    while (p < end && *p == '\n')
      ++p;
    if (stored < lineCount) {
      rowStarts[++stored] = p;
      minFields_ = std::min(minFields_, fields);
    }
    fields = 1;
  }
  if (lineCount == 0)
    minFields_ = 0;
}

const char* TableFile::ColumnName(int32_t index) {
  if (headers && index >= 0 && index < columnCount && rowStarts) {
    return FieldText(rowStarts[0], index);
  }
  std::snprintf(title_, sizeof title_, kColumnTitleFormat, static_cast<long>(index) + 1);
  return title_;
}

const TableFile* TableFile::Owner(const char* row) {
  for (const TableFile* table : LiveTables()) {
    if (row >= table->data && row < table->data + table->length)
      return table;
  }
  return nullptr;
}

const char* TableFile::RowEnd(const char* row) const {
  const char** last = rowStarts + lineCount + 1;
  const char** next = std::upper_bound(rowStarts, last, row);
  return next == last ? data + length : *next;
}

const char* TableFile::Field(const char* row, int32_t k) const {
  if (k < minFields_)
    return SkipFields(row, k);
  const char* end = RowEnd(row);
  const char* p = row;
  for (int32_t i = 0; i < k; ++i) {
    p += std::strlen(p) + 1;
    // Past the row's last NUL lies either a leftover line end or the next row.
    if (p >= end || *p == '\n')
      return kEmpty;
  }
  return p;
}

const char* TableFile::FieldText(const char* row, int32_t k) {
  if (k <= 0)
    return row;
  const TableFile* table = Owner(row);
  return table ? table->Field(row, k) : kEmpty;
}

int32_t TableFile::DataRowCount() const {
  // A table without lines has no data rows, whichever way the first line counts.
  return std::max<int32_t>(0, headers ? lineCount - 1 : lineCount);
}

const char* TableFile::DataRow(int32_t i) const {
  return rowStarts[headers ? i + 1 : i];
}
