// The rows of a list control as a Qt model. The model holds one page: the rows that fit the
// view, starting at the item scrolled to the top. Nothing in it grows with the number of items,
// so a list of a hundred million rows costs the view no memory and never exceeds the pixel range
// of Qt's headers; the list control scrolls by whole items, as the window system's list does.
#pragma once

#include <QAbstractTableModel>

class CListCtrl;

class ListModel : public QAbstractTableModel {
 public:
  ListModel(CListCtrl& list, QObject* parent);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // The item that a page row shows, or -1 for a row past the last item.
  int ItemAt(int row) const;
  // The page row that shows an item, or -1 when the item is not on the page.
  int RowOf(int item) const;

  // The columns changed: the views read everything again.
  void Reset(int top, int pageRows);
  // The page now shows `pageRows` rows from item `top`; the texts on it are read again.
  void ShowPage(int top, int pageRows);
  // While frozen the model reads no item: long work may be changing them on other threads.
  void Freeze(bool frozen) { frozen_ = frozen; }

 private:
  CListCtrl& list_;
  int top_ = 0;
  int rows_ = 0;
  int columns_ = 0;
  bool frozen_ = false;
};
