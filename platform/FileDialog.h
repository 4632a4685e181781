// The file-open and file-save dialogs.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "platform/Win32.h"

constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;

struct OPENFILENAME {
  DWORD Flags = 0;
  // Pairs of a description and a pattern, each ended by a NUL, the list ended by one more NUL.
  const char* lpstrFilter = nullptr;
  DWORD nFilterIndex = 1;
  const char* lpstrInitialDir = nullptr;
  const char* lpstrDefExt = nullptr;
};

class CFileDialog {
 public:
  CFileDialog(BOOL openFileDialog, const char* defaultExtension = nullptr,
              const char* fileName = nullptr, DWORD flags = 0, const char* filter = nullptr);

  // IDOK with a file chosen, or IDCANCEL. A save dialog with OFN_OVERWRITEPROMPT asks before it
  // chooses a file that exists, and one that the user would not replace is no choice.
  int DoModal();
  std::string GetPathName() const { return pathName_; }

  // The name that the dialog takes for a name typed into it: with the default extension added
  // when the file's name has no extension of its own.
  std::string NameWithDefaultExtension(const std::string& typed) const;

  // The filter list as (description, pattern) pairs.
  std::vector<std::pair<std::string, std::string>> Filters() const;
  // A backend sets the chosen file.
  void SetPathName(const std::string& path) { pathName_ = path; }

  OPENFILENAME m_ofn;
  // The files the user opened last, most recent first. The dialog lists their folders among its
  // places, and starts in the first one's folder when it is given no initial folder; a system
  // whose dialog keeps its own recent places shows those instead.
  std::vector<std::string> recentFiles;
  BOOL m_bOpenFileDialog;

 private:
  std::string pathName_;
};
