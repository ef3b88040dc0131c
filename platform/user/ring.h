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
  T& At(size_t i) { return slots_[(head_ + i) & (slots_.size() - 1)]; }

  void PushBack(const T& value) {
    Reserve();
    slots_[(head_ + count_) & (slots_.size() - 1)] = value;
    ++count_;
  }

  void PushFront(const T& value) {
    Reserve();
    head_ = (head_ + slots_.size() - 1) & (slots_.size() - 1);
    slots_[head_] = value;
    ++count_;
  }

  void Erase(size_t i) {
    for (size_t k = i; k + 1 < count_; ++k) At(k) = At(k + 1);
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
  // Capacity stays a power of two so that indices wrap with a mask.
  void Reserve() {
    if (count_ < slots_.size()) return;
    std::vector<T> grown(slots_.empty() ? 16 : slots_.size() * 2);
    for (size_t k = 0; k < count_; ++k) grown[k] = std::move(At(k));
    slots_.swap(grown);
    head_ = 0;
  }

  std::vector<T> slots_;
  size_t head_ = 0;
  size_t count_ = 0;
};

}  // namespace qz::user
