// A set of pixels as disjoint rectangles: update regions and clip areas.
#pragma once

#include <cstdint>
#include <span>

#include "../windef.h"

namespace qz {

bool IsEmptyRect(const RECT& r);
RECT IntersectRects(const RECT& a, const RECT& b);
RECT UnionRects(const RECT& a, const RECT& b);

// Most regions are one rectangle, or a few once a sibling or a child is cut
// out of them: those live inside the object, so making, copying and moving a
// paint clip or an update region does not touch the heap.
class Region {
 public:
  Region() = default;
  explicit Region(const RECT& r);
  Region(const Region& other);
  Region(Region&& other) noexcept;
  Region& operator=(const Region& other);
  Region& operator=(Region&& other) noexcept;
  ~Region();

  bool Empty() const { return size_ == 0; }
  RECT Bounds() const;
  bool Contains(int x, int y) const;
  std::span<const RECT> Rects() const { return {data_, size_}; }

  void Clear() { size_ = 0; }
  void Set(const RECT& r);
  void Add(const RECT& r);
  void Add(const Region& other);
  void Subtract(const RECT& r);
  void Subtract(const Region& other);
  void Intersect(const RECT& r);
  void Intersect(const Region& other);
  void Offset(int dx, int dy);

 private:
  static constexpr uint32_t InlineRects = 4;

  bool OnHeap() const { return data_ != inline_; }
  void Push(const RECT& r) {
    if (size_ == capacity_) Grow(size_ + 1);
    data_[size_++] = r;
  }
  void Grow(size_t needed);
  void CopyFrom(const Region& other);
  void TakeFrom(Region& other);

  RECT* data_ = inline_;  // disjoint and non-empty rectangles
  uint32_t size_ = 0;
  uint32_t capacity_ = InlineRects;
  RECT inline_[InlineRects];
};

}  // namespace qz
