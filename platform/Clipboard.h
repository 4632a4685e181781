// The window system's clipboard, for text. The program hands it cells and the separators between
// them; the text goes on the clipboard in each form that the window system takes.
#pragma once

#include <string>
#include <string_view>

#include "platform/Win32.h"

class CWnd;

class ClipboardText {
 public:
  // A cell's bytes, whose characters are those that the cell shows (platform/CellText.h).
  void AppendCell(std::string_view bytes);
  // A tab, a line end (LF) or a quote between cells: the same byte in every form.
  void AppendSeparator(char ascii);

  // The program's own 8-bit bytes, as the code page's text (CF_TEXT).
  const std::string& Bytes() const { return bytes_; }
  // The characters, in UTF-8, as a desktop that speaks Unicode takes them.
  const std::string& Utf8() const { return utf8_; }
  size_t Size() const { return bytes_.size(); }

 private:
  std::string bytes_;
  std::string utf8_;
};

// Empties the clipboard and puts `text` on it, for `owner`; FALSE when the clipboard cannot be had.
BOOL SetClipboardText(CWnd& owner, const ClipboardText& text);
