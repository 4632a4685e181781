#include "platform/App.h"

#include "platform/Backend.h"
#include "platform/Wnd.h"

namespace {
CWinApp* theApplication = nullptr;
}  // namespace

BEGIN_MESSAGE_MAP(CWinApp, CCmdTarget)
END_MESSAGE_MAP()

CWinApp::CWinApp() {
  theApplication = this;
}

CWinApp::~CWinApp() {
  if (theApplication == this)
    theApplication = nullptr;
}

bool CWinApp::InitInstance() {
  return false;
}

CWinApp* AfxGetApp() {
  return theApplication;
}

std::string ApplicationCommandLine(const std::string& processCommandLine) {
  const std::string& s = processCommandLine;
  size_t i = 0;
  if (!s.empty() && s[0] == '"') {
    i = s.find('"', 1);
    i = i == std::string::npos ? s.size() : i + 1;
  } else {
    while (i < s.size() && static_cast<unsigned char>(s[i]) > 0x20)
      ++i;
  }
  while (i < s.size() && static_cast<unsigned char>(s[i]) >= 0x01 &&
         static_cast<unsigned char>(s[i]) <= 0x20) {
    ++i;
  }
  return s.substr(i);
}

std::string ApplicationName(const std::string& programPath) {
  size_t slash = programPath.find_last_of("/\\");
  std::string name = slash == std::string::npos ? programPath : programPath.substr(slash + 1);
  size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0)
    name.resize(dot);
  return name;
}

int AfxWinMain(Backend& backend, const std::string& programPath,
               const std::string& processCommandLine) {
  CWinApp* app = AfxGetApp();
  if (!app)
    return 1;
  SetBackend(&backend);
  app->m_pszAppName = ApplicationName(programPath);
  app->m_lpCmdLine = ApplicationCommandLine(processCommandLine);
  app->m_pMainWnd = nullptr;
  app->InitInstance();
  app->m_pMainWnd = nullptr;
  return 0;
}
