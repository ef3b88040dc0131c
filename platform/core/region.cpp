#include "qzplatform/region.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

namespace qz {

bool IsEmptyRect(const RECT& r) {
  return r.right <= r.left || r.bottom <= r.top;
}

RECT IntersectRects(const RECT& a, const RECT& b) {
  RECT r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
  if (IsEmptyRect(r)) return RECT{0, 0, 0, 0};
  return r;
}

RECT UnionRects(const RECT& a, const RECT& b) {
  if (IsEmptyRect(a)) return b;
  if (IsEmptyRect(b)) return a;
  return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

Region::Region(const RECT& r) {
  Set(r);
}

Region::Region(const Region& other) {
  CopyFrom(other);
}

Region::Region(Region&& other) noexcept {
  TakeFrom(other);
}

Region& Region::operator=(const Region& other) {
  if (&other != this) CopyFrom(other);
  return *this;
}

Region& Region::operator=(Region&& other) noexcept {
  if (&other != this) {
    if (OnHeap()) delete[] data_;
    data_ = inline_;
    capacity_ = InlineRects;
    TakeFrom(other);
  }
  return *this;
}

Region::~Region() {
  if (OnHeap()) delete[] data_;
}

// Doubles the room, at least to `needed` rectangles; the storage only grows,
// so a region reused for paint after paint settles at its largest size.
void Region::Grow(size_t needed) {
  size_t room = std::max<size_t>(needed, size_t{capacity_} * 2);
  RECT* bigger = new RECT[room];
  std::memcpy(bigger, data_, size_ * sizeof(RECT));
  if (OnHeap()) delete[] data_;
  data_ = bigger;
  capacity_ = static_cast<uint32_t>(room);
}

void Region::CopyFrom(const Region& other) {
  if (other.size_ <= InlineRects) {
    // Both sides hold room for at least the inline rectangles, so a copy of
    // that fixed size is a few moves where one of the exact size is a call.
    std::memcpy(data_, other.data_, InlineRects * sizeof(RECT));
    size_ = other.size_;
    return;
  }
  if (other.size_ > capacity_) Grow(other.size_);
  if (other.size_) std::memcpy(data_, other.data_, other.size_ * sizeof(RECT));
  size_ = other.size_;
}

// Expects this region to be on its inline storage: a heap block is taken
// over, inline rectangles are copied, and `other` is left empty.
void Region::TakeFrom(Region& other) {
  if (other.OnHeap()) {
    data_ = other.data_;
    capacity_ = other.capacity_;
    other.data_ = other.inline_;
    other.capacity_ = InlineRects;
  } else if (other.size_) {
    std::memcpy(inline_, other.inline_, other.size_ * sizeof(RECT));
  }
  size_ = other.size_;
  other.size_ = 0;
}

void Region::Set(const RECT& r) {
  size_ = 0;
  if (!IsEmptyRect(r)) Push(r);
}

// The rectangles are never empty, so their bounds are plain minima and maxima.
RECT Region::Bounds() const {
  if (size_ == 0) return RECT{0, 0, 0, 0};
  RECT b = data_[0];
  for (uint32_t i = 1; i < size_; ++i) {
    const RECT& r = data_[i];
    b.left = std::min(b.left, r.left);
    b.top = std::min(b.top, r.top);
    b.right = std::max(b.right, r.right);
    b.bottom = std::max(b.bottom, r.bottom);
  }
  return b;
}

bool Region::Contains(int x, int y) const {
  for (const RECT& r : Rects())
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  return false;
}

// Splits every rectangle against `cut`, keeping the up to four pieces outside
// it. Works in place: pieces are appended and the originals compacted away.
void Region::Subtract(const RECT& cut) {
  if (IsEmptyRect(cut)) return;
  const uint32_t n = size_;
  uint32_t keep = 0;
  for (uint32_t i = 0; i < n; ++i) {
    RECT r = data_[i];
    RECT o = IntersectRects(r, cut);
    if (IsEmptyRect(o)) {
      data_[keep++] = r;
      continue;
    }
    if (r.top < o.top) Push(RECT{r.left, r.top, r.right, o.top});
    if (o.bottom < r.bottom) Push(RECT{r.left, o.bottom, r.right, r.bottom});
    if (r.left < o.left) Push(RECT{r.left, o.top, o.left, o.bottom});
    if (o.right < r.right) Push(RECT{o.right, o.top, r.right, o.bottom});
  }
  // Move the appended pieces down behind the kept ones.
  uint32_t out = keep;
  for (uint32_t i = n; i < size_; ++i) data_[out++] = data_[i];
  size_ = out;
}

void Region::Subtract(const Region& other) {
  if (&other == this) {
    Clear();
    return;
  }
  for (const RECT& r : other.Rects()) Subtract(r);
}

void Region::Add(const RECT& r) {
  if (IsEmptyRect(r)) return;
  for (const RECT& e : Rects())
    if (e.left <= r.left && e.top <= r.top && e.right >= r.right && e.bottom >= r.bottom) return;
  Subtract(r);
  Push(r);
}

void Region::Add(const Region& other) {
  if (&other == this) return;
  for (const RECT& r : other.Rects()) Add(r);
}

void Region::Intersect(const RECT& clip) {
  uint32_t keep = 0;
  for (uint32_t i = 0; i < size_; ++i) {
    RECT o = IntersectRects(data_[i], clip);
    if (!IsEmptyRect(o)) data_[keep++] = o;
  }
  size_ = keep;
}

// In place, as Subtract: the pieces are appended and moved down over the
// originals, so a region that keeps its size never allocates.
void Region::Intersect(const Region& other) {
  if (&other == this) return;
  if (other.size_ == 1) {
    Intersect(other.data_[0]);
    return;
  }
  const uint32_t n = size_;
  for (uint32_t i = 0; i < n; ++i) {
    const RECT a = data_[i];
    for (const RECT& b : other.Rects()) {
      RECT o = IntersectRects(a, b);
      if (!IsEmptyRect(o)) Push(o);
    }
  }
  std::memmove(data_, data_ + n, (size_ - n) * sizeof(RECT));
  size_ -= n;
}

// Saturates at the ends of the int range; a rectangle pushed wholly past
// them is empty and dropped.
void Region::Offset(int dx, int dy) {
  if (size_ == 0 || (dx == 0 && dy == 0)) return;
  // Nothing near the coordinate limits: every rectangle moves as it is and
  // stays non-empty.
  const RECT b = Bounds();
  if (int64_t{b.left} + dx >= INT32_MIN && int64_t{b.right} + dx <= INT32_MAX && int64_t{b.top} + dy >= INT32_MIN &&
      int64_t{b.bottom} + dy <= INT32_MAX) {
    for (uint32_t i = 0; i < size_; ++i) {
      RECT& r = data_[i];
      r = RECT{r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
    }
    return;
  }
  const auto moved = [](LONG v, int d) {
    return static_cast<LONG>(std::clamp<int64_t>(int64_t{v} + d, INT32_MIN, INT32_MAX));
  };
  uint32_t keep = 0;
  for (uint32_t i = 0; i < size_; ++i) {
    const RECT& r = data_[i];
    RECT o{moved(r.left, dx), moved(r.top, dy), moved(r.right, dx), moved(r.bottom, dy)};
    if (!IsEmptyRect(o)) data_[keep++] = o;
  }
  size_ = keep;
}

}  // namespace qz
