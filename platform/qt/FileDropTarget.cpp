#include "platform/qt/FileDropTarget.h"

#include <QApplication>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>

#include "platform/Dialog.h"
#include "platform/DropFiles.h"
#include "platform/WorkProgress.h"
#include "platform/qt/TopWindow.h"

namespace {
// The local files among what is dragged, as the desktop lists them.
std::vector<std::string> LocalFiles(const QMimeData* data) {
  std::vector<std::string> names;
  if (!data)
    return names;
  for (const QUrl& url : data->urls()) {
    if (url.isLocalFile())
      names.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
  }
  return names;
}
}  // namespace

FileDropTarget::FileDropTarget(TopWindow& window) : QObject(&window), window_(window) {
  window_.installEventFilter(this);
}

void FileDropTarget::Follow() {
  window_.setAcceptDrops((window_.Dialog().GetExStyle() & WS_EX_ACCEPTFILES) != 0);
}

// Long work takes no drop either: the window takes nothing from the user until it ends.
bool FileDropTarget::Takes() const {
  QWidget* modal = QApplication::activeModalWidget();
  return window_.acceptDrops() && window_.Accepting() && (!modal || modal == &window_) &&
         !CWorkProgress::Running();
}

bool FileDropTarget::eventFilter(QObject* watched, QEvent* event) {
  QEvent::Type type = event->type();
  if (watched != &window_ ||
      (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)) {
    return QObject::eventFilter(watched, event);
  }
  auto* drag = static_cast<QDropEvent*>(event);
  std::vector<std::string> names = LocalFiles(drag->mimeData());
  if (!Takes() || names.empty()) {
    drag->ignore();
    return true;
  }
  drag->setDropAction(Qt::CopyAction);
  drag->accept();
  if (type == QEvent::Drop) {
    DropFiles drop{std::move(names)};
    window_.Feed(MSG{nullptr, WM_DROPFILES, reinterpret_cast<WPARAM>(&drop), 0});
  }
  return true;
}
