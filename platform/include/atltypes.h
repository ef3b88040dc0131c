// Point, size and rectangle classes of the framework: the platform's POINT,
// SIZE and RECT with the usual arithmetic. Rectangles are half-open: the right
// and bottom edges are outside.
#pragma once

#include "windef.h"

class CSize : public SIZE {
 public:
  CSize() : SIZE{0, 0} {}
  CSize(int x, int y) : SIZE{x, y} {}
  CSize(SIZE s) : SIZE(s) {}
  explicit CSize(POINT p) : SIZE{p.x, p.y} {}

  bool operator==(SIZE s) const { return cx == s.cx && cy == s.cy; }
  bool operator!=(SIZE s) const { return !(*this == s); }
  void operator+=(SIZE s) { cx += s.cx, cy += s.cy; }
  void operator-=(SIZE s) { cx -= s.cx, cy -= s.cy; }
  CSize operator+(SIZE s) const { return CSize(cx + s.cx, cy + s.cy); }
  CSize operator-(SIZE s) const { return CSize(cx - s.cx, cy - s.cy); }
  CSize operator-() const { return CSize(-cx, -cy); }
};

class CPoint : public POINT {
 public:
  CPoint() : POINT{0, 0} {}
  CPoint(int x0, int y0) : POINT{x0, y0} {}
  CPoint(POINT p) : POINT(p) {}
  explicit CPoint(SIZE s) : POINT{s.cx, s.cy} {}
  // A mouse message's lParam: signed 16-bit x and y.
  explicit CPoint(LPARAM packed) : POINT{GET_X_LPARAM(packed), GET_Y_LPARAM(packed)} {}

  void Offset(int dx, int dy) { x += dx, y += dy; }
  void Offset(POINT p) { Offset(p.x, p.y); }
  void Offset(SIZE s) { Offset(s.cx, s.cy); }
  bool operator==(POINT p) const { return x == p.x && y == p.y; }
  bool operator!=(POINT p) const { return !(*this == p); }
  void operator+=(SIZE s) { Offset(s); }
  void operator-=(SIZE s) { Offset(-s.cx, -s.cy); }
  void operator+=(POINT p) { Offset(p); }
  void operator-=(POINT p) { Offset(-p.x, -p.y); }
  CPoint operator+(SIZE s) const { return CPoint(x + s.cx, y + s.cy); }
  CPoint operator-(SIZE s) const { return CPoint(x - s.cx, y - s.cy); }
  CPoint operator+(POINT p) const { return CPoint(x + p.x, y + p.y); }
  CSize operator-(POINT p) const { return CSize(x - p.x, y - p.y); }
  CPoint operator-() const { return CPoint(-x, -y); }
};

class CRect : public RECT {
 public:
  CRect() : RECT{0, 0, 0, 0} {}
  CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
  CRect(const RECT& rc) : RECT(rc) {}
  CRect(LPCRECT rc) : RECT(rc ? *rc : RECT{0, 0, 0, 0}) {}
  CRect(POINT topLeft, SIZE size) : RECT{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy} {}
  CRect(POINT topLeft, POINT bottomRight) : RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y} {}

  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  CSize Size() const { return CSize(Width(), Height()); }
  // The two corners viewed as points, as the framework's callers expect to
  // pass them to point functions in place.
  CPoint& TopLeft() { return *reinterpret_cast<CPoint*>(&left); }
  CPoint& BottomRight() { return *reinterpret_cast<CPoint*>(&right); }
  const CPoint& TopLeft() const { return *reinterpret_cast<const CPoint*>(&left); }
  const CPoint& BottomRight() const { return *reinterpret_cast<const CPoint*>(&right); }
  CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }

  operator LPRECT() { return this; }
  operator LPCRECT() const { return this; }

  BOOL IsRectEmpty() const { return right <= left || bottom <= top; }
  BOOL IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  BOOL PtInRect(POINT p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  BOOL EqualRect(LPCRECT rc) const {
    return left == rc->left && top == rc->top && right == rc->right && bottom == rc->bottom;
  }

  void SetRect(int l, int t, int r, int b) { left = l, top = t, right = r, bottom = b; }
  void SetRect(POINT topLeft, POINT bottomRight) { SetRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y); }
  void SetRectEmpty() { SetRect(0, 0, 0, 0); }
  void CopyRect(LPCRECT rc) { *static_cast<RECT*>(this) = *rc; }
  void NormalizeRect();

  void OffsetRect(int dx, int dy) { left += dx, right += dx, top += dy, bottom += dy; }
  void OffsetRect(POINT p) { OffsetRect(p.x, p.y); }
  void OffsetRect(SIZE s) { OffsetRect(s.cx, s.cy); }
  void InflateRect(int dx, int dy) { left -= dx, top -= dy, right += dx, bottom += dy; }
  void InflateRect(SIZE s) { InflateRect(s.cx, s.cy); }
  void InflateRect(int l, int t, int r, int b) { left -= l, top -= t, right += r, bottom += b; }
  void InflateRect(LPCRECT rc) { InflateRect(rc->left, rc->top, rc->right, rc->bottom); }
  void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
  void DeflateRect(SIZE s) { InflateRect(-s.cx, -s.cy); }
  void DeflateRect(int l, int t, int r, int b) { InflateRect(-l, -t, -r, -b); }
  void DeflateRect(LPCRECT rc) { DeflateRect(rc->left, rc->top, rc->right, rc->bottom); }

  // As the platform's IntersectRect/UnionRect: an empty result is all zeros
  // and returns FALSE; empty inputs do not take part in a union.
  BOOL IntersectRect(LPCRECT a, LPCRECT b);
  BOOL UnionRect(LPCRECT a, LPCRECT b);

  void operator=(const RECT& rc) { CopyRect(&rc); }
  bool operator==(const RECT& rc) const { return EqualRect(&rc); }
  bool operator!=(const RECT& rc) const { return !EqualRect(&rc); }
  void operator+=(POINT p) { OffsetRect(p); }
  void operator+=(SIZE s) { OffsetRect(s); }
  void operator-=(POINT p) { OffsetRect(-p.x, -p.y); }
  void operator-=(SIZE s) { OffsetRect(-s.cx, -s.cy); }
  void operator&=(const RECT& rc) { IntersectRect(this, &rc); }
  void operator|=(const RECT& rc) { UnionRect(this, &rc); }
  CRect operator+(POINT p) const { return CRect(left + p.x, top + p.y, right + p.x, bottom + p.y); }
  CRect operator-(POINT p) const { return CRect(left - p.x, top - p.y, right - p.x, bottom - p.y); }
  CRect operator&(const RECT& rc) const {
    CRect r;
    r.IntersectRect(this, &rc);
    return r;
  }
  CRect operator|(const RECT& rc) const {
    CRect r;
    r.UnionRect(this, &rc);
    return r;
  }
};

inline void CRect::NormalizeRect() {
  if (left > right) {
    LONG t = left;
    left = right, right = t;
  }
  if (top > bottom) {
    LONG t = top;
    top = bottom, bottom = t;
  }
}

inline BOOL CRect::IntersectRect(LPCRECT a, LPCRECT b) {
  RECT r{a->left > b->left ? a->left : b->left, a->top > b->top ? a->top : b->top,
         a->right < b->right ? a->right : b->right, a->bottom < b->bottom ? a->bottom : b->bottom};
  if (r.right <= r.left || r.bottom <= r.top) {
    SetRectEmpty();
    return FALSE;
  }
  CopyRect(&r);
  return TRUE;
}

inline BOOL CRect::UnionRect(LPCRECT a, LPCRECT b) {
  bool aEmpty = a->right <= a->left || a->bottom <= a->top;
  bool bEmpty = b->right <= b->left || b->bottom <= b->top;
  if (aEmpty && bEmpty) {
    SetRectEmpty();
    return FALSE;
  }
  if (aEmpty) {
    RECT copy = *b;
    CopyRect(&copy);
    return TRUE;
  }
  if (bEmpty) {
    RECT copy = *a;
    CopyRect(&copy);
    return TRUE;
  }
  RECT r{a->left < b->left ? a->left : b->left, a->top < b->top ? a->top : b->top,
         a->right > b->right ? a->right : b->right, a->bottom > b->bottom ? a->bottom : b->bottom};
  CopyRect(&r);
  return TRUE;
}
