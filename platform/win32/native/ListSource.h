// What a virtual report list asks of its owner: texts, and the user's clicks.
#pragma once

#include <string_view>

namespace native {

class ListSource {
 public:
  virtual ~ListSource() = default;
  // The characters of a cell, as UTF-16; they need to stay valid only until the next call.
  virtual std::u16string_view ItemText(int item, int column) = 0;
  virtual void ColumnClicked(int /*column*/) {}
  // The user selected an item, or cleared the selection (-1).
  virtual void ItemSelected(int /*item*/) {}
  // A key reached the list (LVN_KEYDOWN), with the modifiers down as it did.
  virtual void KeyDown(unsigned /*key*/, bool /*ctrl*/, bool /*shift*/, bool /*alt*/) {}
  // A double-click on an item, or below the last one (-1).
  virtual void DoubleClicked(int /*item*/) {}
};

}  // namespace native
