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
