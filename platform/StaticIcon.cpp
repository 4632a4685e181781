#include "platform/StaticIcon.h"

#include <cstdlib>
#include <string>

#include "platform/App.h"
#include "platform/Wnd.h"

HICON IconOfStatic(const CWnd& control) {
  const std::string& name = control.GetWindowText();
  std::string digits = !name.empty() && name[0] == '#' ? name.substr(1) : name;
  if (!digits.empty() && digits.size() < 10 &&
      digits.find_first_not_of("0123456789") == std::string::npos) {
    return LoadIcon(static_cast<int>(std::strtol(digits.c_str(), nullptr, 10)));
  }
  for (const CWnd* w = control.GetParent(); w; w = w->GetParent()) {
    if (HICON icon = w->GetIcon(TRUE))
      return icon;
  }
  CWinApp* app = AfxGetApp();
  return app && app->m_pMainWnd ? app->m_pMainWnd->GetIcon(TRUE) : nullptr;
}
