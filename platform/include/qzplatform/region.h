// A set of pixels as disjoint rectangles: update regions and clip areas.
#pragma once

#include <vector>

#include "../windef.h"

namespace qz {

bool IsEmptyRect(const RECT& r);
RECT IntersectRects(const RECT& a, const RECT& b);
RECT UnionRects(const RECT& a, const RECT& b);

class Region {
 public:
  Region() = default;
  explicit Region(const RECT& r);

  bool Empty() const { return rects_.empty(); }
  RECT Bounds() const;
  bool Contains(int x, int y) const;
  const std::vector<RECT>& Rects() const { return rects_; }

  void Clear() { rects_.clear(); }
  void Set(const RECT& r);
  void Add(const RECT& r);
  void Add(const Region& other);
  void Subtract(const RECT& r);
  void Subtract(const Region& other);
  void Intersect(const RECT& r);
  void Intersect(const Region& other);
  void Offset(int dx, int dy);

 private:
  std::vector<RECT> rects_;  // disjoint and non-empty
};

}  // namespace qz
