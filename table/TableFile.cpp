#include "table/TableFile.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

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

#if defined(__x86_64__) && defined(__GNUC__)
// One bit for each byte of a 64-byte block whose compare was true.
__attribute__((target("avx2"))) inline uint64_t Bits(__m256i low, __m256i high) {
  return static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(low))) |
         static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(high))) << 32;
}
#endif

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
  minFields_ = INT32_MAX;
#if defined(__x86_64__) && defined(__GNUC__)
  static const bool wide = __builtin_cpu_supports("avx2");
  if (wide) {
    SplitWide();
  } else {
    SplitNarrow();
  }
#else
  SplitNarrow();
#endif
  if (lineCount == 0)
    minFields_ = 0;
}

void TableFile::SplitNarrow() {
  char* p = data;
  char* end = data + length;
  int32_t stored = 0;
  int32_t fields = 1;
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
}

#if defined(__x86_64__) && defined(__GNUC__)
// The same split, 64 bytes at a time. Fields are short, so a loop that stops at every separator
// spends its time on branches; here two compares find every `;` and LF of a block, one blend turns
// all `;` into NUL, and only the line ends, about one a row, are visited one by one.
__attribute__((target("avx2,bmi,popcnt"))) void TableFile::SplitWide() {
  auto* bytes = reinterpret_cast<unsigned char*>(data);
  const size_t size = static_cast<size_t>(length);
  int32_t stored = 0;
  int32_t fields = 1;
  bool inRun = false;  // the byte before lies in a run of LF bytes
  auto startRow = [&](size_t at) {
    if (stored < lineCount) {
      rowStarts[++stored] = data + at;
      minFields_ = std::min(minFields_, fields);
    }
    fields = 1;
  };
  // The bits at and above `bit`, or all bits when `bit` is 0.
  auto from = [](uint64_t bit) { return bit ? ~(bit - 1) : ~uint64_t{0}; };
  const __m256i semicolon = _mm256_set1_epi8(';');
  const __m256i lineFeed = _mm256_set1_epi8('\n');
  const __m256i nul = _mm256_setzero_si256();
  size_t b = 0;
  for (; b + 64 <= size; b += 64) {
    auto* block = reinterpret_cast<__m256i*>(bytes + b);
    __m256i low = _mm256_loadu_si256(block);
    __m256i high = _mm256_loadu_si256(block + 1);
    __m256i lowSemicolons = _mm256_cmpeq_epi8(low, semicolon);
    __m256i highSemicolons = _mm256_cmpeq_epi8(high, semicolon);
    uint64_t semicolons = Bits(lowSemicolons, highSemicolons);
    uint64_t lineFeeds = Bits(_mm256_cmpeq_epi8(low, lineFeed), _mm256_cmpeq_epi8(high, lineFeed));
    if (semicolons) {
      _mm256_storeu_si256(block, _mm256_blendv_epi8(low, nul, lowSemicolons));
      _mm256_storeu_si256(block + 1, _mm256_blendv_epi8(high, nul, highSemicolons));
    }
    uint64_t afterLineFeed = (lineFeeds << 1) | (inRun ? 1 : 0);
    uint64_t runStarts = lineFeeds & ~afterLineFeed;
    uint64_t rowBegins = ~lineFeeds & afterLineFeed;
    uint64_t counted = 0;  // the `;` bits from this one up are not counted yet
    for (uint64_t events = runStarts | rowBegins; events; events &= events - 1) {
      unsigned i = static_cast<unsigned>(__builtin_ctzll(events));
      uint64_t bit = uint64_t{1} << i;
      if (runStarts & bit) {
        fields += __builtin_popcountll(semicolons & from(counted) & (bit - 1));
        bytes[b + i] = '\0';
      } else {
        startRow(b + i);
      }
      counted = bit;
    }
    fields += __builtin_popcountll(semicolons & from(counted));
    inRun = (lineFeeds >> 63) != 0;
  }
  for (; b < size; ++b) {
    unsigned char c = bytes[b];
    if (inRun) {
      if (c == '\n')
        continue;
      startRow(b);
      inRun = false;
    }
    if (c == ';') {
      bytes[b] = '\0';
      ++fields;
    } else if (c == '\n') {
      bytes[b] = '\0';
      inRun = true;
    }
  }
  if (inRun)
    startRow(size);
}
#endif

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

bool TableFile::PastRow(const char* row, const char* p, const char*& end) const {
  if (!end)
    end = RowEnd(row);
  return p >= end || *p == '\n';
}

const char* TableFile::Field(const char* row, int32_t k) const {
  if (k < minFields_)
    return SkipFields(row, k);
  const char* end = nullptr;
  const char* p = row;
  for (int32_t i = 0; i < k; ++i) {
    p += std::strlen(p) + 1;
    if (PastRow(row, p, end))
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

void TableFile::FieldTexts(const char* row, int32_t count, const char** texts, size_t* lengths) {
  const TableFile* table = count > 1 ? Owner(row) : nullptr;
  const char* end = nullptr;
  const char* p = row;
  int32_t k = 0;
  for (; k < count; ++k) {
    // Every row has the fields below minFields_; past them the walk may have left the row.
    if (k > 0 && (!table || (k >= table->minFields_ && table->PastRow(row, p, end))))
      break;
    texts[k] = p;
    lengths[k] = std::strlen(p);
    p += lengths[k] + 1;
  }
  for (; k < count; ++k) {
    texts[k] = kEmpty;
    lengths[k] = 0;
  }
}

int32_t TableFile::DataRowCount() const {
  // A table without lines has no data rows, whichever way the first line counts.
  return std::max<int32_t>(0, headers ? lineCount - 1 : lineCount);
}

const char* TableFile::DataRow(int32_t i) const {
  return rowStarts[headers ? i + 1 : i];
}
