// The application object: runs the main window with the path from the command line.
#pragma once

#include "platform/App.h"

class ViewerApp : public CWinApp {
 public:
  ViewerApp();
  bool InitInstance() override;

  // The one application object, which exists before start-up.
  static ViewerApp& Instance();

  DECLARE_MESSAGE_MAP()
};

extern ViewerApp theApp;
