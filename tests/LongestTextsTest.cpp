// Fitting a column measures only the texts whose bound can beat the widest one measured. Fonts
// place characters at fractions of a pixel, so bounds are summed in 64ths and rounded as the font
// rounds a text: a column of many texts as wide as each other is measured once, not once a row.
#include <gtest/gtest.h>

#if !defined(_WIN32)
#include <sys/mman.h>
#include <unistd.h>
#endif

#include <cstring>
#include <string>
#include <vector>

#include "platform/LongestTexts.h"
#include "platform/TextBound.h"

TEST(LongestTexts, MeasuresOnlyTextsThatCanBeatTheWidest) {
  struct {
    const char* what;
    int advance;  // of every byte but 'W', in 64ths of a pixel
    std::vector<std::string> texts;
    int width;
  } const cases[] = {
      {"equal widths at a fraction of a pixel", 470, std::vector<std::string>(500, "12345678"), 59},
      {"whole pixels", 7 * 64, {"1", "22", "333", "22"}, 21},
      {"the longest by bytes is not the widest", 470, {"1111", "WW", "1"}, 30},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    LongestTexts::Advances advances;
    advances.fill(c.advance);
    advances['W'] = 15 * 64;
    LongestTexts longest(1, 8, {false}, advances);
    for (const std::string& text : c.texts)
      longest.Offer(0, text.data(), text.size());
    int measured = 0;
    std::vector<int> widths{0};
    std::vector<bool> fitted{false};
    longest.Fit(
        [&](const char* text, size_t length) {
          int sum = 0;
          for (size_t i = 0; i < length; ++i)
            sum += advances[static_cast<unsigned char>(text[i])];
          return ++measured, (sum + 32) / 64;
        },
        widths, fitted);
    EXPECT_TRUE(fitted[0]);
    EXPECT_EQ(widths[0], c.width);
    EXPECT_EQ(measured, 1);
  }
}

namespace {
// Advances as a proportional font has them: digits all alike, the space and most lowercase
// letters narrow, `m` and `W` wide, and any byte outside printable ASCII the widest of all.
TextBound::Advances FontLike() {
  TextBound::Advances advances;
  advances.fill(40 * 64);
  for (unsigned b = 0x20; b < 0x7F; ++b)
    advances[b] = (7 + b % 5) * 64 + 13;
  for (unsigned b = '0'; b <= '9'; ++b)
    advances[b] = 8 * 64 + 21;
  advances[' '] = 3 * 64;
  advances['m'] = 13 * 64;
  advances['W'] = 15 * 64;
  return advances;
}

int64_t SumOf(const TextBound::Advances& advances, const std::string& text) {
  int64_t sum = 0;
  for (char c : text)
    sum += advances[static_cast<unsigned char>(c)];
  return sum;
}
}  // namespace

// Whatever shortcut the bound takes (counts of kinds of bytes, the shape of the text before it),
// it must give each text's own sum when that beats the floor, and pass over only texts whose sum
// does not. The texts go through one column's memory of the last text, in this order.
TEST(TextBound, GivesTheSumOrPassesOverOnlyTextsThatCannotBeatTheFloor) {
  const std::string texts[] = {
      "R000000001",
      "R000000002",
      "R00000000W",
      "R0000000021",
      "2019-04-20",
      "2019-0420-1",
      "1999-12-31",
      "586420.00",
      "58642.000",
      "IC1",
      "WM9",
      "Ic1",
      "klu poul",
      "klu moul",
      "mmmmmmmm",
      "\xe9t\xe9",
      "\xe9t\xe9"
      "1",
      "\xe9t\xe9"
      "2",
      std::string(31, 'a'),
      std::string(32, 'a'),
      std::string(32, 'm'),
      std::string(33, 'a'),
      std::string(33, 'a') + "m",
      std::string(64, '7'),
      std::string(65, ' '),
      std::string(40, 'i') + "\xff" + std::string(30, 'i'),
      std::string(32, '5'),
      std::string(31, '5') + "W",
  };
  const TextBound::Advances advances = FontLike();
  TextBound bound(advances);
  for (int64_t slack : {-1, 0, 1}) {
    TextBound::Last last;
    for (const std::string& text : texts) {
      SCOPED_TRACE(text + " floor " + std::to_string(slack));
      int64_t sum = SumOf(advances, text);
      int64_t floor = sum + slack;
      EXPECT_EQ(bound.Above(text.data(), text.size(), floor, last), sum > floor ? sum : -1);
    }
  }
}

#if !defined(_WIN32)
// A text that ends a readable page is bounded without reading past it.
TEST(TextBound, ReadsNoByteBeyondATextThatEndsItsPage) {
  const long page = sysconf(_SC_PAGESIZE);
  void* pages = mmap(nullptr, 2 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  ASSERT_NE(pages, MAP_FAILED);
  ASSERT_EQ(mprotect(static_cast<char*>(pages) + page, page, PROT_NONE), 0);
  const TextBound::Advances advances = FontLike();
  TextBound bound(advances);
  TextBound::Last last;
  for (size_t length : {1, 5, 31, 32, 33, 70}) {
    std::string text(length, 'x');
    text[0] = '9';
    char* at = static_cast<char*>(pages) + page - length;
    std::memcpy(at, text.data(), length);
    EXPECT_EQ(bound.Above(at, length, -1, last), SumOf(advances, text));
  }
  munmap(pages, 2 * page);
}
#endif
