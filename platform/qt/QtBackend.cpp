#include "platform/qt/QtBackend.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QThread>
#include <QWindow>
#include <QtMath>
#include <algorithm>

#include "platform/App.h"
#include "platform/Clipboard.h"
#include "platform/Dialog.h"
#include "platform/FileDialog.h"
#include "platform/ListCtrl.h"
#include "platform/qt/EightBitText.h"
#include "platform/qt/PopupMenu.h"
#include "platform/qt/TopWindow.h"

namespace {
// The window system's rule for dialog base units: the average width of the letters, rounded,
// and the height of the font.
POINT BaseUnitsOf(const QFont& font) {
  QFontMetrics metrics(font);
  int letters = metrics.horizontalAdvance(
      QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
  return POINT{(letters / 26 + 1) / 2, metrics.height()};
}

// The height of a one-line menu bar in this style, for windows that do not exist yet.
int OneLineMenuBarHeight() {
  QMenuBar probe;
  probe.setNativeMenuBar(false);
  probe.addMenu(QStringLiteral("&File"));
  return probe.sizeHint().height();
}

// Where a menu asked for from the keyboard opens: at the current item of a view that has the
// focus, as the window system puts it at the focused item of a list, else at the focused widget.
QPoint KeyboardMenuPoint(QWidget* fallback) {
  QWidget* focus = QApplication::focusWidget();
  if (!focus)
    focus = fallback;
  if (!focus)
    return QPoint();
  if (auto* view = qobject_cast<QAbstractItemView*>(focus)) {
    QRect item = view->visualRect(view->currentIndex());
    if (item.isValid() && view->viewport()->rect().intersects(item))
      return view->viewport()->mapToGlobal(item.bottomLeft());
  }
  return focus->mapToGlobal(focus->rect().center());
}

// A file pattern as Qt matches it: the window system's "*.*" matches every name, dot or not.
QString QtPattern(const std::string& patterns) {
  QStringList out;
  for (const QString& pattern :
       EightBitText::Decode(patterns).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    out << (pattern.trimmed() == QLatin1String("*.*") ? QStringLiteral("*") : pattern.trimmed());
  }
  return out.join(QLatin1Char(' '));
}
}  // namespace

QtBackend::QtBackend()
    : listFont_(QApplication::font("QAbstractItemView")),
      listMetrics_(listFont_),
      baseUnits_(BaseUnitsOf(QApplication::font())),
      menuBarHeight_(OneLineMenuBarHeight()) {
  // The program's modal loops are its only loops, and they end when the program says so.
  QApplication::setQuitOnLastWindowClosed(false);
}

QtBackend::~QtBackend() {
  while (waitDepth_ > 0) {
    QApplication::restoreOverrideCursor();
    --waitDepth_;
  }
}

TopWindow* QtBackend::WindowOf(const CWnd& dialog) const {
  for (TopWindow* window : windows_) {
    if (&window->Dialog() == &dialog)
      return window;
  }
  return nullptr;
}

// Dialogs.

bool QtBackend::CreateDialogWindow(CDialog& dialog) {
  CWnd* owner = dialog.GetParent();
  auto* window = new TopWindow(dialog, owner ? WindowOf(*owner) : nullptr);
  windows_.push_back(window);
  dialog.peer = window;
  return true;
}

void QtBackend::ShowDialogWindow(CDialog& dialog) {
  if (TopWindow* window = WindowOf(dialog))
    window->ShowFromPlatform();
}

bool QtBackend::RunModalLoop(CDialog& dialog) {
  TopWindow* window = WindowOf(dialog);
  if (!window)
    return false;
  if (dialog.HasEnded())
    return true;
  if (window->RunLoop())
    return true;
  // The application is quitting from outside, as when the desktop session ends: the dialog ends
  // as if cancelled, past any help mode, so that the window's own shutdown still runs and keeps
  // the user's settings. Every loop that starts after this returns at once.
  dialog.EndDialog(IDCANCEL);
  return true;
}

void QtBackend::EndModalLoop(CDialog& dialog) {
  if (TopWindow* window = WindowOf(dialog))
    window->EndLoop();
}

// The dialog's window goes, and with it the peers of its controls.
void QtBackend::DestroyDialogWindow(CDialog& dialog) {
  TopWindow* window = WindowOf(dialog);
  dialog.peer = nullptr;
  for (CWnd* child : dialog.Children())
    child->peer = nullptr;
  std::erase(windows_, window);
  delete window;
}

int QtBackend::MessageBox(CWnd& owner, const std::string& text, const std::string& caption,
                          UINT /*type*/) {
  CWnd* top = &owner;
  while (top && (top->GetStyle() & WS_CHILD))
    top = top->GetParent();
  QMessageBox box(top ? WindowOf(*top) : nullptr);
  box.setWindowTitle(TopWindow::TitleText(caption));
  // Plain text: a file name or a field must never be read as markup.
  box.setTextFormat(Qt::PlainText);
  box.setText(EightBitText::Decode(text));
  box.setIcon(QMessageBox::NoIcon);
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
  return IDOK;
}

int QtBackend::RunFileDialog(CFileDialog& dialog) {
  CWinApp* app = AfxGetApp();
  QWidget* owner = app && app->m_pMainWnd ? WindowOf(*app->m_pMainWnd) : nullptr;
  QFileDialog chooser(owner);
  chooser.setOption(QFileDialog::DontUseNativeDialog);
  chooser.setAcceptMode(dialog.m_bOpenFileDialog ? QFileDialog::AcceptOpen
                                                 : QFileDialog::AcceptSave);
  chooser.setOption(QFileDialog::DontConfirmOverwrite,
                    (dialog.m_ofn.Flags & OFN_OVERWRITEPROMPT) == 0 || dialog.m_bOpenFileDialog);
  if (dialog.m_ofn.lpstrDefExt)
    chooser.setDefaultSuffix(EightBitText::Decode(std::string_view(dialog.m_ofn.lpstrDefExt)));
  // Only a dialog told so refuses a name that does not exist; otherwise the name typed is the
  // answer, and the program finds out for itself that it cannot open it.
  bool mustExist = (dialog.m_ofn.Flags & OFN_FILEMUSTEXIST) != 0;
  chooser.setFileMode(mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  // The descriptions are shown as the program wrote them; the patterns that Qt matches are kept
  // apart, since "*.*" means every file here but only names with a dot to Qt.
  QStringList names;
  QStringList patterns;
  for (const auto& [description, pattern] : dialog.Filters()) {
    names << EightBitText::Decode(description);
    patterns << QtPattern(pattern);
  }
  if (!names.isEmpty()) {
    chooser.setNameFilters(names);
    int first = static_cast<int>(std::clamp<DWORD>(dialog.m_ofn.nFilterIndex, 1,
                                                   static_cast<DWORD>(names.size()))) -
                1;
    auto usePatterns = [&chooser, names, patterns](const QString& chosen) {
      qsizetype at = names.indexOf(chosen);
      if (auto* model = chooser.findChild<QFileSystemModel*>(); model && at >= 0)
        model->setNameFilters(patterns[at].split(QLatin1Char(' ')));
    };
    QObject::connect(&chooser, &QFileDialog::filterSelected, &chooser, usePatterns);
    chooser.selectNameFilter(names[first]);
    usePatterns(names[first]);
  }
  QStringList folders;
  for (const std::string& file : dialog.recentFiles) {
    QString folder = QFileInfo(QFile::decodeName(file.c_str())).absolutePath();
    if (!folders.contains(folder))
      folders << folder;
  }
  chooser.setHistory(folders);
  if (const char* initial = dialog.m_ofn.lpstrInitialDir; initial && *initial) {
    // The program hands over the path of the file it shows: the dialog opens in its folder.
    chooser.setDirectory(QFileInfo(QFile::decodeName(initial)).absolutePath());
  } else if (!folders.isEmpty()) {
    chooser.setDirectory(folders.first());
  }
  if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
    return IDCANCEL;
  dialog.SetPathName(QFile::encodeName(chooser.selectedFiles().first()).toStdString());
  return IDOK;
}

UINT QtBackend::TrackPopupMenu(const CMenu& menu, CWnd& owner, POINT where) {
  CWnd* top = &owner;
  while (top && (top->GetStyle() & WS_CHILD))
    top = top->GetParent();
  QWidget* window = top ? WindowOf(*top) : nullptr;
  PopupMenu popup(menu, window);
  bool fromKeyboard = where.x == -1 && where.y == -1;
  return popup.Track(fromKeyboard ? KeyboardMenuPoint(window) : QPoint(where.x, where.y));
}

// Desktops here take text as UTF-8, each cell's characters as the list shows them.
bool QtBackend::SetClipboardText(CWnd& /*owner*/, const ClipboardText& text) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!clipboard)
    return false;
  clipboard->setText(QString::fromStdString(text.Utf8()));
  return true;
}

void QtBackend::WaitCursor(bool on) {
  if (on) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ++waitDepth_;
  } else if (waitDepth_ > 0) {
    QApplication::restoreOverrideCursor();
    --waitDepth_;
  }
}

// Qt draws a window once the window system has shown it: a window shown just before the work
// began is waited for, for a while.
void QtBackend::DrawPending(CWnd& window) {
  constexpr qint64 kLongestWait = 1000;
  TopWindow* top = WindowOf(window);
  QWindow* handle = top ? top->windowHandle() : nullptr;
  QElapsedTimer waited;
  waited.start();
  while (handle && top->isVisible() && !top->isMinimized() && !handle->isExposed() &&
         waited.elapsed() < kLongestWait) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QThread::msleep(2);
  }
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
  QGuiApplication::sync();
}

// The menu opens where the window system puts it for the keyboard: at the window's top left.
void QtBackend::ShowSystemMenu(CWnd& window) {
  if (TopWindow* top = WindowOf(window))
    top->ShowSystemMenu(top->mapToGlobal(QPoint(0, 0)));
}

// The window manager moves or sizes the window; one that cannot start from the keyboard leaves
// it where it is.
void QtBackend::BeginMoveOrSize(CWnd& window, UINT command) {
  TopWindow* top = WindowOf(window);
  QWindow* handle = top ? top->windowHandle() : nullptr;
  if (!handle)
    return;
  if (command == SC_MOVE) {
    handle->startSystemMove();
  } else {
    handle->startSystemResize(Qt::BottomEdge | Qt::RightEdge);
  }
}

// Measures.

int QtBackend::TextWidth(const char* text, size_t length) {
  return listMetrics_.horizontalAdvance(EightBitText::DecodeShown(std::string_view(text, length)));
}

// A printable ASCII byte is its own character; any other byte may be part of any character, none
// of which is wider than the font's widest. Qt keeps advances in 64ths of a pixel, as we do, and
// rounds a text's sum of them to whole pixels.
int QtBackend::ByteAdvance(unsigned char byte) {
  QFontMetricsF metrics(listFont_);
  qreal advance = byte >= 0x20 && byte < 0x7F
                      ? metrics.horizontalAdvance(QChar(static_cast<char16_t>(byte)))
                      : metrics.maxWidth();
  return qCeil(advance * kAdvanceUnits);
}

int QtBackend::SystemMetric(int index) {
  return index == SM_CXICON || index == SM_CYICON ? 32 : 0;
}

RECT QtBackend::WorkArea() {
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen)
    return RECT{0, 0, 1280, 1024};
  QRect area = screen->availableGeometry();
  return RECT{area.x(), area.y(), area.x() + area.width(), area.y() + area.height()};
}

// The platform's window rectangle is Qt's geometry: the area inside the window manager's frame,
// which holds the menu bar and the client area. A maximised window fills the work area as far as
// the window manager lets it; what it keeps back counts as frame.
RECT QtBackend::NonClientInsets(const CWnd& window) {
  if (window.GetStyle() & WS_CHILD)
    return RECT{};
  TopWindow* top = WindowOf(window);
  if (!top)
    return RECT{0, window.GetMenu() ? menuBarHeight_ : 0, 0, 0};
  RECT outer;
  window.GetWindowRect(&outer);
  if (!window.IsZoomed() || !top->isMaximized())
    return RECT{0, top->MenuBarHeight(outer.Width()), 0, 0};
  QRect shown = top->geometry();
  int menu = top->MenuBarHeight(shown.width());
  return RECT{shown.left() - outer.left, shown.top() - outer.top + menu,
              outer.right - (shown.x() + shown.width()),
              outer.bottom - (shown.y() + shown.height())};
}
