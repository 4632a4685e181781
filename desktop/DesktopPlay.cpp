#include "desktop/DesktopPlay.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "desktop/ScriptPlayer.h"
#include "platform/Backend.h"
#include "tools/ScriptSession.h"

int PlayOnDesktop(std::istream& script, std::ostream& out, std::ostream& err,
                  const std::string& programPath) {
  // Qt is shown no arguments of ours.
  static char name[] = "lintaro-script";
  char* qtArgv[] = {name, nullptr};
  int qtArgc = 1;
  QApplication application(qtArgc, qtArgv);
  ScriptSession session(script, out, err, programPath);
  int status = 0;
  {
    ScriptPlayer player(session);
    status = session.Run(player, []() -> std::optional<std::string> {
      const QMimeData* held = QGuiApplication::clipboard()->mimeData();
      if (!held || !held->hasText())
        return std::nullopt;
      return held->text().toStdString();
    });
  }
  SetBackend(nullptr);
  return status;
}
