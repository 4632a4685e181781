// Sorting rows by one field, in unsigned byte order, fast enough for tens of millions of rows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <utility>

class TableFile;

// The first 24 bytes of each sorted row's field, by row number, as a sort took them: three
// big-endian words, zero past the text's end. A walk over the sorted rows compares these before it
// reads a field, which it then needs only for the rare rows whose 24 bytes tie.
class FieldPrefixes {
 public:
  static constexpr size_t kWords = 3;

  bool empty() const { return !words_; }
  // Word w (0, 1 or 2) of a row's field.
  uint64_t Word(int32_t row, size_t w) const {
    return words_[kWords * static_cast<size_t>(row) + w];
  }
  const void* Address(int32_t row) const { return &words_[kWords * static_cast<size_t>(row)]; }

  struct Free {
    void operator()(uint64_t* words) const { std::free(words); }
  };
  void Take(std::unique_ptr<uint64_t[], Free> words) { words_ = std::move(words); }

 private:
  std::unique_ptr<uint64_t[], Free> words_;
};

// Reorders `rows` (row numbers of `table`) by their field `column`: ascending, or descending when
// asked. Rows whose fields are equal may end in any order. Sorting contiguous keys, eight bytes of
// the field at a time, touches far less memory than a comparison that chases two rows. Given
// `prefixes`, it leaves there the sorted fields' first 24 bytes, when it had room for them.
void SortRowsByField(int32_t* rows, size_t count, const TableFile& table, int32_t column,
                     bool descending, FieldPrefixes* prefixes = nullptr);
