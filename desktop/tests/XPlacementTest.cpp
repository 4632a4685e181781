// The window's placement on an X server with no window manager (Xvfb alone), where nothing but
// the program and the X server place the window: what is stored is what the window shows.
#include <QAction>
#include <QProcess>
#include <QTest>

#include "app/MainWindow.h"
#include "app/Resource.h"
#include "desktop/DesktopUser.h"
#include "desktop/tests/TestProgram.h"
#include "platform/qt/ListViewPeer.h"
#include "platform/qt/RowTableView.h"
#include "platform/qt/TopWindow.h"

namespace {
WINDOWPLACEMENT Placement(TestProgram& program) {
  WINDOWPLACEMENT placement;
  program.Window().GetWindowPlacement(&placement);
  return placement;
}
}  // namespace

class XPlacementTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    QVERIFY(config_.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
  }

  // Maximize from the system menu asks for what no one is there to do: the window stays as it
  // was, so it is not stored as maximized, and a move that follows is stored.
  void maximizeThatNothingDoesIsNotStored() {
    const QPoint moved(150, 120);
    TestProgram::Run({}, [&](TestProgram& program) {
      program.Action(ID_OPTIONS_SAVE_SETTINGS)->trigger();
      const QRect before = program.Top().geometry();
      QVERIFY(DesktopUser::PickFromMenu(SC_MAXIMIZE, [&] {
        QTest::keyClick(&program.List().View(), Qt::Key_Space, Qt::AltModifier);
      }));
      QTest::qWait(300);
      QCOMPARE(program.Top().geometry(), before);
      QCOMPARE(Placement(program).showCmd, UINT{SW_SHOWNORMAL});
      const QString window = QString::number(program.Top().winId());
      QCOMPARE(QProcess::execute("xdotool", {"windowmove", window, QString::number(moved.x()),
                                             QString::number(moved.y())}),
               0);
      QTRY_COMPARE(program.Top().geometry().topLeft(), moved);
      QCOMPARE(Placement(program).rcNormalPosition.left, LONG{moved.x()});
      program.Action(ID_FILE_EXIT)->trigger();
    });
    TestProgram::Run({}, [&](TestProgram& program) {
      QCOMPARE(Placement(program).showCmd, UINT{SW_SHOWNORMAL});
      QCOMPARE(program.Top().geometry().topLeft(), moved);
    });
  }

 private:
  QTemporaryDir config_;
};

QTEST_MAIN(XPlacementTest)
#include "XPlacementTest.moc"
