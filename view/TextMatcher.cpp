#include "view/TextMatcher.h"

#include <cstdint>
#include <cstring>

#include "view/TextFold.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#define LINTARO_WIDE_SEARCH 1
#endif

namespace {
#if LINTARO_WIDE_SEARCH
bool wideSearch = __builtin_cpu_supports("avx2");
#else
bool wideSearch = false;
#endif
}  // namespace

TextMatcher::TextMatcher(std::string_view match, bool exact, std::span<const char> readable)
    : match_(match), exact_(exact), readable_(readable) {
  for (char& c : match_)
    c = static_cast<char>(FoldCase(static_cast<unsigned char>(c)));
}

bool TextMatcher::Wide() {
  return wideSearch;
}

void TextMatcher::SetWide(bool wide) {
#if LINTARO_WIDE_SEARCH
  wideSearch = wide && __builtin_cpu_supports("avx2");
#else
  wideSearch = wide && false;
#endif
}

bool TextMatcher::Matches(std::string_view text) const {
  if (exact_)
    return text.size() == match_.size() &&
           SameIgnoringCase(text.data(), match_.data(), text.size());
  if (text.size() < match_.size())
    return false;
  const char* end = readable_.data() + readable_.size();
  // Pointers into other memory do not order with these; compare them as addresses.
  auto at = reinterpret_cast<uintptr_t>(text.data());
  if (wideSearch && at >= reinterpret_cast<uintptr_t>(readable_.data()) &&
      at < reinterpret_cast<uintptr_t>(end)) {
    return ContainsWide(text, end);
  }
  return ContainsIgnoringCase(text, match_);
}

#if LINTARO_WIDE_SEARCH
namespace {
// A to Z with bit 0x20 set, every other byte as it is.
__attribute__((target("avx2"))) inline __m256i Fold(__m256i bytes) {
  // 'A' to 'Z' moved to -128 to -103, so that one signed compare finds them.
  __m256i moved = _mm256_add_epi8(bytes, _mm256_set1_epi8(static_cast<char>(0x80 - 'A')));
  __m256i upper = _mm256_cmpgt_epi8(_mm256_set1_epi8(static_cast<char>(-128 + 26)), moved);
  return _mm256_or_si256(bytes, _mm256_and_si256(upper, _mm256_set1_epi8(0x20)));
}
}  // namespace

// Compares 32 positions at once on their first and last byte of the match; only positions where
// both agree are compared in full. The blocks stop where the memory ends, and the rest is searched
// a byte at a time.
__attribute__((target("avx2,bmi"))) bool TextMatcher::ContainsWide(std::string_view text,
                                                                   const char* readable) const {
  size_t n = match_.size();
  if (n == 0)
    return true;
  const __m256i first = _mm256_set1_epi8(match_[0]);
  const __m256i last = _mm256_set1_epi8(match_[n - 1]);
  const char* p = text.data();
  // The positions where the match may begin: [text.data(), stop).
  const char* stop = text.data() + text.size() - n + 1;
  while (p < stop && readable - p >= static_cast<std::ptrdiff_t>(32 + n - 1)) {
    __m256i head = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    __m256i tail = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + n - 1));
    auto hits = static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_and_si256(
        _mm256_cmpeq_epi8(Fold(head), first), _mm256_cmpeq_epi8(Fold(tail), last))));
    if (stop - p < 32)
      hits &= (uint32_t{1} << (stop - p)) - 1;
    for (; hits; hits &= hits - 1) {
      const char* at = p + __builtin_ctz(hits);
      if (SameIgnoringCase(at, match_.data(), n))
        return true;
    }
    p += 32;
  }
  if (p >= stop)
    return false;
  return ContainsIgnoringCase(std::string_view(p, static_cast<size_t>(stop - p) + n - 1), match_);
}
#else
bool TextMatcher::ContainsWide(std::string_view text, const char* /*readable*/) const {
  return ContainsIgnoringCase(text, match_);
}
#endif
