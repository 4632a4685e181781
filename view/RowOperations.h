// The operations on the listed rows, over the list and the table it shows. Each takes the steps of
// its command in their order; asking the user, titles and messages belong to the window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class RowListView;
class TableFile;

// Whether the table has a column with this index. A remembered choice from a wider file, or no
// choice at all, names a column that the table lacks.
bool IsColumnOf(const TableFile& table, int32_t column);

// Fills the empty list with every data row of the table, in file order. False when the list has
// no memory for them all; it then holds those it took.
bool ListAllRows(RowListView& list, const TableFile& table);

// Pick: deletes every listed item whose field `column` matches none of the match's `forms`
// (TextMatcher).
void KeepMatchingRows(RowListView& list, int32_t column, const std::vector<std::string>& forms,
                      bool exact);

// Find: selects and reveals the next item below the selection whose field `column` matches one of
// `forms`; false when there is none before the end of the list.
bool SelectNextMatch(RowListView& list, int32_t column, const std::vector<std::string>& forms,
                     bool exact);

// Duplicates: sorts the items by field `column`, then deletes every item whose field equals,
// ignoring case, neither the next item's nor the last kept item's.
void KeepDuplicateRows(RowListView& list, int32_t column);
