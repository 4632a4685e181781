#include "platform/qt/ListModel.h"

#include "platform/ListCtrl.h"
#include "platform/qt/EightBitText.h"

ListModel::ListModel(CListCtrl& list, QObject* parent) : QAbstractTableModel(parent), list_(list) {}

int ListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : rows_;
}

int ListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : columns_;
}

int ListModel::ItemAt(int row) const {
  if (row < 0 || row >= rows_)
    return -1;
  // The page never starts past the end, but it can reach past it by the partly shown last row.
  long long item = static_cast<long long>(top_) + row;
  return item < list_.GetItemCount() ? static_cast<int>(item) : -1;
}

int ListModel::RowOf(int item) const {
  if (item < top_ || item - top_ >= rows_)
    return -1;
  return ItemAt(item - top_) == item ? item - top_ : -1;
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || frozen_)
    return QVariant();
  int item = ItemAt(index.row());
  // Counts are read live: the platform may have changed them in a way the page has not caught
  // up with yet, and a cell that is gone is shown empty rather than read.
  if (item < 0 || index.column() >= list_.GetColumnCount())
    return QVariant();
  return EightBitText::DecodeShown(list_.GetItemText(item, index.column()));
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal)
    return QVariant();
  if (section < 0 || section >= list_.GetColumnCount())
    return QVariant();
  if (role == Qt::DisplayRole)
    return EightBitText::DecodeShown(list_.GetColumnHeading(section));
  if (role == Qt::TextAlignmentRole)
    return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
  return QVariant();
}

Qt::ItemFlags ListModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void ListModel::Reset(int top, int pageRows) {
  beginResetModel();
  columns_ = list_.GetColumnCount();
  top_ = top;
  rows_ = pageRows;
  endResetModel();
}

void ListModel::ShowPage(int top, int pageRows) {
  if (pageRows > rows_) {
    beginInsertRows(QModelIndex(), rows_, pageRows - 1);
    rows_ = pageRows;
    top_ = top;
    endInsertRows();
  } else if (pageRows < rows_) {
    beginRemoveRows(QModelIndex(), pageRows, rows_ - 1);
    rows_ = pageRows;
    top_ = top;
    endRemoveRows();
  }
  top_ = top;
  if (rows_ > 0 && columns_ > 0)
    emit dataChanged(index(0, 0), index(rows_ - 1, columns_ - 1), {Qt::DisplayRole});
}
