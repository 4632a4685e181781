// A file dragged from another program and dropped on the window with a real X drag: xdotool moves
// the pointer and presses the button through the XTEST extension, and the two programs speak the
// desktop's drag-and-drop protocol (XDND) between them.
#include <QProcess>
#include <QTest>

#include "app/MainWindow.h"
#include "desktop/tests/SampleFiles.h"
#include "desktop/tests/TestProgram.h"
#include "platform/qt/TopWindow.h"

class XDragTest : public QObject {
  Q_OBJECT

 private:
  SampleFiles files_;

 private slots:
  void aFileDraggedFromAnotherProgramOpens() {
    TestProgram::Run({}, [&](TestProgram& program) {
      TopWindow& top = program.Top();
      top.setGeometry(300, 300, 400, 300);
      QTRY_COMPARE(top.geometry().topLeft(), QPoint(300, 300));
      QProcess source;
      source.start(QCoreApplication::applicationDirPath() + "/lintaro_drag_source",
                   {QString::fromStdString(files_.people)});
      QVERIFY(source.waitForStarted());
      QProcess search;
      QTRY_VERIFY_WITH_TIMEOUT(
          [&] {
            search.start("xdotool", {"search", "--onlyvisible", "--name", "^drag source$"});
            search.waitForFinished();
            return !search.readAllStandardOutput().trimmed().isEmpty();
          }(),
          10000);
      // The button goes down in the source, the pointer travels to the window in steps, as a
      // hand moves it, and the button comes up over the list.
      QProcess drag;
      drag.start("xdotool",
                 {"mousemove", "60",    "60",        "sleep",   "0.3", "mousedown", "1",
                  "sleep",     "0.3",   "mousemove", "80",      "80",  "sleep",     "0.3",
                  "mousemove", "400",   "400",       "sleep",   "0.3", "mousemove", "500",
                  "450",       "sleep", "0.5",       "mouseup", "1"});
      QTRY_COMPARE_WITH_TIMEOUT(program.Window().GetWindowText(), files_.people, 15000);
      QTRY_VERIFY_WITH_TIMEOUT(drag.state() == QProcess::NotRunning, 5000);
      QCOMPARE(program.Rows().value(0), SampleFiles::kPeopleRows.value(0));
      source.kill();
      source.waitForFinished();
    });
  }
};

QTEST_MAIN(XDragTest)
#include "XDragTest.moc"
