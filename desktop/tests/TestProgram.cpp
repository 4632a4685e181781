#include "desktop/tests/TestProgram.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "app/MainWindow.h"
#include "desktop/QtProgram.h"
#include "platform/App.h"
#include "platform/WorkProgress.h"
#include "platform/qt/ListModel.h"
#include "platform/qt/ListViewPeer.h"
#include "platform/qt/MenuBar.h"
#include "platform/qt/QtBackend.h"
#include "platform/qt/RowTableView.h"
#include "platform/qt/TopWindow.h"

ModalWatcher::ModalWatcher(Answer answer) : answer_(std::move(answer)), timer_(new QTimer) {
  timer_->setInterval(10);
  QObject::connect(timer_, &QTimer::timeout, [this] { Poll(); });
  timer_->start();
}

ModalWatcher::~ModalWatcher() {
  delete timer_;
}

void ModalWatcher::Poll() {
  QWidget* modal = QApplication::activeModalWidget();
  if (!modal || !modal->isVisible())
    return;
  for (const QPointer<QWidget>& done : handled_) {
    if (done.data() == modal)
      return;
  }
  handled_.emplace_back(modal);
  if (auto* box = qobject_cast<QMessageBox*>(modal)) {
    seen << QStringLiteral("box %1: %2").arg(box->windowTitle(), box->text());
    if (answer_) {
      answer_(modal);
    } else if (QAbstractButton* ok = box->button(QMessageBox::Ok)) {
      ok->click();
    }
    return;
  }
  if (auto* files = qobject_cast<QFileDialog*>(modal)) {
    seen << QStringLiteral("file dialog");
    if (answer_) {
      answer_(modal);
    } else {
      files->reject();
    }
    return;
  }
  seen << QStringLiteral("dialog %1").arg(modal->windowTitle());
  if (answer_)
    answer_(modal);
  else
    QTest::keyClick(modal, Qt::Key_Escape);
}

ModalWatcher::Answer ModalWatcher::ChooseField(int field, const QString& match) {
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

void TestProgram::Run(const std::vector<std::string>& arguments, const Scenario& scenario) {
  QtBackend backend;
  TestProgram program;
  program.backend_ = &backend;
  bool started = false;
  QTimer poll;
  poll.setInterval(10);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    CWinApp* app = AfxGetApp();
    auto* window = app ? dynamic_cast<MainWindow*>(app->m_pMainWnd) : nullptr;
    if (!window)
      return;
    if (QWidget* modal = QApplication::activeModalWidget()) {
      if (auto* box = qobject_cast<QMessageBox*>(modal))
        box->button(QMessageBox::Ok)->click();
      return;
    }
    TopWindow* top = backend.WindowOf(*window);
    bool listed = (arguments.empty() || window->table) && !CWorkProgress::Running();
    if (!top || !top->isVisible() || !listed)
      return;
    poll.stop();
    started = true;
    program.Activate();
    scenario(program);
    if (!program.Ended())
      window->EndDialog(IDCANCEL);
  });
  poll.start();
  QtProgram::Run(backend, "lintaro", arguments);
  if (!started)
    QTest::qFail("the scenario never ran", __FILE__, __LINE__);
}

MainWindow& TestProgram::Window() const {
  return *dynamic_cast<MainWindow*>(AfxGetApp()->m_pMainWnd);
}

TopWindow& TestProgram::Top() const {
  return *backend_->WindowOf(Window());
}

ListViewPeer& TestProgram::List() const {
  return *Top().findChild<ListViewPeer*>();
}

ListModel& TestProgram::Model() const {
  return List().Model();
}

bool TestProgram::Ended() const {
  CWinApp* app = AfxGetApp();
  auto* window = app ? dynamic_cast<MainWindow*>(app->m_pMainWnd) : nullptr;
  return !window || window->HasEnded();
}

QStringList TestProgram::Rows() const {
  QStringList rows;
  const ListModel& model = Model();
  for (int r = 0; r < model.rowCount(); ++r) {
    if (model.ItemAt(r) < 0)
      continue;
    QStringList cells;
    for (int c = 0; c < model.columnCount(); ++c)
      cells << model.data(model.index(r, c)).toString();
    rows << cells.join(QLatin1Char('|'));
  }
  return rows;
}

QStringList TestProgram::Column(int column) const {
  QStringList cells;
  for (const QString& row : Rows())
    cells << row.split(QLatin1Char('|')).value(column);
  return cells;
}

QAction* TestProgram::Action(unsigned id) const {
  for (QAction* action : Top().Menus()->findChildren<QAction*>()) {
    if (action->data().isValid() && action->data().toUInt() == id)
      return action;
  }
  return nullptr;
}

void TestProgram::Activate() const {
  Top().activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&Top()));
  List().View().setFocus();
}

void TestProgram::Key(int key, bool ctrl) const {
  QTest::keyClick(&List().View(), static_cast<Qt::Key>(key),
                  ctrl ? Qt::ControlModifier : Qt::NoModifier);
}
