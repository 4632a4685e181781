// Checks of text that must be UTF-8 where the program's own text is 8-bit.
#pragma once

#include <cstddef>
#include <string>

// The length of the UTF-8 sequence that starts at byte `i`, or 0 when none does (a stray byte,
// a cut sequence, an overlong form, a surrogate, a value past U+10FFFF).
size_t Utf8SequenceLength(const std::string& text, size_t i);
