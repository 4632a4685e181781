// The desktop program as a user meets it: started in-process on small files, driven with Qt's
// own mouse and key events, offscreen.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include "app/MainWindow.h"
#include "app/Resource.h"
#include "desktop/QtProgram.h"
#include "desktop/tests/TestProgram.h"
#include "platform/App.h"
#include "platform/qt/ListModel.h"
#include "platform/qt/ListViewPeer.h"
#include "platform/qt/MenuBar.h"
#include "platform/qt/RowTableView.h"
#include "platform/qt/TopWindow.h"

namespace {
// A name in UTF-8, a name and a city in Windows-1252, and a row that lacks two fields.
const QByteArray kPeople =
    "name;city;age\n"
    "Anna;Lund;34\n"
    "bo;Malmo;7\n"
    "\xC3\x85sa;Ume\xC3\xA5;28\n"
    "J\xF6rg;K\xF6ln;40\n"
    "Cecilia;Lund;51\n"
    "Erik\n";

const QStringList kPeopleRows = {
    "Anna|Lund|34", "bo|Malmo|7", "Åsa|Umeå|28", "Jörg|Köln|40", "Cecilia|Lund|51", "Erik||",
};

// Types text the way a keyboard does, one key press per character, letters beyond ASCII too.
void Type(QWidget* widget, const QString& text) {
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &release);
  }
}

QStringList Column(const QStringList& rows, int column) {
  QStringList cells;
  for (const QString& row : rows)
    cells << row.split(QLatin1Char('|')).value(column);
  return cells;
}

// Answers a field chooser: picks entry `field` from its list with the keyboard, types `match`,
// and presses OK.
ModalWatcher::Answer ChooseField(int field, const QString& match = QString()) {
  return [field, match](QWidget* modal) {
    auto* combo = modal->findChild<QComboBox*>();
    if (!combo) {
      QTest::keyClick(modal, Qt::Key_Escape);
      return;
    }
    combo->setFocus();
    for (int i = combo->currentIndex(); i < field; ++i)
      QTest::keyClick(combo, Qt::Key_Down);
    for (QLineEdit* edit : modal->findChildren<QLineEdit*>()) {
      if (edit->parent() != combo && !match.isEmpty())
        QTest::keyClicks(edit, match);
    }
    for (QPushButton* button : modal->findChildren<QPushButton*>()) {
      if (button->text() == QLatin1String("OK"))
        QTest::mouseClick(button, Qt::LeftButton);
    }
  };
}
}  // namespace

class DesktopTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  std::string people_;
  std::string big_;

  std::string Write(const QString& name, const QByteArray& content) {
    QFile file(dir_.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
      qFatal("cannot write the test file");
    return dir_.filePath(name).toStdString();
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    people_ = Write("people.qdx", kPeople);
    QByteArray big = "id;text\n";
    for (int i = 0; i < 5000; ++i)
      big += "row" + QByteArray::number(i) + ";x\n";
    big_ = Write("big.qdx", big);
  }

  void listsCellsAndTitles() {
    TestProgram::Run({people_}, [&](TestProgram& program) {
      QCOMPARE(program.Titles(), QStringList({"name", "city", "age"}));
      QCOMPARE(program.Rows(), kPeopleRows);
      QCOMPARE(program.Top().windowTitle(), QString::fromStdString(people_));
    });
  }

  void startsWithThePathThatTheArgumentsSpell() {
    std::string spaced = Write("two words.qdx", kPeople);
    std::string head = spaced.substr(0, spaced.rfind(' '));
    std::string tail = spaced.substr(spaced.rfind(' ') + 1);
    TestProgram::Run({head, tail}, [&](TestProgram& program) {
      QCOMPARE(program.Rows(), kPeopleRows);
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

  void titleClickSortsAndReverses() {
    TestProgram::Run({people_}, [&](TestProgram& program) {
      QHeaderView* header = program.List().View().horizontalHeader();
      auto clickTitle = [&](int column) {
        int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
      };
      clickTitle(2);
      QCOMPARE(Column(program.Rows(), 0),
               QStringList({"Erik", "Åsa", "Anna", "Jörg", "Cecilia", "bo"}));
      clickTitle(2);
      QCOMPARE(Column(program.Rows(), 0),
               QStringList({"bo", "Cecilia", "Jörg", "Anna", "Åsa", "Erik"}));
    });
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
    TestProgram::Run({people_}, [&](TestProgram& program) {
      ModalWatcher watcher;
      program.Key(key, true);
      QCOMPARE(watcher.seen, modals);
      QCOMPARE(program.Titles().value(0), firstTitle);
      // Ctrl+A lists all rows; it never selects every row in the view.
      QVERIFY(program.List().View().selectionModel()->selectedRows().size() <= 1);
    });
  }

  void headersCheckFollowsTheCommand() {
    TestProgram::Run({people_}, [&](TestProgram& program) {
      QAction* headers = program.Action(ID_VIEW_HEADERS);
      QVERIFY(headers && headers->isChecked());
      program.Key(Qt::Key_H, true);
      QVERIFY(!headers->isChecked());
      QCOMPARE(program.Rows().value(0), QStringLiteral("name|city|age"));
      headers->trigger();
      QVERIFY(headers->isChecked());
      QCOMPARE(program.Rows(), kPeopleRows);
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
    TestProgram::Run({people_}, [&](TestProgram& program) {
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
        QCOMPARE(program.Rows(), kPeopleRows);
      }
    });
  }

  void shutdownClosesTheTableBeforeTheWindowGoes() {
    QStringList titles;
    TestProgram::Run({people_}, [&](TestProgram& program) {
      QObject::connect(&program.Top(), &QWidget::windowTitleChanged, &program.Top(),
                       [&](const QString& title) { titles << title; });
      program.Key(Qt::Key_Return);
    });
    QCOMPARE(titles, QStringList{"Lintaro by Quorvel"});
  }

  void resizeKeepsTheMargins_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("larger") << QSize(640, 480);
    QTest::newRow("wide") << QSize(900, 200);
    QTest::newRow("small") << QSize(180, 120);
    QTest::newRow("maximised") << QSize();
  }

  void resizeKeepsTheMargins() {
    QFETCH(QSize, size);
    TestProgram::Run({people_}, [&](TestProgram& program) {
      TopWindow& top = program.Top();
      if (size.isValid())
        top.resize(size);
      else
        top.showMaximized();
      QTRY_VERIFY(size.isValid() ? top.size() == size : top.isMaximized());
      QWidget* client = top.Client();
      RECT platform;
      program.Window().GetClientRect(&platform);
      QCOMPARE(QSize(platform.Width(), platform.Height()), client->size());
      QCOMPARE(client->geometry().bottom(), top.height() - 1);
      QCOMPARE(program.List().geometry(), client->rect().adjusted(5, 5, -5, -5));
      RECT list;
      program.Window().list.GetWindowRect(&list);
      QCOMPARE(QRect(list.left, list.top, list.Width(), list.Height()), program.List().geometry());
    });
  }

  void pickNarrowsTheRows() {
    TestProgram::Run({people_}, [&](TestProgram& program) {
      ModalWatcher watcher(ChooseField(1, "lund"));
      program.Key(Qt::Key_P, true);
      QCOMPARE(watcher.seen, QStringList{"dialog Pick"});
      QCOMPARE(program.Rows(), QStringList({"Anna|Lund|34", "Cecilia|Lund|51"}));
      QCOMPARE(program.Top().windowTitle(), QString::fromStdString(people_));
    });
  }

  void duplicatesKeepRepeatedValues() {
    TestProgram::Run({people_}, [&](TestProgram& program) {
      ModalWatcher watcher(ChooseField(1));
      program.Key(Qt::Key_D, true);
      QCOMPARE(watcher.seen, QStringList{"dialog Pick duplicates"});
      QCOMPARE(Column(program.Rows(), 1), QStringList({"Lund", "Lund"}));
    });
  }

  void typedColumnNameChoosesNothing() {
    TestProgram::Run({people_}, [&](TestProgram& program) {
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
    TestProgram::Run({people_}, [&](TestProgram& program) {
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

  void helpModeStopsMenuCommandsButNotKeys() {
    TestProgram::Run({people_}, [&](TestProgram& program) {
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

  void clicksAndKeysSelectRows() {
    TestProgram::Run({people_}, [&](TestProgram& program) {
      RowTableView& view = program.List().View();
      CListCtrl& list = program.Window().list;
      QRect third = view.visualRect(program.Model().index(2, 0));
      QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, third.center());
      QCOMPARE(list.GetNextItem(-1, LVNI_SELECTED), 2);
      QCOMPARE(view.selectionModel()->selectedRows().value(0).row(), 2);
      program.Key(Qt::Key_Down);
      QCOMPARE(list.GetNextItem(-1, LVNI_SELECTED), 3);
      program.Key(Qt::Key_End);
      QCOMPARE(list.GetNextItem(-1, LVNI_SELECTED), 5);
      program.Key(Qt::Key_Home);
      QCOMPARE(list.GetNextItem(-1, LVNI_SELECTED), 0);
      // A click below the last row clears the selection.
      QTest::mouseClick(view.viewport(), Qt::LeftButton, {},
                        QPoint(5, view.viewport()->height() - 2));
      QCOMPARE(list.GetNextItem(-1, LVNI_SELECTED), -1);
      QVERIFY(view.selectionModel()->selectedRows().isEmpty());
    });
  }

  void longListShowsOnePageAndScrollsByItems() {
    TestProgram::Run({big_}, [&](TestProgram& program) {
      ListViewPeer& control = program.List();
      CListCtrl& list = program.Window().list;
      int whole = control.View().FullyVisibleRows();
      QCOMPARE(list.GetItemCount(), 5000);
      QCOMPARE(program.Model().rowCount(), whole + 1);
      QCOMPARE(control.ScrollBar().maximum(), 5000 - whole);
      QVERIFY(control.ScrollBar().isVisible());

      control.ScrollBar().setValue(1234);
      QCOMPARE(control.TopItem(), 1234);
      QCOMPARE(program.Rows().value(0), QStringLiteral("row1234|x"));

      program.Key(Qt::Key_End);
      QCOMPARE(list.GetNextItem(-1, LVNI_SELECTED), 4999);
      QCOMPARE(control.TopItem(), 5000 - whole);
      QCOMPARE(program.Rows().value(whole - 1), QStringLiteral("row4999|x"));
      QCOMPARE(control.View().selectionModel()->selectedRows().value(0).row(), whole - 1);
    });
  }

  void findRevealsTheRowItSelects() {
    TestProgram::Run({big_}, [&](TestProgram& program) {
      ModalWatcher watcher(ChooseField(0, "row4321"));
      program.Key(Qt::Key_F, true);
      QCOMPARE(watcher.seen, QStringList{"dialog Find"});
      ListViewPeer& control = program.List();
      QCOMPARE(program.Window().list.GetNextItem(-1, LVNI_SELECTED), 4321);
      int row = program.Model().RowOf(4321);
      QVERIFY(row >= 0 && row < control.View().FullyVisibleRows());
      QCOMPARE(control.View().selectionModel()->selectedRows().value(0).row(), row);
      QCOMPARE(control.ScrollBar().value(), control.TopItem());
    });
  }

  void openOffersTheProgramsFiltersInTheFilesFolder() {
    std::string plain = Write("plainfile", "a;b\n1;2\n");
    TestProgram::Run({people_}, [&](TestProgram& program) {
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
      QCOMPARE(folder, QFileInfo(QString::fromStdString(people_)).absolutePath());
      QCOMPARE(patterns, QStringList{"*"});
      QCOMPARE(program.Window().path, plain);
      QCOMPARE(program.Rows(), QStringList{"1|2"});
    });
  }

  void failedStartShowsOneMessage() {
    TestProgram::Run({dir_.filePath("missing.qdx").toStdString()}, [&](TestProgram& program) {
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
