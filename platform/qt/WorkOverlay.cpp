#include "platform/qt/WorkOverlay.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "platform/WorkProgress.h"
#include "platform/qt/ListViewPeer.h"
#include "platform/qt/TopWindow.h"

namespace {
constexpr int kMargin = 8;
constexpr int kWidest = 360;
}  // namespace

WorkOverlay::WorkOverlay(TopWindow& window) : QFrame(&window), window_(window) {
  setObjectName(QStringLiteral("workProgress"));
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  // Opaque, so that nothing of the held controls below it is drawn again while the work runs.
  setAutoFillBackground(true);
  bar_ = new QProgressBar(this);
  bar_->setRange(0, ProgressRule::kFull);
  bar_->setTextVisible(false);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
  layout->addWidget(bar_);
  hide();
}

// The controls draw nothing while the work runs: what they would read may be changing on other
// threads. Once it ends they draw what the program has made.
void WorkOverlay::Follow(bool running) {
  window_.Client()->setUpdatesEnabled(!running);
  if (running)
    return;
  hide();
  // A modal window that the work ended with takes the input from here, as it would have got it.
  QTimer::singleShot(0, this, [this] {
    std::vector<MSG> waiting = std::exchange(deferred_, {});
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal != &window_)
      return;
    for (const MSG& msg : waiting)
      window_.Feed(msg);
  });
}

void WorkOverlay::ShowProgress(int filled) {
  if (filled < 0) {
    hide();
    return;
  }
  bar_->setValue(filled);
  if (isVisible())
    return;
  Place();
  show();
  raise();
}

// Across the middle of the list, or of the window when it has none.
void WorkOverlay::Place() {
  QWidget* over = window_.Client()->findChild<ListViewPeer*>();
  if (!over)
    over = window_.Client();
  QRect area(over->mapTo(&window_, QPoint(0, 0)), over->size());
  int width = std::min(kWidest, std::max(0, area.width() - 2 * kMargin));
  int height = sizeHint().height();
  setGeometry(area.x() + (area.width() - width) / 2, area.y() + (area.height() - height) / 2, width,
              height);
}
