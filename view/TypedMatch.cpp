#include "view/TypedMatch.h"

#include <algorithm>
#include <span>

#include "table/Workers.h"
#include "view/RowListView.h"
#include "view/RowOperations.h"
#include "view/TextMatcher.h"

namespace {
// Rows one thread takes at a time.
constexpr size_t kRowGrain = size_t{1} << 14;

// The row operations' match rule, once for each form.
std::vector<TextMatcher> Matchers(const std::vector<std::string>& forms, bool exact,
                                  std::span<const char> readable) {
  std::vector<TextMatcher> matchers;
  for (const std::string& form : forms)
    matchers.emplace_back(form, exact, readable);
  return matchers;
}

bool MatchesAny(const std::vector<TextMatcher>& matchers, std::string_view text) {
  return std::any_of(matchers.begin(), matchers.end(),
                     [text](const TextMatcher& m) { return m.Matches(text); });
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
  ListItemView rows = list.ItemData();
  std::vector<uint8_t> keep(rows.size());
  const std::vector<TextMatcher> matchers = Matchers(forms, exact, list.TextBytes());
  Workers::ForRange(rows.size(), kRowGrain, [&](size_t begin, size_t end) {
    for (size_t i = begin; i < end; ++i)
      keep[i] = MatchesAny(matchers, list.CellText(rows[i], column));
  });
  list.KeepItems(keep);
}

bool SelectNextMatchingAny(RowListView& list, int32_t column, const std::vector<std::string>& forms,
                           bool exact) {
  if (forms.size() == 1)
    return SelectNextMatch(list, column, forms[0].c_str(), exact);
  int count = list.GetItemCount();
  int selected = list.GetNextItem(-1, LVNI_SELECTED);
  int start = (selected < 0 || selected >= count) ? 0 : selected + 1;
  ListItemView rows = list.ItemData();
  const std::vector<TextMatcher> matchers = Matchers(forms, exact, list.TextBytes());
  for (int i = start; i < count; ++i) {
    if (MatchesAny(matchers, list.CellText(rows[static_cast<size_t>(i)], column))) {
      list.SelectAndReveal(i);
      return true;
    }
  }
  return false;
}
