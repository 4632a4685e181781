#include "platform/qt/IconPeer.h"

#include <cstdlib>
#include <string>

#include "platform/App.h"
#include "platform/Dialog.h"
#include "platform/qt/IconRenderer.h"
#include "platform/qt/TopWindow.h"

namespace {
// The icon that an SS_ICON static shows: the resource its text names ("128" or "#128"), else the
// icon of the window it belongs to, else the application's.
HICON IconOfStatic(const CWnd& control, const CDialog& dialog) {
  const std::string& name = control.GetWindowText();
  std::string digits = !name.empty() && name[0] == '#' ? name.substr(1) : name;
  if (!digits.empty() && digits.size() < 10 &&
      digits.find_first_not_of("0123456789") == std::string::npos) {
    return LoadIcon(static_cast<int>(std::strtol(digits.c_str(), nullptr, 10)));
  }
  for (const CWnd* w = &dialog; w; w = w->GetParent()) {
    if (HICON icon = w->GetIcon(TRUE))
      return icon;
  }
  CWinApp* app = AfxGetApp();
  return app && app->m_pMainWnd ? app->m_pMainWnd->GetIcon(TRUE) : nullptr;
}
}  // namespace

IconPeer::IconPeer(CWnd& control, TopWindow& window, QWidget* parent)
    : QLabel(parent), ControlPeer(control, window) {
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void IconPeer::Sync() {
  setPixmap(
      IconRenderer::Pixmap(IconOfStatic(control_, window_.Dialog()), 32, devicePixelRatioF()));
}
