// Keys as an X server delivers them from a keyboard, under Xvfb: xdotool presses them through the
// XTEST extension, so they reach the program as a user's would, modifiers and all.
#include <QProcess>
#include <QTest>

#include "desktop/tests/SampleFiles.h"
#include "desktop/tests/TestProgram.h"

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
};

QTEST_MAIN(XKeysTest)
#include "XKeysTest.moc"
