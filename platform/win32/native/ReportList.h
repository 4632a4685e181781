// A report-style list view that stores no items: it knows only their count, and asks its source
// for each cell's text when it draws it. At most one item is selected.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win32/native/DialogWindow.h"
#include "platform/win32/native/ListSource.h"
#include "platform/win32/native/ListTips.h"
#include "platform/win32/native/NativeTypes.h"
#include "platform/win32/native/NotifyTarget.h"

namespace native {

class ReportList : public NotifyTarget {
 public:
  ReportList() = default;
  ~ReportList() override;
  ReportList(const ReportList&) = delete;
  ReportList& operator=(const ReportList&) = delete;

  // Takes over the dialog's list control `id`, which must have been made virtual.
  bool Attach(DialogWindow& dialog, int id, ListSource* source);
  void Detach();
  Handle Window() const { return list_; }

  void SetItemCount(int count);
  int ItemCount() const;
  // Texts changed (a sort): draw again what shows.
  void Refresh();
  void SetRedraw(bool on);

  // A negative width leaves the width to the control. Titles are UTF-16.
  bool InsertColumn(int index, const std::u16string& title, int width);
  bool DeleteColumn(int index);
  // A new title and width for a column that exists.
  bool SetColumn(int index, const std::u16string& title, int width);
  bool SetColumnWidth(int index, int width);
  int ColumnWidth(int index) const;
  int ColumnCount() const;
  // Width in pixels of a UTF-16 text in the list's font.
  int TextWidth(const std::u16string& text) const;

  // The arrow in a column's title: +1 up (ascending), -1 down (descending), 0 none; the other
  // titles lose theirs.
  void SetSortArrow(int column, int direction);

  uint32_t ExtendedStyle() const;
  void SetExtendedStyle(uint32_t style);

  int Selected() const;
  // Selects and focuses the item; -1 clears the selection. The source hears of no change made
  // here.
  bool Select(int index);
  bool EnsureVisible(int index, bool partialOk);

  bool OnNotify(intptr_t header, intptr_t* result) override;

 private:
  intptr_t Send(unsigned message, uintptr_t wParam = 0, intptr_t lParam = 0) const;
  void SupplyText(intptr_t item, bool wide);

  DialogWindow* dialog_ = nullptr;
  int id_ = 0;
  Handle list_ = nullptr;
  ListSource* source_ = nullptr;
  ListTips tips_;
  bool selecting_ = false;
};

}  // namespace native
