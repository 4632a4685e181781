// A sequence whose inserts and erases near the last one are cheap: a walk that erases as it goes
// moves each element once, instead of once per erase. Elements live in one buffer with a gap; the
// gap moves to wherever the next change happens.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <span>

template <class T>
class GapVector {
 public:
  size_t size() const { return capacity_ - GapLength(); }
  bool empty() const { return size() == 0; }

  const T& operator[](size_t i) const { return buffer_[i < gapStart_ ? i : i + GapLength()]; }
  T& operator[](size_t i) { return buffer_[i < gapStart_ ? i : i + GapLength()]; }

  void clear() {
    buffer_.reset();
    capacity_ = gapStart_ = gapEnd_ = 0;
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
    if (count > capacity_)
      Grow(count);
  }

  // `count` new elements at the end, for the caller to fill in.
  std::span<T> Append(size_t count) {
    if (GapLength() < count)
      Grow(size() + count);
    MoveGapTo(size());
    gapStart_ += count;
    return std::span<T>(buffer_.get() + gapStart_ - count, count);
  }

  void erase(size_t i) {
    MoveGapTo(i);
    ++gapEnd_;
  }

  // Keeps the elements whose flag is set, in order, in one pass.
  template <class Keep>
  void EraseUnless(Keep&& keep) {
    std::span<T> all = Contiguous();
    size_t kept = 0;
    for (size_t i = 0; i < all.size(); ++i) {
      if (keep(i))
        all[kept++] = std::move(all[i]);
    }
    gapStart_ = kept;
  }

  // All elements, contiguous and in order (the gap moves to the end).
  std::span<T> Contiguous() {
    MoveGapTo(size());
    return std::span<T>(buffer_.get(), gapStart_);
  }

 private:
  size_t GapLength() const { return gapEnd_ - gapStart_; }

  void MoveGapTo(size_t i) {
    T* b = buffer_.get();
    if (i < gapStart_) {
      size_t count = gapStart_ - i;
      std::move_backward(b + i, b + gapStart_, b + gapEnd_);
      gapStart_ -= count;
      gapEnd_ -= count;
    } else if (i > gapStart_) {
      size_t count = i - gapStart_;
      std::move(b + gapEnd_, b + gapEnd_ + count, b + gapStart_);
      gapStart_ += count;
      gapEnd_ += count;
    }
  }

  void Grow(size_t atLeast = 0) {
    size_t used = size();
    size_t capacity = std::max<size_t>({16, used * 2, atLeast});
    // Elements are written before they are read, so the new buffer is left unfilled.
    auto grown = std::make_unique_for_overwrite<T[]>(capacity);
    MoveGapTo(used);
    std::move(buffer_.get(), buffer_.get() + used, grown.get());
    buffer_ = std::move(grown);
    capacity_ = capacity;
    gapStart_ = used;
    gapEnd_ = capacity;
  }

  std::unique_ptr<T[]> buffer_;
  size_t capacity_ = 0;
  size_t gapStart_ = 0;
  size_t gapEnd_ = 0;
};
