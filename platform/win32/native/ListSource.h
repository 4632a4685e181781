// What a virtual report list asks of its owner: texts, and the user's clicks.
#pragma once

#include <string_view>

namespace native {

class ListSource {
 public:
  virtual ~ListSource() = default;
  // The text of a cell; it needs to stay valid only until the next call.
  virtual std::string_view ItemText(int item, int column) = 0;
  virtual void ColumnClicked(int /*column*/) {}
  // The user selected an item, or cleared the selection (-1).
  virtual void ItemSelected(int /*item*/) {}
};

}  // namespace native
