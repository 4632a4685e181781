// A program that another one's files can be dragged from, for the tests of real X drags: its
// window, at the top left of the screen, starts a drag of the files named on its command line
// when the left button is pressed in it. It runs until it is ended, as a file manager does: the
// window that takes the drop asks it for the names after the drop.
#include <QApplication>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWidget>

class DragSource : public QWidget {
 public:
  explicit DragSource(QList<QUrl> files) : files_(std::move(files)) {
    setWindowTitle(QStringLiteral("drag source"));
    setGeometry(0, 0, 120, 120);
  }

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton)
      return;
    auto* files = new QMimeData;
    files->setUrls(files_);
    auto* drag = new QDrag(this);
    drag->setMimeData(files);
    drag->exec(Qt::CopyAction);
  }

 private:
  QList<QUrl> files_;
};

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QList<QUrl> files;
  for (const QString& file : QApplication::arguments().mid(1))
    files << QUrl::fromLocalFile(file);
  DragSource source(files);
  source.show();
  return QApplication::exec();
}
