// The application object: the command line, the main window, and start-up.
#pragma once

#include <string>

#include "platform/CmdTarget.h"

class CWnd;
class Backend;

class CWinApp : public CCmdTarget {
 public:
  CWinApp();
  ~CWinApp() override;

  // Runs the program; false when there is nothing left to run.
  virtual bool InitInstance();

  void AfxEnableControlContainer() {}

  std::string m_lpCmdLine;
  std::string m_pszAppName;
  CWnd* m_pMainWnd = nullptr;
  UINT m_nCmdShow = SW_SHOWDEFAULT;

 protected:
  // The standard help command's handler, for an application's message map. There is no help file;
  // the program's help is its own help mode.
  void OnHelp() {}

  DECLARE_MESSAGE_MAP()
};

CWinApp* AfxGetApp();

// The application's command line: what the process command line holds after the program name
// and the blanks and control characters that follow it.
std::string ApplicationCommandLine(const std::string& processCommandLine);

// The program file's name without folder and extension.
std::string ApplicationName(const std::string& programPath);

// Start-up: sets the application's name and command line and runs InitInstance on the given
// backend. Returns the process exit code.
int AfxWinMain(Backend& backend, const std::string& programPath,
               const std::string& processCommandLine);
