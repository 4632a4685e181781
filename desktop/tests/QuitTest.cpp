// The program is ended from outside while one of its dialogs is open: the desktop session ends,
// and the process gets SIGTERM. Every loop returns, the dialog ends as cancelled, and the main
// window's own shutdown runs, so the table is closed and the settings are kept. Qt runs no event
// loop in a process after such a quit, so this is a test program of its own.
#include <QApplication>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

#include "app/MainWindow.h"
#include "app/Resource.h"
#include "desktop/tests/SampleFiles.h"
#include "desktop/tests/TestProgram.h"
#include "platform/App.h"
#include "platform/Registry.h"
#include "platform/RegistryStore.h"
#include "platform/qt/TopWindow.h"

class QuitTest : public QObject {
  Q_OBJECT

 private slots:
  void aSignalWhileAFieldChooserIsOpenStillEndsThroughTheShutdown() {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    ResetRegistryStore();
    SampleFiles files;
    QStringList seen;
    bool reachedEnd = false;
    TestProgram::Run({files.people}, [&](TestProgram& program) {
      program.Action(ID_OPTIONS_SAVE_SETTINGS)->trigger();
      program.Top().setGeometry(QRect(70, 40, 480, 320));
      QTRY_COMPARE(program.Top().geometry(), QRect(70, 40, 480, 320));
      ModalWatcher watcher([&](QWidget* modal) {
        seen << modal->windowTitle();
        std::raise(SIGTERM);
      });
      program.Key(Qt::Key_P, true);
      // The dialog object is gone with the command; its window must be gone too.
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget != &program.Top())
          QVERIFY2(!widget->isVisible(), qPrintable(widget->windowTitle()));
      }
      QVERIFY(!program.Ended());
      reachedEnd = true;
    });
    QVERIFY(reachedEnd);
    QCOMPARE(seen.value(0), QStringLiteral("Pick"));
    QCOMPARE(AfxGetApp()->m_pMainWnd, nullptr);
    for (QWidget* widget : QApplication::topLevelWidgets())
      QVERIFY2(!widget->isVisible(), qPrintable(widget->windowTitle()));
    // The shutdown saved the placement the window had.
    HKEY key = nullptr;
    QCOMPARE(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Lintaro", 0, KEY_ALL_ACCESS, &key),
             ERROR_SUCCESS);
    BYTE image[52] = {};
    DWORD size = sizeof image;
    QCOMPARE(RegQueryValueExA(key, "Config", nullptr, nullptr, image, &size), ERROR_SUCCESS);
    RegCloseKey(key);
    QCOMPARE(size, DWORD{52});
    QCOMPARE(image[36], BYTE{70});          // left
    QCOMPARE(image[40], BYTE{40});          // top
    QCOMPARE(image[44], BYTE{550 & 0xFF});  // right
  }
};

QTEST_MAIN(QuitTest)
#include "QuitTest.moc"
