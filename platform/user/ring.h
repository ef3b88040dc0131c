// A growable FIFO that can also push at the front and erase in the middle,
// keeping its storage between uses so steady-state queueing allocates nothing.
#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace qz::user {

template <class T>
class Ring {
 public:
  size_t Size() const { return count_; }
  bool Empty() const { return count_ == 0; }
  T& At(size_t i) { return slots_[(head_ + i) & mask_]; }
  T& Front() { return slots_[head_]; }

  void PushBack(const T& value) {
    Reserve();
    slots_[(head_ + count_) & mask_] = value;
    ++count_;
  }

  void PushFront(const T& value) {
    Reserve();
    head_ = (head_ + mask_) & mask_;
    slots_[head_] = value;
    ++count_;
  }

  void Erase(size_t i) {
    if (i == 0) {
      PopFront();
      return;
    }
    for (size_t k = i; k + 1 < count_; ++k) At(k) = At(k + 1);
    --count_;
  }

  void PopFront() {
    head_ = (head_ + 1) & mask_;
    --count_;
  }

  template <class Pred>
  void EraseIf(Pred pred) {
    size_t keep = 0;
    for (size_t k = 0; k < count_; ++k)
      if (!pred(At(k))) {
        if (keep != k) At(keep) = At(k);
        ++keep;
      }
    count_ = keep;
  }

  void Clear() {
    head_ = 0;
    count_ = 0;
  }

 private:
  // Capacity stays a power of two so that indices wrap with a mask; the
  // mask is kept rather than worked out from the vector's size, which
  // divides by the element size.
  void Reserve() {
    if (count_ < capacity_) return;
    Grow();
  }
  [[gnu::noinline]] void Grow() {
    std::vector<T> grown(slots_.empty() ? 16 : slots_.size() * 2);
    for (size_t k = 0; k < count_; ++k) grown[k] = std::move(At(k));
    slots_.swap(grown);
    capacity_ = slots_.size();
    mask_ = capacity_ - 1;
    head_ = 0;
  }

  std::vector<T> slots_;
  size_t capacity_ = 0;
  size_t mask_ = 0;
  size_t head_ = 0;
  size_t count_ = 0;
};

}  // namespace qz::user
