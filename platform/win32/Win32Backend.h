// The desktop backend on the real Win32 API, through the native shim: every dialog is a real
// dialog window made from its template, with the real menu bar, system menu, accelerator table,
// virtual report list, common dialogs and placement. It shows the platform's state and feeds the
// user's actions to the program as the messages it expects.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/Backend.h"
#include "platform/win32/IconCache.h"
#include "platform/win32/TextMeasure.h"
#include "platform/win32/native/AcceleratorTable.h"

class DialogPeer;

class Win32Backend : public Backend {
 public:
  Win32Backend();
  ~Win32Backend() override;

  // The process's command line and program file, as the system gives them.
  static std::string ProcessCommandLine();
  static std::string ProgramPath();

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

  void DrawIcon(CWnd& window, int x, int y, const Icon* icon) override;
  void WaitCursor(bool on) override;
  void DrawPending(CWnd& window) override;
  void EraseIconBackground(CWnd& window) override;
  int TranslateAccelerator(CWnd& window, const AcceleratorTemplate* table, const MSG& msg) override;
  bool DefaultSystemCommand(CWnd& window, UINT command) override;

  int TextWidth(const char* text, size_t length) override;
  int ByteAdvance(unsigned char byte) override;
  int SystemMetric(int index) override;
  RECT WorkArea() override;
  POINT DialogBaseUnits() override { return baseUnits_; }
  RECT NonClientInsets(const CWnd& window) override;

  // The window that shows a dialog, or null while it has none.
  DialogPeer* PeerOf(const CWnd& dialog) const;

 private:
  DialogPeer* TopLevelPeerOf(CWnd& window) const;

  // Before the windows, which show its pictures and so go first.
  IconCache icons_;
  TextMeasure measure_;
  std::vector<std::unique_ptr<DialogPeer>> dialogs_;
  std::map<const AcceleratorTemplate*, std::unique_ptr<native::AcceleratorTable>> keys_;
  POINT baseUnits_;
};
