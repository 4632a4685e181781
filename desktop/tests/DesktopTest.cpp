// What the desktop program does that the scripts in tests/scripts/, which also run in its real
// windows, cannot show: its own command line, the real file dialog, menu texts and the icon.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>

#include "app/MainWindow.h"
#include "app/Resource.h"
#include "desktop/QtProgram.h"
#include "desktop/tests/SampleFiles.h"
#include "desktop/tests/TestProgram.h"
#include "platform/App.h"
#include "platform/qt/MenuBar.h"
#include "platform/qt/TopWindow.h"

class DesktopTest : public QObject {
  Q_OBJECT

 private:
  SampleFiles files_;

 private slots:
  void startsWithThePathThatTheArgumentsSpell() {
    std::string spaced = files_.Write("two words.qdx", SampleFiles::kPeople);
    std::string head = spaced.substr(0, spaced.rfind(' '));
    std::string tail = spaced.substr(spaced.rfind(' ') + 1);
    TestProgram::Run({head, tail}, [&](TestProgram& program) {
      QCOMPARE(program.Rows(), SampleFiles::kPeopleRows);
      QCOMPARE(program.Window().path, spaced);
    });
  }

  // What the program reads as its command line, after the platform's own start-up rules.
  void commandLineCarriesTheArguments_data() {
    QTest::addColumn<QString>("program");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("read");
    QTest::newRow("none") << "/usr/bin/lintaro" << QStringList() << "";
    QTest::newRow("joined by blanks")
        << "lintaro" << QStringList{"my", "file.qdx"} << "my file.qdx";
    QTest::newRow("one with a blank") << "lintaro" << QStringList{"my file.qdx"} << "my file.qdx";
    QTest::newRow("program with a blank")
        << "/opt/my apps/lintaro" << QStringList{"a.qdx"} << "a.qdx";
    QTest::newRow("program with a quote")
        << "/opt/x\"y z/lintaro" << QStringList{"a.qdx"} << "a.qdx";
    QTest::newRow("empty program name") << "" << QStringList{"a.qdx"} << "a.qdx";
    QTest::newRow("quoted argument") << "lintaro" << QStringList{"\"a b.qdx\""} << "\"a b.qdx\"";
    QTest::newRow("trailing blank kept") << "lintaro" << QStringList{"a.qdx", ""} << "a.qdx ";
  }

  void commandLineCarriesTheArguments() {
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QString, read);
    std::vector<std::string> args;
    for (const QString& a : arguments)
      args.push_back(a.toStdString());
    std::string line = QtProgram::ProcessCommandLine(program.toStdString(), args);
    QCOMPARE(QString::fromStdString(ApplicationCommandLine(line)), read);
  }

  void menuHintsAreNotShortcuts() {
    TestProgram::Run({}, [&](TestProgram& program) {
      QAction* open = program.Action(ID_FILE_OPEN);
      QVERIFY(open);
      QCOMPARE(open->text(), QStringLiteral("&Open\tCtrl+O"));
      for (QAction* action : program.Top().Menus()->findChildren<QAction*>())
        QVERIFY2(action->shortcut().isEmpty(), qPrintable(action->text()));
    });
  }

  void typedColumnNameChoosesNothing() {
    TestProgram::Run({files_.people}, [&](TestProgram& program) {
      ModalWatcher watcher([](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
          box->button(QMessageBox::Ok)->click();
          return;
        }
        auto* combo = modal->findChild<QComboBox*>();
        combo->lineEdit()->selectAll();
        QTest::keyClicks(combo->lineEdit(), "city");
        QTest::keyClick(combo->lineEdit(), Qt::Key_Tab);
        auto* exact = modal->findChild<QCheckBox*>();
        QTest::mouseClick(exact, Qt::LeftButton);
        for (QLineEdit* edit : modal->findChildren<QLineEdit*>()) {
          if (edit->parent() != combo)
            QTest::keyClicks(edit, "Lund");
        }
        QTest::keyClick(modal, Qt::Key_Return);
      });
      program.Key(Qt::Key_F, true);
      // The search ran on the first column, where no name is "Lund".
      QCOMPARE(watcher.seen,
               QStringList({"dialog Find", "box Info: Could not find any matches..."}));
    });
  }

  void openOffersTheProgramsFiltersInTheFilesFolder() {
    std::string plain = files_.Write("plainfile", "a;b\n1;2\n");
    TestProgram::Run({files_.people}, [&](TestProgram& program) {
      QStringList filters;
      QString selected, folder;
      QStringList patterns;
      ModalWatcher watcher([&](QWidget* modal) {
        auto* files = qobject_cast<QFileDialog*>(modal);
        filters = files->nameFilters();
        selected = files->selectedNameFilter();
        folder = files->directory().absolutePath();
        // The user switches to the second filter.
        auto* types = files->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        QTest::keyClick(types, Qt::Key_Down);
        patterns = files->findChild<QFileSystemModel*>()->nameFilters();
        // The user types the name and confirms.
        auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        name->setText(QFileInfo(QString::fromStdString(plain)).fileName());
        QMetaObject::invokeMethod(files, "accept");
      });
      program.Key(Qt::Key_O, true);
      QCOMPARE(watcher.seen, QStringList{"file dialog"});
      QCOMPARE(filters, QStringList({"QDX file (*.qdx)", "All files (*.*)"}));
      QCOMPARE(selected, filters.value(0));
      QCOMPARE(folder, QFileInfo(QString::fromStdString(files_.people)).absolutePath());
      QCOMPARE(patterns, QStringList{"*"});
      QCOMPARE(program.Window().path, plain);
      QCOMPARE(program.Rows(), QStringList{"1|2"});
    });
  }

  void windowShowsTheProgramIcon() {
    TestProgram::Run({}, [&](TestProgram& program) {
      QList<QSize> sizes = program.Top().windowIcon().availableSizes();
      QVERIFY(sizes.contains(QSize(32, 32)));
      QVERIFY(sizes.contains(QSize(16, 16)));
      QCOMPARE(program.Top().windowTitle(), QStringLiteral("Lintaro 1.2 by Quorvel"));
    });
  }
};

QTEST_MAIN(DesktopTest)
#include "DesktopTest.moc"
