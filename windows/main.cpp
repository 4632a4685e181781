// lintaro.exe: the viewer on the Win32 backend. Started by the shell with the file's path when the
// user opens a registered .qdx file.
#include "app/ViewerApp.h"
#include "platform/App.h"
#include "platform/win32/Win32Backend.h"
#include "windows/FileViewMapper.h"

int main() {
  UseFileMapper(&kFileViewMapper);
  ViewerApp::Instance();
  Win32Backend backend;
  return AfxWinMain(backend, Win32Backend::ProgramPath(), Win32Backend::ProcessCommandLine());
}
