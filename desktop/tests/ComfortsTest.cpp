// What the desktop program does beside the commands: it draws itself and a progress bar while
// long work runs, takes files dropped on it, offers the recent files in its Open dialog, and
// shows cut-off texts in tool tips.
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QHelpEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QUrl>

#include "app/MainWindow.h"
#include "app/Resource.h"
#include "desktop/tests/SampleFiles.h"
#include "desktop/tests/TestProgram.h"
#include "platform/Registry.h"
#include "platform/WorkProgress.h"
#include "platform/qt/ListModel.h"
#include "platform/qt/ListViewPeer.h"
#include "platform/qt/RowTableView.h"
#include "platform/qt/TopWindow.h"

namespace {
// Sends a drop of these files to the window as the desktop delivers one; true when taken.
bool Drop(TopWindow& top, const QStringList& files) {
  QMimeData data;
  QList<QUrl> urls;
  for (const QString& file : files)
    urls << QUrl::fromLocalFile(file);
  data.setUrls(urls);
  QPoint middle = top.rect().center();
  QDragEnterEvent enter(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&top, &enter);
  if (!enter.isAccepted())
    return false;
  QDropEvent drop(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&top, &drop);
  return drop.isAccepted();
}

// The tip that the pointer resting at `at` in `widget` shows, or an empty text for none.
QString TipAt(QWidget* widget, QPoint at) {
  QToolTip::hideText();
  QHelpEvent help(QEvent::ToolTip, at, widget->mapToGlobal(at));
  QCoreApplication::sendEvent(widget, &help);
  return QToolTip::isVisible() ? QToolTip::text() : QString();
}
}  // namespace

class ComfortsTest : public QObject {
  Q_OBJECT

 private:
  SampleFiles files_;

 private slots:
  void cleanup() { CWorkProgress::SetDelays(ProgressRule::kShowAfter, ProgressRule::kDrawEvery); }

  // While the load runs the window is drawn with its menu bar and a bar over the still list; the
  // list reads no row meanwhile, and a key pressed then waits. Afterwards the bar is gone, the
  // rows show, and the key is taken.
  void longWorkDrawsTheWindowAndItsProgress() {
    TestProgram::Run({}, [&](TestProgram& program) {
      CWorkProgress::SetDelays(std::chrono::milliseconds(0), std::chrono::milliseconds(0));
      TopWindow& top = program.Top();
      bool seen = false;
      QTimer during;
      during.setInterval(0);
      QObject::connect(&during, &QTimer::timeout, [&] {
        auto* bar = top.findChild<QProgressBar*>();
        if (!CWorkProgress::Running() || !bar || !bar->isVisible())
          return;
        QVERIFY(top.findChild<QMenuBar*>()->isVisible());
        QVERIFY(bar->value() > 0 && bar->value() < ProgressRule::kFull);
        QVERIFY(program.Model().data(program.Model().index(0, 0)).isNull());
        if (!seen)
          program.Key(Qt::Key_H, true);
        seen = true;
      });
      during.start();
      QVERIFY(Drop(top, {QString::fromStdString(files_.big)}));
      during.stop();
      QVERIFY(seen);
      QVERIFY(!top.findChild<QProgressBar*>()->isVisible());
      QCOMPARE(program.Window().GetWindowText(), files_.big);
      QVERIFY(program.Action(ID_VIEW_HEADERS)->isChecked());
      QCOMPARE(program.Rows().value(0), QStringLiteral("row0|x"));
      QTRY_VERIFY(!program.Action(ID_VIEW_HEADERS)->isChecked());
    });
  }

  // Of several files the first opens; a window that a modal window of its own blocks takes none.
  void dropsOpenTheFirstFileUnlessAModalWindowIsOpen() {
    TestProgram::Run({}, [&](TestProgram& program) {
      TopWindow& top = program.Top();
      QVERIFY(
          Drop(top, {QString::fromStdString(files_.people), QString::fromStdString(files_.big)}));
      QCOMPARE(program.Window().GetWindowText(), files_.people);
      bool refused = false;
      ModalWatcher watcher([&](QWidget* modal) {
        refused = !Drop(top, {QString::fromStdString(files_.big)});
        QTest::keyClick(modal, Qt::Key_Escape);
      });
      program.Action(ID_HELP_ABOUT)->trigger();
      QVERIFY(refused);
      QCOMPARE(program.Window().GetWindowText(), files_.people);
    });
  }

  // With no file shown, the Open dialog starts in the folder of the most recent file and lists
  // the recent files' folders in its history.
  void theOpenDialogOffersTheRecentFiles() {
    QTemporaryDir other;
    std::string recent = other.filePath(QStringLiteral("r.qdx")).toStdString();
    HKEY key = nullptr;
    QCOMPARE(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Lintaro\\Recent File List", 0, "", 0,
                             KEY_ALL_ACCESS, nullptr, &key, nullptr),
             ERROR_SUCCESS);
    for (auto [name, file] : {std::pair{"File1", recent}, std::pair{"File2", files_.people}}) {
      RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(file.c_str()),
                     static_cast<DWORD>(file.size() + 1));
    }
    RegCloseKey(key);
    QString directory;
    QStringList history;
    TestProgram::Run({}, [&](TestProgram& program) {
      ModalWatcher watcher([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        directory = dialog->directory().absolutePath();
        history = dialog->history();
        dialog->reject();
      });
      program.Key(Qt::Key_O, true);
      QTRY_VERIFY(!directory.isEmpty());
    });
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Lintaro");
    QCOMPARE(directory, other.path());
    QCOMPARE(history,
             (QStringList{other.path(), QFileInfo(QString::fromStdString(files_.people)).path()}));
  }

  // A cell or a title too narrow for its text shows the whole of it in a tip; one wide enough
  // shows none.
  void cutOffTextsShowInTips() {
    TestProgram::Run({files_.people}, [&](TestProgram& program) {
      RowTableView& view = program.List().View();
      QHeaderView* header = view.horizontalHeader();
      QPoint cell = view.visualRect(program.Model().index(2, 1)).center();
      QPoint title(header->sectionViewportPosition(1) + 4, header->height() / 2);
      QCOMPARE(TipAt(view.viewport(), cell), QString());
      QCOMPARE(TipAt(header->viewport(), title), QString());
      header->resizeSection(1, 12);
      cell = view.visualRect(program.Model().index(2, 1)).center();
      QVERIFY(TipAt(view.viewport(), cell).contains(QStringLiteral("Umeå")));
      QVERIFY(TipAt(header->viewport(), title).contains(QStringLiteral("city")));
    });
  }
};

QTEST_MAIN(ComfortsTest)
#include "ComfortsTest.moc"
