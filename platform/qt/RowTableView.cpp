#include "platform/qt/RowTableView.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "platform/qt/ListViewPeer.h"

RowTableView::RowTableView(ListViewPeer& control, QWidget* parent)
    : QTableView(parent), control_(control) {
  setFrameShape(QFrame::NoFrame);
  setShowGrid(false);
  setWordWrap(false);
  setCornerButtonEnabled(false);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setTabKeyNavigation(false);
  setAutoScroll(false);
  setDragEnabled(false);
  setSortingEnabled(false);
  // The right button and the menu key go to the program, which shows its own menu.
  setContextMenuPolicy(Qt::PreventContextMenu);
  setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  // The list control's own scroll bar moves through the items; the view only ever shows one
  // page, so its own vertical bar has nothing to do.
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

  QHeaderView* rows = verticalHeader();
  rows->hide();
  rows->setSectionResizeMode(QHeaderView::Fixed);
  rows->setMinimumSectionSize(1);
  rows->setDefaultSectionSize(fontMetrics().height() + 6);

  QHeaderView* titles = horizontalHeader();
  titles->setSectionsClickable(true);
  titles->setSectionsMovable(false);
  titles->setHighlightSections(false);
  titles->setSortIndicatorShown(false);
  titles->setStretchLastSection(false);
  titles->setMinimumSectionSize(0);
  titles->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  titles->setSectionResizeMode(QHeaderView::Interactive);

  // Nothing may scroll the page inside the view: the page starts at its first row.
  connect(QTableView::verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
    if (value != 0)
      QTableView::verticalScrollBar()->setValue(0);
  });
}

int RowTableView::RowHeight() const {
  return std::max(1, verticalHeader()->defaultSectionSize());
}

int RowTableView::FullyVisibleRows() const {
  return std::max(1, viewport()->height() / RowHeight());
}

// Qt makes the first cell current when a view without a current cell gets the focus; the list
// shows the focus where the platform has it, which may be nowhere.
void RowTableView::focusInEvent(QFocusEvent* event) {
  QTableView::focusInEvent(event);
  control_.ListChanged(ListChange::Selection);
}

void RowTableView::keyPressEvent(QKeyEvent* event) {
  control_.UserKey(event);
}

void RowTableView::mousePressEvent(QMouseEvent* event) {
  setFocus(Qt::MouseFocusReason);
  event->accept();
  int row = rowAt(event->position().toPoint().y());
  if (event->button() == Qt::LeftButton)
    control_.UserClickRow(row);
  else if (event->button() == Qt::RightButton)
    control_.UserRightClickRow(row, event->globalPosition().toPoint());
}

void RowTableView::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    mousePressEvent(event);
    return;
  }
  setFocus(Qt::MouseFocusReason);
  event->accept();
  control_.UserDoubleClickRow(rowAt(event->position().toPoint().y()));
}

// Dragging across rows selects nothing: the list holds one selected item, set by clicks.
void RowTableView::mouseMoveEvent(QMouseEvent* event) {
  event->accept();
}

void RowTableView::mouseReleaseEvent(QMouseEvent* event) {
  event->accept();
}

void RowTableView::wheelEvent(QWheelEvent* event) {
  if (event->angleDelta().y() != 0 && !(event->modifiers() & Qt::AltModifier)) {
    control_.UserWheel(event);
    return;
  }
  QTableView::wheelEvent(event);
}

bool RowTableView::viewportEvent(QEvent* event) {
  bool handled = QTableView::viewportEvent(event);
  if (event->type() == QEvent::Resize)
    control_.ViewResized();
  return handled;
}
