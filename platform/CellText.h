// Text as the program holds it, bytes of an 8-bit code page, as a desktop that speaks Unicode shows
// it. Most files there are UTF-8, but the program's own home is Windows-1252, so each cell of a
// file decides for itself: its bytes are UTF-8 when they form valid UTF-8, and Windows-1252
// otherwise. Every place that shows or hands on a cell's characters (the list, the clipboard, the
// row's details) decides by EncodingOfCell, so that what is copied is what was shown.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

enum class CellEncoding { Ascii, Utf8, Windows1252 };

CellEncoding EncodingOfCell(std::string_view bytes);

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF, no cut sequence.
bool IsValidUtf8(std::string_view bytes);
// Where a UTF-8 text may be cut without splitting a character: the largest n <= limit.
size_t Utf8Boundary(std::string_view bytes, size_t limit);

// The character that a byte shows in Windows-1252. The five bytes that it leaves undefined show
// the C1 control of the same value, as Windows itself maps them.
char16_t Windows1252Char(unsigned char byte);

// Appends the characters that the cell shows, as UTF-8.
void AppendCellUtf8(std::string& out, std::string_view cell);

// A cell can hold a whole megabyte-long line; nobody reads that in a list, and turning it into
// characters on every paint would stall scrolling. This much of it is shown.
constexpr size_t kShownCellBytes = 1024;

// The characters that the cell shows, as UTF-16, for a window system that speaks it: of the first
// `limit` bytes at most, cut before a character that the limit would split, but decided by the
// whole cell.
std::u16string CellUtf16(std::string_view cell, size_t limit = kShownCellBytes);

// A text of cells between tabs and line ends, as a row's details are, as UTF-16: each cell shown
// whole, as it decides for itself.
std::u16string CellsUtf16(std::string_view text);

// UTF-16 as UTF-8; a lone surrogate, which no character is, becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view text);

// The Windows-1252 bytes that show the characters of a UTF-8 text; false when one of them has
// none there.
bool Utf8ToWindows1252(std::string_view utf8, std::string& bytes);
