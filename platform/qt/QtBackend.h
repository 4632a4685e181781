// The desktop backend: shows the platform's windows with Qt 6 Widgets and feeds the user's
// actions to the program. A QApplication must exist before it is made.
#pragma once

#include <QFont>
#include <QFontMetrics>
#include <vector>

#include "platform/Backend.h"
#include "platform/qt/QuitOnSignal.h"

class TopWindow;

class QtBackend : public Backend {
 public:
  QtBackend();
  ~QtBackend() override;

  bool CreateDialogWindow(CDialog& dialog) override;
  void ShowDialogWindow(CDialog& dialog) override;
  bool RunModalLoop(CDialog& dialog) override;
  void EndModalLoop(CDialog& dialog) override;
  void DestroyDialogWindow(CDialog& dialog) override;

  int MessageBox(CWnd& owner, const std::string& text, const std::string& caption,
                 UINT type) override;
  int RunFileDialog(CFileDialog& dialog) override;
  UINT TrackPopupMenu(const CMenu& menu, CWnd& owner, POINT where) override;
  bool SetClipboardText(CWnd& owner, const ClipboardText& text) override;

  void WaitCursor(bool on) override;
  void DrawPending(CWnd& window) override;
  void ShowSystemMenu(CWnd& window) override;
  void BeginMoveOrSize(CWnd& window, UINT command) override;

  int TextWidth(const char* text, size_t length) override;
  int ByteAdvance(unsigned char byte) override;
  int SystemMetric(int index) override;
  RECT WorkArea() override;
  POINT DialogBaseUnits() override { return baseUnits_; }
  RECT NonClientInsets(const CWnd& window) override;

  // The window that shows a dialog, or null while it has none.
  TopWindow* WindowOf(const CWnd& dialog) const;

 private:
  std::vector<TopWindow*> windows_;
  QFont listFont_;
  // Made once: a wide file has its widths measured hundreds of thousands of times.
  QFontMetrics listMetrics_;
  POINT baseUnits_;
  int menuBarHeight_ = 0;
  int waitDepth_ = 0;
  QuitOnSignal quitOnSignal_;
};
