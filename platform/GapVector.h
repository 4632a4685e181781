// A sequence whose inserts and erases near the last one are cheap: a walk that erases as it goes
// moves each element once, instead of once per erase. Elements live in one buffer with a gap; the
// gap moves to wherever the next change happens.
//
// Growing can fail, where the address space is small (a 32-bit process) or used up: then the
// sequence stays as it was and the call says so, rather than ending the program.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <limits>
#include <span>
#include <type_traits>
#include <utility>

template <class T>
class GapVector {
  static_assert(std::is_trivially_copyable_v<T>, "elements are moved as bytes");

 public:
  GapVector() = default;
  ~GapVector() { std::free(buffer_); }
  GapVector(const GapVector&) = delete;
  GapVector& operator=(const GapVector&) = delete;

  size_t size() const { return capacity_ - GapLength(); }
  bool empty() const { return size() == 0; }

  const T& operator[](size_t i) const { return buffer_[i < gapStart_ ? i : i + GapLength()]; }
  T& operator[](size_t i) { return buffer_[i < gapStart_ ? i : i + GapLength()]; }

  void Swap(GapVector& other) {
    std::swap(buffer_, other.buffer_);
    std::swap(capacity_, other.capacity_);
    std::swap(gapStart_, other.gapStart_);
    std::swap(gapEnd_, other.gapEnd_);
  }

  void clear() {
    std::free(buffer_);
    buffer_ = nullptr;
    capacity_ = gapStart_ = gapEnd_ = 0;
  }

  // False, with nothing changed, when there is no memory for one more element.
  bool insert(size_t i, const T& value) {
    if (GapLength() == 0 && !Grow(size() + 1))
      return false;
    MoveGapTo(i);
    buffer_[gapStart_++] = value;
    return true;
  }

  bool push_back(const T& value) { return insert(size(), value); }

  // Room for `count` elements in all, so that inserting up to that many allocates nothing more;
  // false, with nothing changed, when there is no memory for them.
  bool reserve(size_t count) { return count <= capacity_ || Grow(count); }

  // `count` new elements at the end, for the caller to fill in; empty, with nothing changed, when
  // there is no memory for them.
  std::span<T> Append(size_t count) {
    if (GapLength() < count && !Grow(size() + count))
      return {};
    MoveGapTo(size());
    gapStart_ += count;
    return std::span<T>(buffer_ + gapStart_ - count, count);
  }

  void erase(size_t i) {
    MoveGapTo(i);
    ++gapEnd_;
  }

  // Erases, in one pass, every element i for which keep(i) is false; the rest keep their order.
  template <class Keep>
  void EraseUnless(Keep&& keep) {
    std::span<T> all = Contiguous();
    size_t kept = 0;
    for (size_t i = 0; i < all.size(); ++i) {
      if (keep(i))
        all[kept++] = all[i];
    }
    gapStart_ = kept;
  }

  // All elements, contiguous and in order (the gap moves to the end).
  std::span<T> Contiguous() {
    MoveGapTo(size());
    return std::span<T>(buffer_, gapStart_);
  }

 private:
  size_t GapLength() const { return gapEnd_ - gapStart_; }

  void MoveGapTo(size_t i) {
    if (i < gapStart_) {
      size_t count = gapStart_ - i;
      std::move_backward(buffer_ + i, buffer_ + gapStart_, buffer_ + gapEnd_);
      gapStart_ -= count;
      gapEnd_ -= count;
    } else if (i > gapStart_) {
      size_t count = i - gapStart_;
      std::move(buffer_ + gapEnd_, buffer_ + gapEnd_ + count, buffer_ + gapStart_);
      gapStart_ += count;
      gapEnd_ += count;
    }
  }

  // Doubles the room where it can, else takes just what is needed.
  bool Grow(size_t needed) {
    size_t used = size();
    size_t doubled = used > kMaxCount / 2 ? kMaxCount : used * 2;
    return Reallocate(std::max<size_t>({16, doubled, needed})) || Reallocate(needed);
  }

  bool Reallocate(size_t capacity) {
    if (capacity > kMaxCount || capacity <= capacity_)
      return false;
    size_t used = size();
    MoveGapTo(used);
    T* grown = static_cast<T*>(std::realloc(buffer_, capacity * sizeof(T)));
    if (!grown)
      return false;
    buffer_ = grown;
    capacity_ = capacity;
    gapStart_ = used;
    gapEnd_ = capacity;
    return true;
  }

  static constexpr size_t kMaxCount = std::numeric_limits<size_t>::max() / sizeof(T);

  T* buffer_ = nullptr;
  size_t capacity_ = 0;
  size_t gapStart_ = 0;
  size_t gapEnd_ = 0;
};
