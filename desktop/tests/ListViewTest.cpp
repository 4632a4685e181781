// The list of rows in the desktop program: cells and titles, title clicks, selection by mouse
// and keys, a long list shown one page at a time, and its place in the window.
#include <QHeaderView>
#include <QScrollBar>
#include <QTest>

#include "app/MainWindow.h"
#include "desktop/tests/SampleFiles.h"
#include "desktop/tests/TestProgram.h"
#include "platform/qt/ListModel.h"
#include "platform/qt/ListViewPeer.h"
#include "platform/qt/RowTableView.h"
#include "platform/qt/TopWindow.h"

class ListViewTest : public QObject {
  Q_OBJECT

 private:
  SampleFiles files_;

 private slots:
  void resizeKeepsTheMargins_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("larger") << QSize(640, 480);
    QTest::newRow("small") << QSize(180, 120);
    QTest::newRow("maximised") << QSize();
  }

  void resizeKeepsTheMargins() {
    QFETCH(QSize, size);
    TestProgram::Run({files_.people}, [&](TestProgram& program) {
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

  void clicksAndKeysSelectRows() {
    TestProgram::Run({files_.people}, [&](TestProgram& program) {
      RowTableView& view = program.List().View();
      CListCtrl& list = program.Window().list;
      QRect third = view.visualRect(program.Model().index(2, 0));
      QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, third.center());
      QCOMPARE(list.GetNextItem(-1, LVNI_SELECTED), 2);
      QCOMPARE(view.selectionModel()->selectedRows().value(0).row(), 2);
      program.Key(Qt::Key_Down);
      QCOMPARE(list.GetNextItem(-1, LVNI_SELECTED), 3);
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
    TestProgram::Run({files_.big}, [&](TestProgram& program) {
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
    TestProgram::Run({files_.big}, [&](TestProgram& program) {
      ModalWatcher watcher(ModalWatcher::ChooseField(0, "row4321"));
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
};

QTEST_MAIN(ListViewTest)
#include "ListViewTest.moc"
