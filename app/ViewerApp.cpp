#include "app/ViewerApp.h"

#include "app/CommandLinePath.h"
#include "app/MainWindow.h"
#include "app/ProgramResources.h"
#include "app/Resource.h"

BEGIN_MESSAGE_MAP(ViewerApp, CWinApp)
ON_COMMAND(ID_HELP, OnHelp)
END_MESSAGE_MAP()

ViewerApp theApp;

ViewerApp::ViewerApp() {
  RegisterResources(&ProgramResources());
  SetProgramIdentity(ProgramNames());
}

ViewerApp& ViewerApp::Instance() {
  return theApp;
}

bool ViewerApp::InitInstance() {
  AfxEnableControlContainer();
  MainWindow window;
  m_pMainWnd = &window;
  if (!m_lpCmdLine.empty())
    window.path = CommandLinePath(m_lpCmdLine);
  window.DoModal();
  m_pMainWnd = nullptr;
  return false;
}
