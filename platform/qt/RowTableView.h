// The table part of a list control. It draws the page that ListModel holds and hands every user
// action to its ListViewPeer instead of acting on it: the platform decides what is selected and
// where the list is scrolled.
#pragma once

#include <QTableView>

class ListViewPeer;

class RowTableView : public QTableView {
 public:
  RowTableView(ListViewPeer& control, QWidget* parent);

  // Height of one row in pixels; fixed, so that no row is ever measured.
  int RowHeight() const;
  // Rows that fit the view whole; at least one.
  int FullyVisibleRows() const;

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  bool viewportEvent(QEvent* event) override;

 private:
  ListViewPeer& control_;
};
