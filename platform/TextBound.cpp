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
}  // namespace

__attribute__((target("avx2,popcnt,bmi"), no_sanitize_address)) int64_t TextBound::AboveWide(
    const char* text, size_t length, int64_t floor, Last& last) const {
  if (length > kBlock || !Loadable(text))
    return AboveNarrow(text, length, floor, last);
  __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(text));
  uint32_t inText = length == kBlock ? ~uint32_t{0} : (uint32_t{1} << length) - 1;
  uint32_t printable = Within(bytes, 0x1F, 0x7F) & inText;
  auto printables = static_cast<int64_t>(__builtin_popcount(printable));
  int64_t most =
      printables * widestPrintable_ + (static_cast<int64_t>(length) - printables) * widestOther_;
  if (most <= floor)
    return -1;
  uint32_t digits = Within(bytes, '0' - 1, '9' + 1) & inText;
  if (last.text && last.length == length && Loadable(last.text)) {
    __m256i before = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(last.text));
    auto same = static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(bytes, before)));
    uint32_t digitsBefore = Within(before, '0' - 1, '9' + 1);
    if ((~same & ~(digits & digitsBefore) & inText) == 0)
      return last.sum > floor ? last.sum : -1;
  }
  int64_t sum = static_cast<int64_t>(__builtin_popcount(digits)) * digit_;
  for (uint32_t rest = inText & ~digits; rest; rest &= rest - 1)
    sum += advances_[static_cast<unsigned char>(text[__builtin_ctz(rest)])];
  last = Last{text, length, sum};
  return sum > floor ? sum : -1;
}
#else
int64_t TextBound::AboveWide(const char* text, size_t length, int64_t floor, Last& last) const {
  return AboveNarrow(text, length, floor, last);
}
#endif
