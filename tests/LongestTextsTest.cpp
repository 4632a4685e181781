// Fitting a column measures only the texts whose bound can beat the widest one measured. Fonts
// place characters at fractions of a pixel, so bounds are summed in 64ths and rounded as the font
// rounds a text: a column of many texts as wide as each other is measured once, not once a row.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/LongestTexts.h"

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
