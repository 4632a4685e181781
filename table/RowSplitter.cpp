#include "table/RowSplitter.h"

#include <algorithm>
#include <cstring>
#include <vector>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define LINTARO_WIDE_SPLIT 1
#endif

namespace {
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

// Records where rows start, at most `lineCount` of them, and how many fields the shortest has.
struct RowRecorder {
  const char** rowStarts;
  int32_t lineCount;
  ShortRowSink shortRows;
  const char* row;  // where the current row starts
  SplitResult result{};
  int32_t fields = 1;

  void StartRow(const char* at) {
    if (result.stored < lineCount) {
      rowStarts[++result.stored] = at;
      result.minFields = std::min(result.minFields, fields);
      if (fields < shortRows.fewerThan)
        shortRows.rows->push_back({row, fields});
    }
    row = at;
    fields = 1;
  }
};

#if LINTARO_WIDE_SPLIT
// One bit for each byte of a 64-byte block whose compare was true.
__attribute__((target("avx2"))) inline uint64_t Bits(__m256i low, __m256i high) {
  return static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(low))) |
         static_cast<uint64_t>(static_cast<uint32_t>(_mm256_movemask_epi8(high))) << 32;
}
#endif

template <class Recorder>
SplitResult SplitNarrow(char* data, size_t length, Recorder rows) {
  char* p = data;
  char* end = data + length;
  while ((p = FindSeparator(p, end)) < end) {
    if (*p == ';') {
      *p++ = '\0';
      ++rows.fields;
      continue;
    }
    *p++ = '\0';
    while (p < end && *p == '\n')
      ++p;
    rows.StartRow(p);
  }
  return rows.result;
}

}  // namespace

SplitResult SplitRowsNarrow(char* data, size_t length, const char** rowStarts, int32_t lineCount,
                            ShortRowSink shortRows) {
  return SplitNarrow(data, length, RowRecorder{rowStarts, lineCount, shortRows, data});
}

#if LINTARO_WIDE_SPLIT
namespace {
// Fields are short, so a loop that stops at every separator spends its time on branches; here two
// compares find every `;` and LF of a block, one blend turns all `;` into NUL, and only the line
// ends, about one a row, are visited one by one.
template <class Recorder>
__attribute__((target("avx2,bmi,popcnt"))) SplitResult SplitWide(char* data, size_t length,
                                                                 Recorder rows) {
  auto* bytes = reinterpret_cast<unsigned char*>(data);
  bool inRun = false;  // the byte before lies in a run of LF bytes
  // The bits at and above `bit`, or all bits when `bit` is 0.
  auto from = [](uint64_t bit) { return bit ? ~(bit - 1) : ~uint64_t{0}; };
  const __m256i semicolon = _mm256_set1_epi8(';');
  const __m256i lineFeed = _mm256_set1_epi8('\n');
  const __m256i nul = _mm256_setzero_si256();
  size_t b = 0;
  for (; b + 64 <= length; b += 64) {
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
        rows.fields += __builtin_popcountll(semicolons & from(counted) & (bit - 1));
        bytes[b + i] = '\0';
      } else {
        rows.StartRow(data + b + i);
      }
      counted = bit;
    }
    rows.fields += __builtin_popcountll(semicolons & from(counted));
    inRun = (lineFeeds >> 63) != 0;
  }
  for (; b < length; ++b) {
    unsigned char c = bytes[b];
    if (inRun) {
      if (c == '\n')
        continue;
      rows.StartRow(data + b);
      inRun = false;
    }
    if (c == ';') {
      bytes[b] = '\0';
      ++rows.fields;
    } else if (c == '\n') {
      bytes[b] = '\0';
      inRun = true;
    }
  }
  if (inRun)
    rows.StartRow(data + length);
  return rows.result;
}
}  // namespace

SplitResult SplitRowsWide(char* data, size_t length, const char** rowStarts, int32_t lineCount,
                          ShortRowSink shortRows) {
  return SplitWide(data, length, RowRecorder{rowStarts, lineCount, shortRows, data});
}

bool CanSplitWide() {
  static const bool wide = __builtin_cpu_supports("avx2");
  return wide;
}

namespace {
__attribute__((target("avx2,popcnt"))) size_t CountRunsWide(const char* data, size_t length) {
  const __m256i lineFeed = _mm256_set1_epi8('\n');
  size_t runs = 0;
  uint64_t carry = 0;  // the byte before the block is LF
  size_t b = 0;
  for (; b + 64 <= length; b += 64) {
    auto* block = reinterpret_cast<const __m256i*>(data + b);
    uint64_t lineFeeds = Bits(_mm256_cmpeq_epi8(_mm256_loadu_si256(block), lineFeed),
                              _mm256_cmpeq_epi8(_mm256_loadu_si256(block + 1), lineFeed));
    runs += static_cast<size_t>(__builtin_popcountll(lineFeeds & ~((lineFeeds << 1) | carry)));
    carry = lineFeeds >> 63;
  }
  for (bool inRun = carry != 0; b < length; ++b) {
    runs += data[b] == '\n' && !inRun;
    inRun = data[b] == '\n';
  }
  return runs;
}
}  // namespace
#else
SplitResult SplitRowsWide(char* data, size_t length, const char** rowStarts, int32_t lineCount,
                          ShortRowSink shortRows) {
  return SplitRowsNarrow(data, length, rowStarts, lineCount, shortRows);
}

bool CanSplitWide() {
  return false;
}
#endif

SplitResult SplitRows(char* data, size_t length, const char** rowStarts, int32_t lineCount,
                      ShortRowSink shortRows) {
  if (CanSplitWide())
    return SplitRowsWide(data, length, rowStarts, lineCount, shortRows);
  return SplitRowsNarrow(data, length, rowStarts, lineCount, shortRows);
}

size_t CountRuns(const char* data, size_t length) {
#if LINTARO_WIDE_SPLIT
  if (CanSplitWide())
    return CountRunsWide(data, length);
#endif
  size_t runs = 0;
  for (const char *p = data, *end = data + length;
       (p = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p))));) {
    ++runs;
    while (p < end && *p == '\n')
      ++p;
  }
  return runs;
}
