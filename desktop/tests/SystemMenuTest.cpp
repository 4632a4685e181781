// The window's system menu, in the places where a Linux user can reach it.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>

#include "app/Resource.h"
#include "desktop/DesktopUser.h"
#include "desktop/tests/SampleFiles.h"
#include "desktop/tests/TestProgram.h"
#include "platform/qt/ListViewPeer.h"
#include "platform/qt/MenuBar.h"
#include "platform/qt/RowTableView.h"
#include "platform/qt/TopWindow.h"

class SystemMenuTest : public QObject {
  Q_OBJECT

 private:
  SampleFiles files_;

 private slots:
  // The window's system menu, which no window manager shows here, opens on Alt+Space and on a
  // right-click in the menu bar's empty part; its About item opens the About box also in help
  // mode, where the Help menu's About only shows its help text.
  void systemMenuOpensAbout_data() {
    QTest::addColumn<bool>("rightClick");
    QTest::addColumn<bool>("helpMode");
    QTest::newRow("Alt+Space") << false << false;
    QTest::newRow("right-click") << true << false;
    QTest::newRow("Alt+Space in help mode") << false << true;
    QTest::newRow("right-click in help mode") << true << true;
  }

  void systemMenuOpensAbout() {
    QFETCH(bool, rightClick);
    QFETCH(bool, helpMode);
    TestProgram::Run({files_.people}, [&](TestProgram& program) {
      if (helpMode) {
        ModalWatcher watcher;
        program.Action(ID_HELP_ONLINE)->trigger();
        program.Activate();
      }
      ModalWatcher watcher;
      QMenuBar* bar = program.Top().Menus();
      QPoint empty(bar->width() - 3, bar->height() / 2);
      QVERIFY(!bar->actionAt(empty));
      bool picked = DesktopUser::PickFromMenu(IDM_ABOUTBOX, [&] {
        if (rightClick)
          QTest::mouseClick(bar, Qt::RightButton, {}, empty);
        else
          QTest::keyClick(&program.List().View(), Qt::Key_Space, Qt::AltModifier);
      });
      QVERIFY(picked);
      QCOMPARE(watcher.seen, QStringList{"dialog About Lintaro"});
    });
  }

  void systemMenuHasTheWindowCommands() {
    TestProgram::Run({}, [&](TestProgram& program) {
      QStringList items;
      QList<UINT> enabled;
      QTimer reader;
      reader.setInterval(5);
      QObject::connect(&reader, &QTimer::timeout, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
          return;
        reader.stop();
        for (QAction* action : menu->actions()) {
          items << action->text();
          if (action->isEnabled() && !action->isSeparator())
            enabled << action->data().toUInt();
        }
        QTest::keyClick(menu, Qt::Key_Escape);
      });
      reader.start();
      QTest::keyClick(&program.List().View(), Qt::Key_Space, Qt::AltModifier);
      QCOMPARE(items, QStringList({"&Restore", "&Move", "&Size", "Mi&nimize", "Ma&ximize", "",
                                   "&Close\tAlt+F4", "", "&About Lintaro..."}));
      // A normal window has nothing to restore.
      QCOMPARE(enabled,
               QList<UINT>({SC_MOVE, SC_SIZE, SC_MINIMIZE, SC_MAXIMIZE, SC_CLOSE, IDM_ABOUTBOX}));
    });
  }
};

QTEST_MAIN(SystemMenuTest)
#include "SystemMenuTest.moc"
