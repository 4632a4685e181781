#include "platform/qt/CellTips.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QToolTip>
#include <string_view>

#include "platform/ListCtrl.h"
#include "platform/WorkProgress.h"
#include "platform/qt/EightBitText.h"
#include "platform/qt/ListModel.h"
#include "platform/qt/RowTableView.h"

namespace {
// A tip shows at most this much of a text: enough to read a long field whole, and far more than a
// cell ever shows.
constexpr size_t kTipBytes = size_t{64} * 1024;

// Plain text that the tip window wraps, keeping its blanks: markup in a field stays text.
QString AsTip(const QString& text) {
  if (text.isEmpty())
    return text;
  return QStringLiteral("<p style='white-space:pre-wrap'>") + text.toHtmlEscaped() +
         QStringLiteral("</p>");
}
}  // namespace

CellTips::CellTips(CListCtrl& list, ListModel& model, RowTableView& view)
    : QObject(&view), list_(list), model_(model), view_(view) {
  view_.viewport()->installEventFilter(this);
  view_.horizontalHeader()->viewport()->installEventFilter(this);
}

QString CellTips::CellTip(int row, int column) const {
  int item = model_.ItemAt(row);
  if (item < 0 || column < 0 || column >= list_.GetColumnCount())
    return QString();
  std::string_view whole = list_.GetItemText(item, column);
  // The cell shows the first bytes only of a long text, and all of a short one as far as its
  // width goes.
  QModelIndex index = model_.index(row, column);
  bool cut = whole.size() > EightBitText::kShownBytes ||
             view_.sizeHintForIndex(index).width() > view_.columnWidth(column);
  return cut ? EightBitText::DecodeFirst(whole, kTipBytes) : QString();
}

QString CellTips::TitleTip(int column) const {
  const QHeaderView* header = view_.horizontalHeader();
  if (column < 0 || column >= list_.GetColumnCount() || column >= header->count())
    return QString();
  bool cut = header->sectionSizeHint(column) > header->sectionSize(column);
  return cut ? EightBitText::DecodeFirst(list_.GetColumnHeading(column), kTipBytes) : QString();
}

bool CellTips::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ToolTip)
    return QObject::eventFilter(watched, event);
  // Long work may be changing the items on other threads: no text is read until it ends.
  if (CWorkProgress::Running()) {
    event->ignore();
    return true;
  }
  auto* help = static_cast<QHelpEvent*>(event);
  QPoint at = help->pos();
  QString tip;
  QRect area;
  if (watched == view_.viewport()) {
    QModelIndex index = view_.indexAt(at);
    if (index.isValid()) {
      tip = CellTip(index.row(), index.column());
      area = view_.visualRect(index);
    }
  } else {
    const QHeaderView* header = view_.horizontalHeader();
    int column = header->logicalIndexAt(at);
    tip = TitleTip(column);
    area = QRect(header->sectionViewportPosition(column), 0, header->sectionSize(column),
                 header->height());
  }
  auto* widget = static_cast<QWidget*>(watched);
  if (tip.isEmpty()) {
    QToolTip::hideText();
    event->ignore();
  } else {
    QToolTip::showText(help->globalPos(), AsTip(tip), widget, area);
  }
  return true;
}
