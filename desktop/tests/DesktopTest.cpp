// The desktop program as a user meets it: started in-process on small files, driven with Qt's
// own mouse and key events, offscreen. The list of rows, typed match texts and the system menu
// have tests of their own (ListViewTest, TypedTextTest, SystemMenuTest).
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
#include "platform/qt/ListModel.h"
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
    QTest::newRow("one") << "/usr/bin/lintaro" << QStringList{"a.qdx"} << "a.qdx";
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

  void acceleratorsReachTheirCommands_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QStringList>("modals");
    QTest::addColumn<QString>("firstTitle");
    QTest::newRow("Ctrl+I") << int(Qt::Key_I)
                            << QStringList{"box Info: File\nRows   : 6\nColumns: 3\n\n"
                                           "Displayed\nRows   : 6"}
                            << "name";
    QTest::newRow("Ctrl+P") << int(Qt::Key_P) << QStringList{"dialog Pick"} << "name";
    QTest::newRow("Ctrl+F") << int(Qt::Key_F) << QStringList{"dialog Find"} << "name";
    QTest::newRow("Ctrl+D") << int(Qt::Key_D) << QStringList{"dialog Pick duplicates"} << "name";
    QTest::newRow("Ctrl+O") << int(Qt::Key_O) << QStringList{"file dialog"} << "name";
    QTest::newRow("Ctrl+H") << int(Qt::Key_H) << QStringList{} << "Column 1";
    QTest::newRow("Ctrl+A") << int(Qt::Key_A) << QStringList{} << "name";
  }

  void acceleratorsReachTheirCommands() {
    QFETCH(int, key);
    QFETCH(QStringList, modals);
    QFETCH(QString, firstTitle);
    TestProgram::Run({files_.people}, [&](TestProgram& program) {
      ModalWatcher watcher;
      program.Key(key, true);
      QCOMPARE(watcher.seen, modals);
      QCOMPARE(program.Titles().value(0), firstTitle);
    });
  }

  void headersCheckFollowsTheCommand() {
    TestProgram::Run({files_.people}, [&](TestProgram& program) {
      QAction* headers = program.Action(ID_VIEW_HEADERS);
      QVERIFY(headers && headers->isChecked());
      program.Key(Qt::Key_H, true);
      QVERIFY(!headers->isChecked());
      headers->trigger();
      QVERIFY(headers->isChecked());
      QCOMPARE(program.Rows(), SampleFiles::kPeopleRows);
    });
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

  void waysToEnd_data() {
    QTest::addColumn<QString>("way");
    QTest::addColumn<bool>("helpMode");
    QTest::addColumn<QStringList>("modals");
    for (QString way : {"Enter", "Escape", "close box", "Exit"}) {
      QTest::addRow("%s", qPrintable(way)) << way << false << QStringList();
      QString help =
          way == "Exit" ? "Quits the program. :-(" : "No help available for this option.";
      QTest::addRow("%s in help mode", qPrintable(way))
          << way << true << QStringList{"box Help: " + help};
    }
  }

  void waysToEnd() {
    QFETCH(QString, way);
    QFETCH(bool, helpMode);
    QFETCH(QStringList, modals);
    TestProgram::Run({files_.people}, [&](TestProgram& program) {
      if (helpMode) {
        ModalWatcher watcher;
        program.Action(ID_HELP_ONLINE)->trigger();
        QCOMPARE(watcher.seen.size(), 1);
        program.Activate();
      }
      ModalWatcher watcher;
      if (way == "Enter")
        program.Key(Qt::Key_Return);
      else if (way == "Escape")
        program.Key(Qt::Key_Escape);
      else if (way == "close box")
        program.Top().close();
      else
        program.Action(ID_FILE_EXIT)->trigger();
      QCOMPARE(watcher.seen, modals);
      QCOMPARE(program.Ended(), !helpMode);
      if (!helpMode) {
        // The shutdown has not run yet: it runs once the loop has returned.
        QCOMPARE(program.Rows(), SampleFiles::kPeopleRows);
      }
    });
  }

  void shutdownClosesTheTableBeforeTheWindowGoes() {
    QStringList titles;
    TestProgram::Run({files_.people}, [&](TestProgram& program) {
      QObject::connect(&program.Top(), &QWidget::windowTitleChanged, &program.Top(),
                       [&](const QString& title) { titles << title; });
      program.Key(Qt::Key_Return);
    });
    QCOMPARE(titles, QStringList{"Lintaro by Quorvel"});
  }

  void fieldChoosersRunTheirCommands_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("match");
    QTest::addColumn<QString>("dialog");
    QTest::newRow("Pick") << int(Qt::Key_P) << "lund"
                          << "dialog Pick";
    QTest::newRow("Duplicates") << int(Qt::Key_D) << QString() << "dialog Pick duplicates";
  }

  // The city column, chosen in the dialog's own list, keeps the two rows in Lund.
  void fieldChoosersRunTheirCommands() {
    QFETCH(int, key);
    QFETCH(QString, match);
    QFETCH(QString, dialog);
    TestProgram::Run({files_.people}, [&](TestProgram& program) {
      ModalWatcher watcher(ModalWatcher::ChooseField(1, match));
      program.Key(key, true);
      QCOMPARE(watcher.seen, QStringList{dialog});
      QStringList rows = program.Rows();
      rows.sort();
      QCOMPARE(rows, QStringList({"Anna|Lund|34", "Cecilia|Lund|51"}));
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

  void helpModeStopsMenuCommandsButNotKeys() {
    TestProgram::Run({files_.people}, [&](TestProgram& program) {
      ModalWatcher watcher;
      program.Action(ID_HELP_ONLINE)->trigger();
      QVERIFY(program.Action(ID_HELP_ONLINE)->isChecked());
      program.Action(ID_FILE_OPEN)->trigger();
      program.Activate();
      program.Key(Qt::Key_O, true);
      QCOMPARE(watcher.seen,
               QStringList({"box lintaro: Brings up help messages when you select a menu option.",
                            "box Help: Opens a .qdx file.", "file dialog"}));
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

  void failedStartShowsOneMessage() {
    TestProgram::Run({files_.Path("missing.qdx")}, [&](TestProgram& program) {
      QCOMPARE(program.startupModals, QStringList{"box Error: Failed to open file."});
      QCOMPARE(program.Model().columnCount(), 0);
      QCOMPARE(program.Model().rowCount(), 0);
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
