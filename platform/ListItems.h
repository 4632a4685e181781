// The data values of a list control's items. An item's data is a 32-bit value, as it is on the
// 32-bit system that the list stands in for. A list whose values run on one by one (every row in
// file order, as after a load) keeps only where the run starts and how long it is; any other list
// keeps one 32-bit value per item, in a gap buffer, made from the run when it first changes in
// another way. Ten million rows listed cost nothing, and 40 MB once sorted.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>
#include <vector>

#include "platform/GapVector.h"
#include "platform/Win32.h"

// Every item's data, in list order, to read (from several threads at once if need be) while the
// items do not change.
class ListItemView {
 public:
  ListItemView(const int32_t* stored, int32_t first, size_t count)
      : stored_(stored), first_(first), count_(count) {}

  size_t size() const { return count_; }
  bool empty() const { return count_ == 0; }
  LPARAM operator[](size_t i) const {
    return stored_ ? stored_[i] : static_cast<LPARAM>(first_) + static_cast<LPARAM>(i);
  }
  // Whether the items are the run first, first + 1, ...: then `Stored()` is null.
  const int32_t* Stored() const { return stored_; }
  int32_t First() const { return first_; }

  class Iterator {
   public:
    using iterator_category = std::input_iterator_tag;
    using value_type = LPARAM;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = LPARAM;
    Iterator(const ListItemView* view, size_t i) : view_(view), i_(i) {}
    LPARAM operator*() const { return (*view_)[i_]; }
    Iterator& operator++() {
      ++i_;
      return *this;
    }
    Iterator operator++(int) {
      Iterator before = *this;
      ++i_;
      return before;
    }
    bool operator==(const Iterator& other) const { return i_ == other.i_; }

   private:
    const ListItemView* view_;
    size_t i_;
  };
  Iterator begin() const { return Iterator(this, 0); }
  Iterator end() const { return Iterator(this, count_); }

 private:
  const int32_t* stored_;
  int32_t first_;
  size_t count_;
};

class ListItems {
 public:
  // A value outside 32 bits cannot be an item's data.
  static bool Fits(LPARAM value);

  size_t size() const { return run_ ? runCount_ : stored_.size(); }
  LPARAM operator[](size_t i) const {
    return run_ ? static_cast<LPARAM>(runFirst_) + static_cast<LPARAM>(i) : stored_[i];
  }

  // False, with nothing changed, when there is no memory for it or the value does not fit.
  bool insert(size_t i, LPARAM value);
  bool erase(size_t i);
  void clear();
  // Room for `count` values in all; false when there is none.
  bool reserve(size_t count);
  // Appends the values first, first + 1, ... first + count - 1; false, with nothing changed, when
  // they do not fit or there is no memory for them.
  bool AppendRun(LPARAM first, size_t count);
  // Erases, in one pass, every item i for which keep(i) is false; false, with nothing changed,
  // when there is no memory for the kept items.
  bool Keep(const std::vector<uint8_t>& keep);

  // Every value, stored one by one; empty when there is no memory for them.
  std::span<int32_t> Stored();
  ListItemView View();

 private:
  bool Store();

  bool run_ = true;
  int32_t runFirst_ = 0;
  size_t runCount_ = 0;
  GapVector<int32_t> stored_;
};
