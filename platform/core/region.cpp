#include "qzplatform/region.h"

#include <algorithm>
#include <cstdint>

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

void Region::Set(const RECT& r) {
  rects_.clear();
  if (!IsEmptyRect(r)) rects_.push_back(r);
}

RECT Region::Bounds() const {
  RECT b{0, 0, 0, 0};
  for (const RECT& r : rects_) b = UnionRects(b, r);
  return b;
}

bool Region::Contains(int x, int y) const {
  for (const RECT& r : rects_)
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return true;
  return false;
}

// Splits every rectangle against `cut`, keeping the up to four pieces outside
// it. Works in place: pieces are appended and the originals compacted away.
void Region::Subtract(const RECT& cut) {
  if (IsEmptyRect(cut)) return;
  size_t n = rects_.size();
  size_t keep = 0;
  for (size_t i = 0; i < n; ++i) {
    RECT r = rects_[i];
    RECT o = IntersectRects(r, cut);
    if (IsEmptyRect(o)) {
      rects_[keep++] = r;
      continue;
    }
    if (r.top < o.top) rects_.push_back(RECT{r.left, r.top, r.right, o.top});
    if (o.bottom < r.bottom) rects_.push_back(RECT{r.left, o.bottom, r.right, r.bottom});
    if (r.left < o.left) rects_.push_back(RECT{r.left, o.top, o.left, o.bottom});
    if (o.right < r.right) rects_.push_back(RECT{o.right, o.top, r.right, o.bottom});
  }
  // Move the appended pieces down behind the kept ones.
  size_t out = keep;
  for (size_t i = n; i < rects_.size(); ++i) rects_[out++] = rects_[i];
  rects_.resize(out);
}

void Region::Subtract(const Region& other) {
  for (const RECT& r : other.rects_) Subtract(r);
}

void Region::Add(const RECT& r) {
  if (IsEmptyRect(r)) return;
  for (const RECT& e : rects_)
    if (e.left <= r.left && e.top <= r.top && e.right >= r.right && e.bottom >= r.bottom) return;
  Subtract(r);
  rects_.push_back(r);
}

void Region::Add(const Region& other) {
  for (const RECT& r : other.rects_) Add(r);
}

void Region::Intersect(const RECT& clip) {
  size_t keep = 0;
  for (const RECT& r : rects_) {
    RECT o = IntersectRects(r, clip);
    if (!IsEmptyRect(o)) rects_[keep++] = o;
  }
  rects_.resize(keep);
}

// In place, as Subtract: the pieces are appended and moved down over the
// originals, so a region that keeps its size never allocates.
void Region::Intersect(const Region& other) {
  if (&other == this) return;
  if (other.rects_.size() == 1) {
    Intersect(other.rects_.front());
    return;
  }
  const size_t n = rects_.size();
  for (size_t i = 0; i < n; ++i) {
    const RECT a = rects_[i];
    for (const RECT& b : other.rects_) {
      RECT o = IntersectRects(a, b);
      if (!IsEmptyRect(o)) rects_.push_back(o);
    }
  }
  rects_.erase(rects_.begin(), rects_.begin() + static_cast<std::ptrdiff_t>(n));
}

// Saturates at the ends of the int range; a rectangle pushed wholly past
// them is empty and dropped.
void Region::Offset(int dx, int dy) {
  const auto moved = [](LONG v, int d) {
    return static_cast<LONG>(std::clamp<int64_t>(int64_t{v} + d, INT32_MIN, INT32_MAX));
  };
  for (RECT& r : rects_) r = RECT{moved(r.left, dx), moved(r.top, dy), moved(r.right, dx), moved(r.bottom, dy)};
  std::erase_if(rects_, [](const RECT& r) { return IsEmptyRect(r); });
}

}  // namespace qz
