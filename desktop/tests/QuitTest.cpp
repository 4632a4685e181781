// The application is told to quit while a dialog of the program is open (the session ends, say).
// Every loop returns at once and the program's shutdown does not run; nothing may touch a window
// that is gone. Qt runs no event loop in this process afterwards, so this test has its own.
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include "app/MainWindow.h"
#include "desktop/tests/TestProgram.h"
#include "platform/App.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/TopWindow.h"

class QuitTest : public QObject {
  Q_OBJECT

 private slots:
  void quitWhileAFieldChooserIsOpen() {
    QTemporaryDir dir;
    QFile file(dir.filePath("a.qdx"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("name;city\nAnna;Lund\n");
    file.close();
    QStringList seen;
    bool reachedEnd = false;
    TestProgram::Run({dir.filePath("a.qdx").toStdString()}, [&](TestProgram& program) {
      ModalWatcher watcher([&](QWidget* modal) {
        seen << modal->windowTitle();
        QCoreApplication::exit(0);
      });
      program.Key(Qt::Key_P, true);
      // The dialog object is gone with the command; its window must be gone too.
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget != &program.Top())
          QVERIFY2(!widget->isVisible(), qPrintable(widget->windowTitle()));
      }
      reachedEnd = true;
    });
    QVERIFY(reachedEnd);
    QCOMPARE(seen.value(0), QStringLiteral("Pick"));
    // The program has let go of its window: no window of the run is left on screen.
    QCOMPARE(AfxGetApp()->m_pMainWnd, nullptr);
    for (QWidget* widget : QApplication::topLevelWidgets())
      QVERIFY2(!widget->isVisible(), qPrintable(widget->windowTitle()));
  }
};

QTEST_MAIN(QuitTest)
#include "QuitTest.moc"
