#include "platform/headless/HeadlessBackend.h"

#include "platform/Dialog.h"

namespace {
constexpr int kCharWidth = 7;
constexpr LONG kFrame = 4;
constexpr LONG kCaption = 19;
constexpr LONG kMenuBar = 19;
}  // namespace

bool HeadlessBackend::CreateDialogWindow(CDialog& dialog) {
  return CanShow(dialog);
}

bool HeadlessBackend::RunModalLoop(CDialog& dialog) {
  // A window that has just been shown paints first.
  MSG paint{&dialog, WM_PAINT, 0, 0, false};
  dialog.PumpMessage(paint);
  while (!dialog.HasEnded()) {
    MSG msg;
    if (!NextMessage(dialog, msg))
      return false;
    dialog.PumpMessage(msg);
  }
  return true;
}

bool HeadlessBackend::SetClipboardText(CWnd& /*owner*/, const ClipboardText& text) {
  clipboard_ = text;
  return true;
}

int HeadlessBackend::TextWidth(const char* /*text*/, size_t length) {
  return static_cast<int>(length) * kCharWidth;
}

int HeadlessBackend::ByteAdvance(unsigned char /*byte*/) {
  return kCharWidth * kAdvanceUnits;
}

int HeadlessBackend::SystemMetric(int index) {
  return index == SM_CXICON || index == SM_CYICON ? 32 : 0;
}

RECT HeadlessBackend::NonClientInsets(const CWnd& window) {
  if (!(window.GetStyle() & WS_CAPTION))
    return RECT{};
  LONG top = kFrame + kCaption + (window.GetMenu() ? kMenuBar : 0);
  return RECT{kFrame, top, kFrame, kFrame};
}
