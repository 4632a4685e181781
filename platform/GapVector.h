// A sequence whose inserts and erases near the last one are cheap: a walk that erases as it goes
// moves each element once, instead of once per erase. Elements live in one buffer with a gap; the
// gap moves to wherever the next change happens.
#pragma once

#include <algorithm>
#include <cstddef>
#include <span>
#include <vector>

template <class T>
class GapVector {
 public:
  size_t size() const { return buffer_.size() - GapLength(); }
  bool empty() const { return size() == 0; }

  const T& operator[](size_t i) const { return buffer_[i < gapStart_ ? i : i + GapLength()]; }
  T& operator[](size_t i) { return buffer_[i < gapStart_ ? i : i + GapLength()]; }

  void clear() {
    buffer_.clear();
    buffer_.shrink_to_fit();
    gapStart_ = gapEnd_ = 0;
  }

  void insert(size_t i, const T& value) {
    if (GapLength() == 0)
      Grow();
    MoveGapTo(i);
    buffer_[gapStart_++] = value;
  }

  void push_back(const T& value) { insert(size(), value); }

  // Room for `count` elements in all, so that inserting up to that many allocates nothing more.
  void reserve(size_t count) {
    if (count > buffer_.size())
      Grow(count);
  }

  void erase(size_t i) {
    MoveGapTo(i);
    ++gapEnd_;
  }

  // All elements, contiguous and in order (the gap moves to the end).
  std::span<T> Contiguous() {
    MoveGapTo(size());
    return std::span<T>(buffer_.data(), gapStart_);
  }

 private:
  size_t GapLength() const { return gapEnd_ - gapStart_; }

  void MoveGapTo(size_t i) {
    if (i < gapStart_) {
      size_t count = gapStart_ - i;
      std::move_backward(buffer_.begin() + static_cast<std::ptrdiff_t>(i),
                         buffer_.begin() + static_cast<std::ptrdiff_t>(gapStart_),
                         buffer_.begin() + static_cast<std::ptrdiff_t>(gapEnd_));
      gapStart_ -= count;
      gapEnd_ -= count;
    } else if (i > gapStart_) {
      size_t count = i - gapStart_;
      std::move(buffer_.begin() + static_cast<std::ptrdiff_t>(gapEnd_),
                buffer_.begin() + static_cast<std::ptrdiff_t>(gapEnd_ + count),
                buffer_.begin() + static_cast<std::ptrdiff_t>(gapStart_));
      gapStart_ += count;
      gapEnd_ += count;
    }
  }

  void Grow(size_t atLeast = 0) {
    size_t used = size();
    size_t capacity = std::max<size_t>({16, used * 2, atLeast});
    std::vector<T> grown(capacity);
    MoveGapTo(used);
    std::move(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(used), grown.begin());
    buffer_.swap(grown);
    gapStart_ = used;
    gapEnd_ = capacity;
  }

  std::vector<T> buffer_;
  size_t gapStart_ = 0;
  size_t gapEnd_ = 0;
};
