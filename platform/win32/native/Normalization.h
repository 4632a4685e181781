// Unicode's normal forms, as the window system makes them.
#pragma once

#include <string>

namespace native {

// `text` composed (NFC) or decomposed (NFD); `text` as it is where the system cannot normalize.
std::u16string Normalized(const std::u16string& text, bool composed);

}  // namespace native
