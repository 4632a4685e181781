#include "view/TypedMatch.h"

#include "view/RowListView.h"
#include "view/RowOperations.h"
#include "view/TextFold.h"

namespace {
bool MatchesAny(const char* text, const std::vector<std::string>& forms, bool exact) {
  for (const std::string& form : forms) {
    bool hit = exact ? CompareIgnoringCase(text, form.c_str()) == 0
                     : ContainsIgnoringCase(text, form.c_str());
    if (hit)
      return true;
  }
  return false;
}
}  // namespace

// A text of one form, as every text from a script or typed in ASCII is, takes the row
// operations' own path.
void KeepRowsMatchingAny(RowListView& list, int32_t column, const std::vector<std::string>& forms,
                         bool exact) {
  if (forms.size() == 1) {
    KeepMatchingRows(list, column, forms[0].c_str(), exact);
    return;
  }
  for (int i = 0; i < list.GetItemCount();) {
    if (MatchesAny(list.GetItemText(i, column), forms, exact)) {
      ++i;
    } else {
      list.DeleteItem(i);
    }
  }
}

bool SelectNextMatchingAny(RowListView& list, int32_t column, const std::vector<std::string>& forms,
                           bool exact) {
  if (forms.size() == 1)
    return SelectNextMatch(list, column, forms[0].c_str(), exact);
  int count = list.GetItemCount();
  int selected = list.GetNextItem(-1, LVNI_SELECTED);
  int start = (selected < 0 || selected >= count) ? 0 : selected + 1;
  for (int i = start; i < count; ++i) {
    if (MatchesAny(list.GetItemText(i, column), forms, exact)) {
      list.SelectAndReveal(i);
      return true;
    }
  }
  return false;
}
