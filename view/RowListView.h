// The list of shown rows. Items hold row references only; every cell's text comes from the
// table's buffer when the list asks for it.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "platform/ListCtrl.h"
#include "view/WidthScan.h"

class FieldPrefixes;
class TableFile;

// The parameter of one sort.
struct SortParams {
  int32_t column;
  int32_t ascending;  // non-zero: ascending
  const TableFile* table;
  FieldPrefixes* prefixes;  // where the sorted fields' first bytes go; none when null
};

class RowListView : public CListCtrl {
 public:
  RowListView();
  ~RowListView() override;

  // The table whose rows the items refer to; null while none is loaded.
  void SetTable(const TableFile* table) {
    table_ = table;
    widthScan_.Forget();
  }
  // What a load of the table hands its bytes to as it counts the rows, so that the first fit of
  // the widths after it, over every data row in file order, needs no walk of its own.
  RowScan* LoadScan() { return &widthScan_; }
  const TableFile* Table() const { return table_; }

  void SelectAndReveal(int index);
  // Given `prefixes`, the sort leaves there the sorted fields' first sixteen bytes.
  BOOL SortByColumn(int32_t column, int32_t ascending, FieldPrefixes* prefixes = nullptr);

  // The text that GetItemText gives for an item holding `row`, in column k; safe to call from
  // several threads at once, unlike GetItemText.
  std::string_view CellText(LPARAM row, int32_t k) const;
  // The bytes that cells' texts lie in.
  std::span<const char> TextBytes() const;

  // The comparison of two rows by one field, in unsigned byte order.
  static int CompareRows(LPARAM first, LPARAM second, LPARAM sortValue);

  // The column-title click state, kept for the whole run.
  int32_t lastSortColumn = 0;
  bool nextAscending = true;

 protected:
  // Walks each row once, on every core, rather than asking for each cell.
  void CollectLongestTexts(LongestTexts& longest) override;

  void OnGetDispInfo(NMHDR* notification, LRESULT* result);
  void OnColumnClick(NMHDR* notification, LRESULT* result);

  DECLARE_MESSAGE_MAP()

 private:
  // Orders the items as CompareRows would, by keys rather than one comparison at a time.
  static void SortRows(int32_t* items, size_t count, LPARAM sortValue);

  const TableFile* table_ = nullptr;
  WidthScan widthScan_;
};
