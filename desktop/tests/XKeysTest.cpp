// Keys and clicks as an X server delivers them, under Xvfb: xdotool presses them through the
// XTEST extension, so they reach the program as a user's would, modifiers and all; and the X
// clipboard as another program reads it.
#include <QProcess>
#include <QTest>

#include "app/MainWindow.h"
#include "desktop/tests/SampleFiles.h"
#include "desktop/tests/TestProgram.h"
#include "platform/qt/ListModel.h"
#include "platform/qt/ListViewPeer.h"
#include "platform/qt/RowTableView.h"

namespace {
// Moves the X pointer over the middle of the list's row `row`, where X places the window.
bool PointAtRow(TestProgram& program, int row) {
  RowTableView& view = program.List().View();
  QRect cell = view.visualRect(program.Model().index(row, 0));
  QPoint at = view.viewport()->mapToGlobal(cell.center());
  return QProcess::execute("xdotool", {"mousemove", "--sync", QString::number(at.x()),
                                       QString::number(at.y())}) == 0;
}

// What another program reads from the X clipboard. The program that owns it must answer while
// the reader waits, so the reader runs beside the program's loop, not in place of it.
QString XClipboard() {
  QProcess reader;
  reader.start("xclip", {"-o", "-selection", "clipboard"});
  if (!QTest::qWaitFor([&] { return reader.state() == QProcess::NotRunning; }, 10000))
    return "(xclip did not end)";
  return QString::fromUtf8(reader.readAllStandardOutput());
}
}  // namespace

class XKeysTest : public QObject {
  Q_OBJECT

 private:
  SampleFiles files_;

 private slots:
  // A key that runs nothing is followed by Ctrl+I, whose box shows that it has arrived before.
  void acceleratorsTakeExactlyTheirModifiers_data() {
    QTest::addColumn<QStringList>("keys");
    QTest::addColumn<QString>("seen");
    const QString info = "box Info: File\nRows   : 6\nColumns: 3\n\nDisplayed\nRows   : 6";
    QTest::newRow("Ctrl+Shift+O") << QStringList{"ctrl+shift+o", "ctrl+i"} << info;
    QTest::newRow("Ctrl+Alt+P") << QStringList{"ctrl+alt+p", "ctrl+i"} << info;
    QTest::newRow("Ctrl+Shift+Alt+F") << QStringList{"ctrl+shift+alt+f", "ctrl+i"} << info;
    QTest::newRow("Ctrl+O") << QStringList{"ctrl+o"} << "file dialog";
  }

  void acceleratorsTakeExactlyTheirModifiers() {
    QFETCH(QStringList, keys);
    QFETCH(QString, seen);
    TestProgram::Run({files_.people}, [&](TestProgram& /*program*/) {
      ModalWatcher watcher;
      QCOMPARE(QProcess::execute("xdotool", QStringList{"key", "--clearmodifiers"} + keys), 0);
      QTRY_VERIFY_WITH_TIMEOUT(!watcher.seen.isEmpty(), 10000);
      QCOMPARE(watcher.seen, QStringList{seen});
    });
  }

  // A click on a row and Ctrl+C put the row on the X clipboard as its cells show it: Windows-1252
  // bytes as their characters, a tab between cells.
  void ctrlCCopiesTheRowToTheXClipboard() {
    TestProgram::Run({files_.people}, [&](TestProgram& program) {
      QVERIFY(PointAtRow(program, 3));
      QCOMPARE(QProcess::execute("xdotool", {"click", "1"}), 0);
      QTRY_COMPARE_WITH_TIMEOUT(program.Window().list.GetNextItem(-1, LVNI_SELECTED), 3, 10000);
      QCOMPARE(QProcess::execute("xdotool", {"key", "--clearmodifiers", "ctrl+c"}), 0);
      QTRY_COMPARE_WITH_TIMEOUT(XClipboard(), QString("Jörg\tKöln\t40"), 10000);
    });
  }

  void aDoubleClickOnARowOpensItsDetails() {
    TestProgram::Run({files_.people}, [&](TestProgram& program) {
      ModalWatcher watcher;
      QVERIFY(PointAtRow(program, 1));
      QCOMPARE(QProcess::execute("xdotool", {"click", "--repeat", "2", "--delay", "80", "1"}), 0);
      QTRY_VERIFY_WITH_TIMEOUT(!watcher.seen.isEmpty(), 10000);
      QCOMPARE(watcher.seen, QStringList{"dialog Row details"});
      QCOMPARE(program.Window().list.GetNextItem(-1, LVNI_SELECTED), 1);
    });
  }
};

QTEST_MAIN(XKeysTest)
#include "XKeysTest.moc"
