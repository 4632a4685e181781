#include "view/TextMatcher.h"

#include <algorithm>
#include <cstdint>

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

// The forms are folded and hold no NUL, so a NUL in the text never matches one of their bytes.
bool SameFolded(const char* text, const std::string& form) {
  return CompareIgnoringCase(text, form.c_str(), form.size()) == 0;
}

// The first place at or after `from` where the folded form starts in the text, a byte at a time.
bool ContainsFrom(std::string_view text, size_t from, const std::string& form) {
  if (form.size() > text.size())
    return false;
  auto first = static_cast<unsigned char>(form[0]);
  for (size_t at = from; at + form.size() <= text.size(); ++at) {
    if (FoldCase(static_cast<unsigned char>(text[at])) == first && SameFolded(&text[at], form))
      return true;
  }
  return false;
}
}  // namespace

TextMatcher::TextMatcher(const std::vector<std::string>& forms, bool exact,
                         std::span<const char> readable)
    : exact_(exact), readable_(readable) {
  for (const std::string& form : forms) {
    std::string folded(form.c_str());
    for (char& c : folded)
      c = static_cast<char>(FoldCase(static_cast<unsigned char>(c)));
    forms_.push_back(std::move(folded));
  }
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
  return std::any_of(forms_.begin(), forms_.end(),
                     [&](const std::string& form) { return MatchesForm(text, form); });
}

bool TextMatcher::MatchesForm(std::string_view text, const std::string& form) const {
  if (exact_)
    return text.size() == form.size() && SameFolded(text.data(), form);
  if (form.empty())
    return true;
  // Pointers into other memory do not order with these; compare them as addresses.
  auto at = reinterpret_cast<uintptr_t>(text.data());
  auto begin = reinterpret_cast<uintptr_t>(readable_.data());
  if (wideSearch && at >= begin && at < begin + readable_.size())
    return ContainsWide(text, form);
  return ContainsFrom(text, 0, form);
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

// Compares 32 places at once on their first and last byte of the form; only places where both
// agree are compared in full. The blocks stop before the last place the form fits in the text or
// where the readable memory ends, and the rest is searched a byte at a time.
__attribute__((target("avx2,bmi"))) bool TextMatcher::ContainsWide(std::string_view text,
                                                                   const std::string& form) const {
  size_t n = form.size();
  if (n > text.size())
    return false;
  const char* end = readable_.data() + readable_.size();
  const char* last = text.data() + (text.size() - n);  // the last place the form fits
  const __m256i first = _mm256_set1_epi8(form[0]);
  const __m256i lastByte = _mm256_set1_epi8(form[n - 1]);
  const char* p = text.data();
  while (p <= last && end - p >= static_cast<std::ptrdiff_t>(32 + n - 1)) {
    __m256i head = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p));
    __m256i tail = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + n - 1));
    auto hits = static_cast<uint32_t>(_mm256_movemask_epi8(_mm256_and_si256(
        _mm256_cmpeq_epi8(Fold(head), first), _mm256_cmpeq_epi8(Fold(tail), lastByte))));
    if (last - p < 31)
      hits &= (uint32_t{2} << (last - p)) - 1;  // places up to the last
    for (; hits; hits &= hits - 1) {
      if (SameFolded(p + __builtin_ctz(hits), form))
        return true;
    }
    p += 32;
  }
  return p <= last && ContainsFrom(text, static_cast<size_t>(p - text.data()), form);
}
#else
bool TextMatcher::ContainsWide(std::string_view text, const std::string& form) const {
  return ContainsFrom(text, 0, form);
}
#endif
