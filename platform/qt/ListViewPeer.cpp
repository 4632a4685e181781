#include "platform/qt/ListViewPeer.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>
#include <algorithm>

#include "platform/ListCtrl.h"
#include "platform/qt/CellTips.h"
#include "platform/qt/ListModel.h"
#include "platform/qt/RowTableView.h"
#include "platform/qt/TopWindow.h"
#include "platform/qt/VirtualKey.h"

ListViewPeer::ListViewPeer(CListCtrl& list, TopWindow& window, QWidget* parent)
    : QFrame(parent), ControlPeer(list, window), list_(list) {
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  model_ = new ListModel(list, this);
  view_ = new RowTableView(*this, this);
  // The model is set after the fixed row height, so that no row is ever measured.
  view_->setModel(model_);
  new CellTips(list, *model_, *view_);
  scrollBar_ = new QScrollBar(Qt::Vertical, this);
  scrollBar_->setRange(0, 0);
  scrollBar_->hide();
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(view_);
  layout->addWidget(scrollBar_);
  setFocusProxy(view_);

  connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int value) {
    if (!updating_)
      ScrollTo(value);
  });
  connect(view_->horizontalHeader(), &QHeaderView::sectionClicked, this,
          [this](int column) { window_.Feed(list_.TitleClickMessage(column)); });
}

void ListViewPeer::ListChanged(ListChange what) {
  if (what == ListChange::Columns) {
    // The program may change the columns one at a time, as closing a file deletes them, and each
    // change would lay out the whole header again: the changes are shown together, once the
    // program waits again, or as soon as the rows change too.
    if (!columnsPending_) {
      columnsPending_ = true;
      QTimer::singleShot(0, this, [this] {
        if (columnsPending_)
          ColumnsChanged();
      });
    }
    return;
  }
  if (columnsPending_)
    ColumnsChanged();
  switch (what) {
    case ListChange::Items:
      ItemsChanged();
      break;
    case ListChange::Selection:
      SelectionChanged();
      break;
    case ListChange::Reveal:
      Reveal(list_.RevealedItem());
      break;
    case ListChange::SortArrow:
      ShowSortArrow();
      break;
    case ListChange::Columns:
      break;
  }
}

void ListViewPeer::WorkChanged(bool running) {
  model_->Freeze(running);
  if (!running)
    UpdatePage();
}

void ListViewPeer::Sync() {
  ColumnsChanged();
}

void ListViewPeer::ColumnsChanged() {
  columnsPending_ = false;
  model_->Reset(top_, 0);
  ApplyColumnWidths();
  ShowSortArrow();
  UpdatePage();
}

// Qt's header names the order that its arrow stands for the other way round from the window
// system's: the up arrow, which shows ascending order there, is Qt's descending indicator.
namespace {
constexpr Qt::SortOrder kUpArrow = Qt::DescendingOrder;
constexpr Qt::SortOrder kDownArrow = Qt::AscendingOrder;
}  // namespace

void ListViewPeer::ShowSortArrow() {
  QHeaderView* header = view_->horizontalHeader();
  int column = list_.SortArrowColumn();
  header->setSortIndicatorShown(column >= 0);
  header->setSortIndicator(column, list_.SortArrow() == HDF_SORTUP ? kUpArrow : kDownArrow);
}

int ListViewPeer::ShownSortArrow(int* arrow) const {
  const QHeaderView* header = view_->horizontalHeader();
  int column = header->sortIndicatorSection();
  if (!header->isSortIndicatorShown() || column < 0 || column >= header->count())
    return -1;
  *arrow = header->sortIndicatorOrder() == kUpArrow ? HDF_SORTUP : HDF_SORTDOWN;
  return column;
}

void ListViewPeer::ApplyColumnWidths() {
  QHeaderView* header = view_->horizontalHeader();
  int count = std::min(list_.GetColumnCount(), model_->columnCount());
  // A header that is drawn finds the place of every section it resizes, which walks all the
  // sections before it: with its drawing off, a file of many columns is sized in one pass.
  header->setUpdatesEnabled(false);
  for (int k = 0; k < count; ++k)
    header->resizeSection(k, list_.GetColumnWidth(k));
  header->setUpdatesEnabled(true);
}

void ListViewPeer::ItemsChanged() {
  UpdatePage();
}

void ListViewPeer::UpdatePage() {
  int count = list_.GetItemCount();
  int whole = view_->FullyVisibleRows();
  int lastTop = std::max(0, count - whole);
  top_ = std::clamp(top_, 0, lastTop);
  // One more row than fit whole: the partly shown row at the bottom.
  int rows = static_cast<int>(std::min<long long>(count, static_cast<long long>(whole) + 1));
  updating_ = true;
  model_->ShowPage(top_, rows);
  scrollBar_->setRange(0, lastTop);
  scrollBar_->setPageStep(whole);
  scrollBar_->setSingleStep(1);
  scrollBar_->setValue(top_);
  scrollBar_->setVisible(lastTop > 0);
  updating_ = false;
  SelectionChanged();
}

void ListViewPeer::SelectionChanged() {
  QItemSelectionModel* selection = view_->selectionModel();
  if (!selection)
    return;
  // Both marks are held by the list as plain indexes: nothing here walks the items.
  int selectedRow = model_->RowOf(list_.GetNextItem(-1, LVNI_SELECTED));
  int focusedRow = model_->RowOf(list_.GetNextItem(-1, LVNI_FOCUSED));
  if (selectedRow >= 0) {
    selection->select(model_->index(selectedRow, 0),
                      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  } else {
    selection->clearSelection();
  }
  selection->setCurrentIndex(focusedRow >= 0 ? model_->index(focusedRow, 0) : QModelIndex(),
                             QItemSelectionModel::NoUpdate);
}

void ListViewPeer::Reveal(int item) {
  if (item < 0 || item >= list_.GetItemCount())
    return;
  int whole = view_->FullyVisibleRows();
  int top = top_;
  if (item < top) {
    top = item;
  } else if (item >= top + whole) {
    top = item - whole + 1;
  }
  ScrollTo(top);
}

void ListViewPeer::ScrollTo(int top) {
  if (top == top_)
    return;
  top_ = top;
  UpdatePage();
}

void ListViewPeer::ViewResized() {
  UpdatePage();
}

void ListViewPeer::Feed(UINT message, WPARAM wParam, LPARAM lParam) {
  window_.Feed(MSG{&list_, message, wParam, lParam});
}

void ListViewPeer::UserClickRow(int row) {
  Feed(WM_LBUTTONDOWN, 0, model_->ItemAt(row));
}

void ListViewPeer::UserDoubleClickRow(int row) {
  Feed(WM_LBUTTONDBLCLK, 0, model_->ItemAt(row));
}

void ListViewPeer::UserRightClickRow(int row, const QPoint& where) {
  Feed(WM_RBUTTONDOWN, 0, model_->ItemAt(row));
  Feed(WM_CONTEXTMENU, reinterpret_cast<WPARAM>(&list_),
       MAKELPARAM(static_cast<WORD>(where.x()), static_cast<WORD>(where.y())));
}

void ListViewPeer::UserWheel(QWheelEvent* event) {
  QCoreApplication::sendEvent(scrollBar_, event);
}

void ListViewPeer::UserKey(QKeyEvent* event) {
  UINT key = VirtualKey::FromQtKey(event->key());
  if (key == 0) {
    event->ignore();
    return;
  }
  event->accept();
  MSG msg = VirtualKey::KeyDown(&list_, key, event->modifiers());
  // Every key passes the program's message loop first: that is where accelerators, Enter and
  // Escape are taken. What the list itself does with the key comes after.
  window_.FeedKeyDown(msg);
  if (!msg.ctrl && !msg.alt && window_.Accepting())
    Navigate(key);
}

void ListViewPeer::Navigate(UINT key) {
  if (key == VirtualKey::kLeft || key == VirtualKey::kRight) {
    view_->horizontalScrollBar()->triggerAction(key == VirtualKey::kLeft
                                                    ? QAbstractSlider::SliderSingleStepSub
                                                    : QAbstractSlider::SliderSingleStepAdd);
    return;
  }
  int count = list_.GetItemCount();
  if (count == 0)
    return;
  int from = list_.GetNextItem(-1, LVNI_FOCUSED);
  if (from < 0)
    from = list_.GetNextItem(-1, LVNI_SELECTED);
  int whole = view_->FullyVisibleRows();
  int lastShown = std::min(count - 1, top_ + whole - 1);
  int to;
  switch (key) {
    case VirtualKey::kUp:
      to = from < 0 ? 0 : std::max(0, from - 1);
      break;
    case VirtualKey::kDown:
      to = from < 0 ? 0 : std::min(count - 1, from + 1);
      break;
    case VirtualKey::kHome:
      to = 0;
      break;
    case VirtualKey::kEnd:
      to = count - 1;
      break;
    case VirtualKey::kPrior:
      // First to the top of the page, then a page further.
      to = (from > top_) ? top_ : std::max(0, (from < 0 ? top_ : from) - (whole - 1));
      break;
    case VirtualKey::kNext:
      to = (from >= 0 && from < lastShown)
               ? lastShown
               : std::min(count - 1, (from < 0 ? top_ : from) + (whole - 1));
      break;
    default:
      return;
  }
  // Moving with the keys selects the same way a click does.
  Feed(WM_LBUTTONDOWN, 0, to);
  if (window_.Accepting())
    Reveal(to);
}
