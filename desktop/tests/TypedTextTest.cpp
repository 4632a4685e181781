// Text typed into the field chooser's match box, as a keyboard types it, and what it finds.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "app/MainWindow.h"
#include "desktop/DesktopUser.h"
#include "desktop/tests/SampleFiles.h"
#include "desktop/tests/TestProgram.h"

namespace {
// Types text the way a keyboard does, one key press per character, letters beyond ASCII too.
void Type(QWidget* widget, const QString& text) {
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &release);
  }
}
}  // namespace

class TypedTextTest : public QObject {
  Q_OBJECT

 private:
  SampleFiles files_;

 private slots:
  void matchTextStopsAtItsLimit_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("kept");
    QTest::newRow("ascii") << QString(50, 'x') << QString(40, 'x');
    QTest::newRow("two-byte letters") << QString(30, QChar(0xE9)) << QString(20, QChar(0xE9));
    QTest::newRow("fits") << QString(40, 'y') << QString(40, 'y');
  }

  void matchTextStopsAtItsLimit() {
    QFETCH(QString, typed);
    QFETCH(QString, kept);
    TestProgram::Run({files_.people}, [&](TestProgram& program) {
      QString shown;
      ModalWatcher watcher([&](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
          box->button(QMessageBox::Ok)->click();
          return;
        }
        auto* combo = modal->findChild<QComboBox*>();
        for (QLineEdit* edit : modal->findChildren<QLineEdit*>()) {
          if (edit->parent() != combo) {
            Type(edit, typed);
            shown = edit->text();
          }
        }
        QTest::keyClick(modal, Qt::Key_Return);
      });
      program.Key(Qt::Key_F, true);
      QCOMPARE(shown, kept);
      // The text reached the program whole and within its limit: no complaint about its length.
      QCOMPARE(watcher.seen,
               QStringList({"dialog Find", "box Info: Could not find any matches..."}));
    });
  }

  // The city "Köln", typed, in files that hold it in Windows-1252, in UTF-8, decomposed, or in a
  // mix; "Koln" and "Kölner" (exact) are other texts.
  void typedTextFindsTheCellsThatShowIt_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<bool>("exact");
    QTest::addColumn<QStringList>("kept");
    const QByteArray head = "name;city\nBo;Koln\n";
    QTest::newRow("Windows-1252") << head + "J\xF6rg;K\xF6ln\nAnna;Lund\n"
                                  << false << QStringList{"Jörg"};
    QTest::newRow("UTF-8") << head + "J\xC3\xB6rg;K\xC3\xB6ln\nAnna;Lund\n"
                           << false << QStringList{"Jörg"};
    QTest::newRow("mixed, decomposed too")
        << head + "J\xF6rg;K\xF6ln\n\xC3\x85sa;K\xC3\xB6lner\nOla;Ko\xCC\x88ln\n"
        << false << QStringList{"Jörg", "Åsa", "Ola"};
    QTest::newRow("mixed, exact") << head + "J\xF6rg;K\xF6ln\n\xC3\x85sa;K\xC3\xB6lner\n"
                                  << true << QStringList{"Jörg"};
  }

  void typedTextFindsTheCellsThatShowIt() {
    QFETCH(QByteArray, content);
    QFETCH(bool, exact);
    QFETCH(QStringList, kept);
    std::string path = files_.Write("cities.qdx", content);
    auto answer = [exact](QWidget* modal) {
      if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        box->button(QMessageBox::Ok)->click();
        return;
      }
      DesktopUser::PickEntry(modal->findChild<QComboBox*>(), 1);
      if (exact)
        DesktopUser::Click(modal->findChild<QCheckBox*>());
      for (QLineEdit* edit : modal->findChildren<QLineEdit*>()) {
        if (!qobject_cast<QComboBox*>(edit->parent()))
          Type(edit, QStringLiteral("köln"));
      }
      QTest::keyClick(modal, Qt::Key_Return);
    };
    TestProgram::Run({path}, [&](TestProgram& program) {
      {
        ModalWatcher watcher(answer);
        program.Key(Qt::Key_F, true);
        QCOMPARE(watcher.seen, QStringList{"dialog Find"});
        int found = program.Window().list.GetNextItem(-1, LVNI_SELECTED);
        QCOMPARE(program.Column(0).value(found), kept.value(0));
      }
      program.Activate();
      ModalWatcher watcher(answer);
      program.Key(Qt::Key_P, true);
      QCOMPARE(program.Column(0), kept);
    });
  }
};

QTEST_MAIN(TypedTextTest)
#include "TypedTextTest.moc"
