#include "platform/Clipboard.h"

#include "platform/Backend.h"
#include "platform/CellText.h"

void ClipboardText::AppendCell(std::string_view bytes) {
  bytes_.append(bytes);
  AppendCellUtf8(utf8_, bytes);
}

void ClipboardText::AppendSeparator(char ascii) {
  bytes_ += ascii;
  utf8_ += ascii;
}

BOOL SetClipboardText(CWnd& owner, const ClipboardText& text) {
  return CurrentBackend().SetClipboardText(owner, text) ? TRUE : FALSE;
}
