// lintaro-screenshot OUT.png FILE: opens FILE in the desktop viewer, saves a picture of the main
// window once the first screen is drawn, and closes. Prints how long the first screen took.
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPixmap>
#include <QTimer>
#include <cstdio>
#include <string>
#include <vector>

#include "app/MainWindow.h"
#include "desktop/QtProgram.h"
#include "platform/App.h"
#include "platform/WorkProgress.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/TopWindow.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: lintaro-screenshot OUT.png FILE\n");
    return 2;
  }
  QElapsedTimer clock;
  clock.start();
  int qtArgc = 1;
  QApplication application(qtArgc, argv);
  QtBackend backend;
  int status = 1;
  QString out = QString::fromLocal8Bit(argv[1]);
  QTimer poll;
  poll.setInterval(5);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* window = dynamic_cast<MainWindow*>(AfxGetApp()->m_pMainWnd);
    TopWindow* shown = window ? backend.WindowOf(*window) : nullptr;
    if (QWidget* box = QApplication::activeModalWidget()) {
      if (auto* message = qobject_cast<QMessageBox*>(box))
        std::fprintf(stderr, "lintaro-screenshot: %s\n", qPrintable(message->text()));
      box->close();
      return;
    }
    if (!shown || !window->table || !shown->isVisible() || CWorkProgress::Running())
      return;
    poll.stop();
    qint64 loaded = clock.elapsed();
    // What is still queued (the view's scroll bars, a pending layout) belongs to the first screen.
    for (int round = 0; round < 3; ++round)
      QApplication::processEvents();
    QPixmap picture = shown->grab();
    qint64 drawn = clock.elapsed();
    status = picture.save(out) ? 0 : 1;
    std::fprintf(stderr, "loaded after %lld ms, first screen drawn after %lld ms\n",
                 static_cast<long long>(loaded), static_cast<long long>(drawn));
    window->EndDialog(IDCANCEL);
  });
  poll.start();
  QtProgram::Run(backend, argv[0], {argv[2]});
  if (status != 0)
    std::fprintf(stderr, "lintaro-screenshot: no picture saved\n");
  return status;
}
