// Pick and Find for a match text that the user typed as characters, which a file may hold as
// more than one text of bytes: the same letters in UTF-8 and in Windows-1252, composed or not.
// A field matches when it matches any of the forms, each by the one match rule of Pick and Find.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class RowListView;

// Pick: deletes every listed item whose field `column` matches none of `forms`.
void KeepRowsMatchingAny(RowListView& list, int32_t column, const std::vector<std::string>& forms,
                         bool exact);

// Find: selects and reveals the next item below the selection whose field `column` matches one of
// `forms`; false when there is none before the end of the list.
bool SelectNextMatchingAny(RowListView& list, int32_t column, const std::vector<std::string>& forms,
                           bool exact);
