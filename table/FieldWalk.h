// Every field of a stretch of whole rows, in one walk along their bytes: visit(column, text,
// length, printable, nondigits) for each field that is not empty, in file order, with whether all
// its bytes are printable ASCII (0x20 to 0x7E), which bounds its width more tightly, and a
// FieldNondigits to ask which of them are not digits, so that a number or a code is summed without
// reading its digits. It finds the same fields as TableFile::FieldText row by row, without the
// index, 64 bytes at a time where the processor can. On the way it counts the stretch's line ends
// as CountLineEnds does, so that a load that fits the widths reads each byte once for both.
#pragma once

#include <cstddef>
#include <cstdint>

#include "table/Fields.h"
#include "table/LineEnds.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define LINTARO_WIDE_WALK 1
#endif

namespace fields {

// Where the walk stands between two bytes: in a row's field `column` since `start`, or past the
// row's last field until the next row begins.
struct WalkState {
  WalkState(const char* from, const char* to, bool endsFile)
      : start(from), begin(from), end(to), otherAfter(from), fileEnd(endsFile) {
    count.firstNul = static_cast<size_t>(to - from);
  }

  const char* start;
  const char* begin;
  const char* end;
  const char* otherAfter;  // just past the last byte seen outside printable ASCII, or `begin`
  // The block of 64 bytes being walked, or null when bytes are walked one at a time, with a bit for
  // each of its bytes and of the block before it that is not a digit (all set when not known).
  const char* block = nullptr;
  uint64_t nondigits = ~uint64_t{0};
  uint64_t nondigitsBefore = ~uint64_t{0};
  bool fileEnd;  // the stretch ends the file, so a CR at its end ends the last line
  int32_t column = 0;
  bool pastRow = false;
  bool afterLineEnd = false;  // the byte before is a line-end byte
  bool pastNul = false;       // nothing more counts
  LineCount count;
};

// Whether the CR at `p` is one that a line end explains: an LF follows, or the file ends.
inline bool ReturnEndsLine(const char* p, const WalkState& s) {
  return p + 1 < s.end ? p[1] == '\n' : s.fileEnd;
}

inline void CountByte(const char* p, bool lineEnd, WalkState& s) {
  if (s.pastNul)
    return;
  if (*p == '\0') {
    s.pastNul = true;
    s.count.firstNul = static_cast<size_t>(p - s.begin);
    return;
  }
  s.count.runs += lineEnd && !s.afterLineEnd;
  if (*p == '\r' && !ReturnEndsLine(p, s))
    s.count.strayCarriageReturn = true;
}

constexpr uint64_t kAllBytes = ~uint64_t{0};

// Asked for, one bit for each byte of the field [start, at) that is not a digit, as the walk's bits
// of the block it stands in and of the one before tell; all 64 bits when they do not tell (a field
// longer than 64 bytes, or bytes walked one at a time). A caller may rely on a bit for every byte
// that is not a digit, and on no bit past the field unless all 64 are set; a bit for a digit only
// costs it time. Most callers never ask, and pay nothing for it.
class FieldNondigits {
 public:
  FieldNondigits(const char* at, const WalkState& s) : at_(at), s_(s) {}

  uint64_t operator()() const {
#if LINTARO_WIDE_WALK
    ptrdiff_t back = s_.block - s_.start;  // more than 0 when the field began in the block before
    if (!s_.block || back > 64 || at_ - s_.start > 64)
      return kAllBytes;
    // The two blocks' bits as one number, the block before in the lower half.
    unsigned __int128 both =
        static_cast<unsigned __int128>(s_.nondigits) << 64 | s_.nondigitsBefore;
    auto from = static_cast<unsigned>(64 - back);
    auto length = static_cast<unsigned>(at_ - s_.start);
    auto bits = static_cast<uint64_t>(both >> from);
    return length == 64 ? bits : bits & ((uint64_t{1} << length) - 1);
#else
    return kAllBytes;
#endif
  }

 private:
  const char* at_;
  const WalkState& s_;
};

// `separator`: the field ends at a `;`, and the row goes on.
template <class Visit>
inline void EndField(const char* at, bool separator, WalkState& s, Visit& visit) {
  if (at > s.start)
    visit(s.column, s.start, static_cast<size_t>(at - s.start), s.otherAfter <= s.start,
          FieldNondigits(at, s));
  if (separator) {
    ++s.column;
    s.start = at + 1;
  } else {
    s.pastRow = true;
  }
}

template <class Visit>
inline void WalkByte(const char* p, WalkState& s, Visit& visit) {
  char c = *p;
  bool lineEnd = c == '\n' || c == '\r';
  CountByte(p, lineEnd, s);
  if (s.afterLineEnd && !lineEnd) {
    s.start = p;
    s.column = 0;
    s.pastRow = false;
  }
  s.afterLineEnd = lineEnd;
  if (!s.pastRow && IsStop(c)) {
    EndField(p, c == ';', s, visit);
    return;
  }
  auto b = static_cast<unsigned char>(c);
  if (b < 0x20 || b > 0x7E)
    s.otherAfter = p + 1;
}

template <class Visit>
inline void WalkEnd(const char* end, WalkState& s, Visit& visit) {
  if (!s.pastRow && !s.afterLineEnd && end > s.start)
    visit(s.column, s.start, static_cast<size_t>(end - s.start), s.otherAfter <= s.start,
          FieldNondigits(end, s));
}

// The rows whose bytes are [from, to); `from` begins a row. `fileEnd`: the bytes end the file.
template <class Visit>
LineCount WalkFieldsNarrow(const char* from, const char* to, bool fileEnd, Visit&& visit) {
  WalkState s(from, to, fileEnd);
  for (const char* p = from; p < to; ++p)
    WalkByte(p, s, visit);
  WalkEnd(to, s, visit);
  return s.count;
}

#if LINTARO_WIDE_WALK
// One bit for each byte of a 64-byte block of each kind the walk looks for.
struct BlockBits {
  uint64_t separators;
  uint64_t lineFeeds;
  uint64_t returns;
  uint64_t nuls;
  uint64_t others;  // outside printable ASCII, line ends and NULs among them
  uint64_t nondigits;
};

__attribute__((target("avx2"))) inline uint64_t Bits(__m256i low, __m256i high) {
  auto lowBits = static_cast<uint32_t>(_mm256_movemask_epi8(low));
  auto highBits = static_cast<uint32_t>(_mm256_movemask_epi8(high));
  return lowBits | static_cast<uint64_t>(highBits) << 32;
}

__attribute__((target("avx2"))) inline uint64_t Equal(__m256i low, __m256i high, char b) {
  const __m256i value = _mm256_set1_epi8(b);
  return Bits(_mm256_cmpeq_epi8(low, value), _mm256_cmpeq_epi8(high, value));
}

// The bytes strictly between `below` and `above`, compared as signed bytes.
__attribute__((target("avx2"))) inline uint64_t Between(__m256i low, __m256i high, char below,
                                                        char above) {
  const __m256i a = _mm256_set1_epi8(below);
  const __m256i b = _mm256_set1_epi8(above);
  return Bits(_mm256_and_si256(_mm256_cmpgt_epi8(low, a), _mm256_cmpgt_epi8(b, low)),
              _mm256_and_si256(_mm256_cmpgt_epi8(high, a), _mm256_cmpgt_epi8(b, high)));
}

__attribute__((target("avx2"))) inline BlockBits ClassifyBlock(const char* at) {
  __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at));
  __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(at + 32));
  return BlockBits{Equal(low, high, ';'),           Equal(low, high, '\n'),
                   Equal(low, high, '\r'),          Equal(low, high, '\0'),
                   ~Between(low, high, 0x1F, 0x7F), ~Between(low, high, '0' - 1, '9' + 1)};
}

// Only the ends of fields are visited one by one; a row's start, of which there is at most one
// between two ends of fields, is taken up at the end that follows it. A block that holds a NUL (a
// page lost under the mapping) is walked a byte at a time.
template <class Visit>
__attribute__((target("avx2,bmi,popcnt"))) LineCount WalkFieldsWide(const char* from,
                                                                    const char* to, bool fileEnd,
                                                                    Visit&& visit) {
  WalkState s(from, to, fileEnd);
  const char* p = from;
  for (; to - p >= 64; p += 64) {
    __builtin_prefetch(p + 512);
    BlockBits block = ClassifyBlock(p);
    if (block.nuls) {
      s.block = nullptr;
      for (const char* q = p; q < p + 64; ++q)
        WalkByte(q, s, visit);
      s.nondigits = kAllBytes;
      continue;
    }
    s.block = p;
    s.nondigitsBefore = s.nondigits;
    s.nondigits = block.nondigits;
    uint64_t ends = block.lineFeeds | block.returns;
    // Only fields hold the bytes that count here; fields end at line ends.
    uint64_t others = block.others & ~ends;
    uint64_t before = (ends << 1) | (s.afterLineEnd ? 1 : 0);
    uint64_t rowStarts = ~ends & before;
    if (!s.pastNul) {
      s.count.runs += static_cast<size_t>(__builtin_popcountll(ends & ~before));
      uint64_t followedByLf = block.lineFeeds >> 1;
      if (p + 64 < s.end ? p[64] == '\n' : s.fileEnd)
        followedByLf |= uint64_t{1} << 63;
      if (block.returns & ~followedByLf)
        s.count.strayCarriageReturn = true;
    }
    for (uint64_t events = block.separators | (ends & ~before); events; events &= events - 1) {
      auto i = static_cast<unsigned>(__builtin_ctzll(events));
      uint64_t upTo = events ^ (events - 1);  // the bits up to and with this one
      if (uint64_t started = rowStarts & upTo) {
        s.start = p + 63 - __builtin_clzll(started);
        s.column = 0;
        s.pastRow = false;
        rowStarts &= ~upTo;
      }
      if (uint64_t seen = others & upTo) {
        s.otherAfter = p + 64 - __builtin_clzll(seen);
        others &= ~upTo;
      }
      if (!s.pastRow)
        EndField(p + i, (block.separators >> i) & 1, s, visit);
    }
    if (others)
      s.otherAfter = p + 64 - __builtin_clzll(others);
    if (rowStarts) {
      s.start = p + 63 - __builtin_clzll(rowStarts);
      s.column = 0;
      s.pastRow = false;
    }
    s.afterLineEnd = (ends >> 63) != 0;
  }
  s.block = nullptr;
  for (; p < to; ++p)
    WalkByte(p, s, visit);
  WalkEnd(to, s, visit);
  return s.count;
}

inline bool CanWalkWide() {
  static const bool wide = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("bmi") &&
                           __builtin_cpu_supports("popcnt");
  return wide;
}

// FindField 64 bytes at a time: a block's separators before the row's end are counted off at
// once, so that a field far into its row costs a few blocks and no branch per separator.
__attribute__((target("avx2,bmi,popcnt"))) inline std::string_view FindFieldWide(const char* p,
                                                                                 const char* end,
                                                                                 const char* limit,
                                                                                 int32_t k) {
  while (k > 0 && p < end && limit - p >= 64) {
    __m256i low = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    __m256i high = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32));
    uint64_t rowEnds = Equal(low, high, '\n') | Equal(low, high, '\r') | Equal(low, high, '\0');
    // Bytes from the row's end on, and from `end` on, are not the row's.
    uint64_t inRow = rowEnds ? (rowEnds & (0 - rowEnds)) - 1 : ~uint64_t{0};
    bool rowEnded = rowEnds != 0 || end - p <= 64;
    if (end - p < 64)
      inRow &= (uint64_t{1} << (end - p)) - 1;
    uint64_t separators = Equal(low, high, ';') & inRow;
    auto count = static_cast<int32_t>(__builtin_popcountll(separators));
    if (count >= k) {
      for (int32_t skip = k - 1; skip > 0; --skip)
        separators &= separators - 1;
      return FieldFrom(p + __builtin_ctzll(separators) + 1, end, limit);
    }
    if (rowEnded)
      return {};
    k -= count;
    p += 64;
  }
  return FindField(p, end, limit, k);
}
#endif

template <class Visit>
LineCount WalkFields(const char* from, const char* to, bool fileEnd, Visit&& visit) {
#if LINTARO_WIDE_WALK
  if (CanWalkWide())
    return WalkFieldsWide(from, to, fileEnd, visit);
#endif
  return WalkFieldsNarrow(from, to, fileEnd, visit);
}

// Field k of the row whose bytes are [p, end), as FindField finds it.
inline std::string_view FindFieldFast(const char* p, const char* end, const char* limit,
                                      int32_t k) {
#if LINTARO_WIDE_WALK
  if (CanWalkWide())
    return FindFieldWide(p, end, limit, k);
#endif
  return FindField(p, end, limit, k);
}

}  // namespace fields
