// The tool tips of a list: a cell or a column title too narrow for its text shows the whole text
// when the pointer rests on it, decoded as the list decodes it.
#pragma once

#include <QObject>

class CListCtrl;
class ListModel;
class RowTableView;

class CellTips : public QObject {
 public:
  CellTips(CListCtrl& list, ListModel& model, RowTableView& view);

  // The tip's text for a cell or a title of the list (plain text), or an empty text where the
  // whole text shows.
  QString CellTip(int row, int column) const;
  QString TitleTip(int column) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  CListCtrl& list_;
  ListModel& model_;
  RowTableView& view_;
};
