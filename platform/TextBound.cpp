#include "platform/TextBound.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define LINTARO_WIDE_BOUND 1
#endif

namespace {
#if LINTARO_WIDE_BOUND
constexpr size_t kBlock = 32;
constexpr uintptr_t kPage = 4096;

bool CanBoundWide() {
  static const bool wide = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("popcnt");
  return wide;
}

// One bit for each of the 32 bytes that lies strictly between `low` and `high`, as signed bytes.
__attribute__((target("avx2"))) inline uint32_t Within(__m256i bytes, char low, char high) {
  __m256i in = _mm256_and_si256(_mm256_cmpgt_epi8(bytes, _mm256_set1_epi8(low)),
                                _mm256_cmpgt_epi8(_mm256_set1_epi8(high), bytes));
  return static_cast<uint32_t>(_mm256_movemask_epi8(in));
}
#endif
}  // namespace

TextBound::TextBound(const Advances& advances)
    : advances_(advances),
      widest_(*std::max_element(advances.begin(), advances.end())),
      uniform_(std::all_of(advances.begin(), advances.end(),
                           [&](int a) { return a == advances.front(); })) {
  for (unsigned b = 0; b < 256; ++b) {
    int64_t& widest = b >= 0x20 && b < 0x7F ? widestPrintable_ : widestOther_;
    widest = std::max<int64_t>(widest, advances[b]);
  }
  widestDigit_ = *std::max_element(advances.begin() + '0', advances.begin() + '9' + 1);
  widestSlim_ = advances[' '];
  for (unsigned b = 'a'; b <= 'z'; ++b) {
    if (b != 'm' && b != 'w')
      widestSlim_ = std::max<int64_t>(widestSlim_, advances[b]);
  }
  if (std::all_of(advances.begin() + '0', advances.begin() + '9' + 1,
                  [&](int a) { return a == advances['0']; }))
    digit_ = advances['0'];
#if LINTARO_WIDE_BOUND
  if (!uniform_ && digit_ >= 0 && CanBoundWide())
    above_ = &TextBound::AboveWide;
#endif
}

int64_t TextBound::Sum(const char* text, size_t length) const {
  if (uniform_)
    return static_cast<int64_t>(length) * widest_;
  int64_t sum = 0;
  for (size_t i = 0; i < length; ++i)
    sum += advances_[static_cast<unsigned char>(text[i])];
  return sum;
}

int64_t TextBound::AboveNarrow(const char* text, size_t length, int64_t floor,
                               Last& /*last*/) const {
  int64_t sum = Sum(text, length);
  return sum > floor ? sum : -1;
}

#if LINTARO_WIDE_BOUND
namespace {
// A load of 32 bytes from a text's first one stays in its page, which can be read; the bytes
// past the text are masked off.
inline bool Loadable(const char* text) {
  return (reinterpret_cast<uintptr_t>(text) & (kPage - 1)) <= kPage - kBlock;
}

__attribute__((target("avx2"))) inline uint32_t Digits(__m256i bytes) {
  return Within(bytes, '0' - 1, '9' + 1);
}

// The bytes that are slim: lowercase letters but m and w, and the space.
__attribute__((target("avx2"))) inline uint32_t Slims(__m256i bytes) {
  uint32_t letters = Within(bytes, 'a' - 1, 'z' + 1);
  auto wide = static_cast<uint32_t>(
      _mm256_movemask_epi8(_mm256_or_si256(_mm256_cmpeq_epi8(bytes, _mm256_set1_epi8('m')),
                                           _mm256_cmpeq_epi8(bytes, _mm256_set1_epi8('w')))));
  auto spaces =
      static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(bytes, _mm256_set1_epi8(' '))));
  return (letters & ~wide) | spaces;
}

// The bytes outside printable ASCII.
__attribute__((target("avx2"))) inline uint32_t Others(__m256i bytes) {
  return ~Within(bytes, 0x1F, 0x7F);
}

inline size_t Count(uint32_t bits) {
  return static_cast<size_t>(__builtin_popcount(bits));
}
}  // namespace

__attribute__((target("avx2,popcnt,bmi"), no_sanitize_address)) int64_t TextBound::AboveWide(
    const char* text, size_t length, int64_t floor, Last& last) const {
  if (length > kBlock)
    return AboveLong(text, length, floor);
  if (!Loadable(text))
    return AboveNarrow(text, length, floor, last);
  __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(text));
  uint32_t inText = length == kBlock ? ~uint32_t{0} : (uint32_t{1} << length) - 1;
  uint32_t digits = Digits(bytes) & inText;
  // Columns of codes, dates and numbers are mostly texts of one shape after another, which no
  // count of kinds tells apart from the widest ones kept.
  if (last.text && last.length == length) {
    __m256i before = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(last.text));
    auto same = static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(bytes, before)));
    if ((~same & ~(digits & last.digits) & inText) == 0)
      return last.sum > floor ? last.sum : -1;
  }
  // A few bytes that are not digits are summed sooner than their kinds are counted.
  uint32_t rest = inText & ~digits;
  if (Count(rest) > kFewBytes && Most(length, Count(digits), Count(Slims(bytes) & inText),
                                      Count(Others(bytes) & inText)) <= floor)
    return -1;
  int64_t sum = static_cast<int64_t>(Count(digits)) * digit_;
  for (; rest; rest &= rest - 1)
    sum += advances_[static_cast<unsigned char>(text[__builtin_ctz(rest)])];
  last = Last{text, length, sum, digits};
  return sum > floor ? sum : -1;
}

// A text longer than one load is counted in loads that lie inside it: the last one ends where the
// text does and skips the bytes that the one before it counted.
__attribute__((target("avx2,popcnt"))) int64_t TextBound::AboveLong(const char* text, size_t length,
                                                                    int64_t floor) const {
  size_t digits = 0;
  size_t slims = 0;
  size_t others = 0;
  for (size_t at = 0; at < length; at += kBlock) {
    size_t from = std::min(at, length - kBlock);
    __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(text + from));
    uint32_t fresh = ~uint32_t{0} << (at - from);
    digits += Count(Digits(bytes) & fresh);
    slims += Count(Slims(bytes) & fresh);
    others += Count(Others(bytes) & fresh);
  }
  if (Most(length, digits, slims, others) <= floor)
    return -1;
  int64_t sum = Sum(text, length);
  return sum > floor ? sum : -1;
}
#else
int64_t TextBound::AboveWide(const char* text, size_t length, int64_t floor, Last& last) const {
  return AboveNarrow(text, length, floor, last);
}

int64_t TextBound::AboveLong(const char* text, size_t length, int64_t floor) const {
  Last none;
  return AboveNarrow(text, length, floor, none);
}
#endif
