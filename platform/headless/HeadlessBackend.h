// A backend without a display. Windows exist only as their platform state; a subclass plays the
// user: it supplies the next message for a running dialog and answers message boxes and file
// dialogs.
#pragma once

#include <optional>

#include "platform/Backend.h"
#include "platform/Clipboard.h"

class HeadlessBackend : public Backend {
 public:
  static constexpr RECT kScreen{0, 0, 1280, 1024};

  bool CreateDialogWindow(CDialog& dialog) override;
  void ShowDialogWindow(CDialog& /*dialog*/) override {}
  bool RunModalLoop(CDialog& dialog) override;
  void EndModalLoop(CDialog& /*dialog*/) override {}
  void DestroyDialogWindow(CDialog& /*dialog*/) override {}
  // No user is there to pick from a menu.
  UINT TrackPopupMenu(const CMenu& /*menu*/, CWnd& /*owner*/, POINT /*where*/) override {
    return 0;
  }
  bool SetClipboardText(CWnd& /*owner*/, const ClipboardText& text) override;
  // What the clipboard holds; nothing before the first copy.
  const std::optional<ClipboardText>& Clipboard() const { return clipboard_; }

  int TextWidth(const char* text, size_t length) override;
  int ByteAdvance(unsigned char byte) override;
  int SystemMetric(int index) override;
  RECT WorkArea() override { return kScreen; }
  POINT DialogBaseUnits() override { return POINT{6, 13}; }
  RECT NonClientInsets(const CWnd& window) override;

 protected:
  // Whether the window system can show this dialog now.
  virtual bool CanShow(CDialog& /*dialog*/) { return true; }
  // The user's next action in a running dialog; false when the user is gone (the process ends).
  virtual bool NextMessage(CDialog& dialog, MSG& msg) = 0;

 private:
  std::optional<ClipboardText> clipboard_;
};
