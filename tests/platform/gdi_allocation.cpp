// Steady-state drawing through a window DC must not touch the heap: the
// global allocator is counted while a warmed-up paint cycle runs again.
#include <atomic>
#include <cstdlib>
#include <new>

#include "gdi_test_util.h"

namespace {
std::atomic<long> allocations{0};
}

// g++ 12 mistakes the replaced operators for a mismatched pair.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
  allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  return operator new(size);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}

namespace {

using namespace gditest;

void PaintCycle(qz::Surface* surface, const qz::Region& clip, HDC memory, HFONT font) {
  HDC dc = qz::CreateSurfaceDC(surface, POINT{4, 4}, clip);
  int saved = SaveDC(dc);
  HGDIOBJ oldFont = SelectObject(dc, font);
  RECT r{0, 0, 40, 20};
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_MIDDLE);
  MoveToEx(dc, 0, 0, nullptr);
  LineTo(dc, 30, 17);
  SetROP2(dc, R2_XORPEN);
  Ellipse(dc, 2, 2, 12, 12);
  Rectangle(dc, 3, 3, 20, 9);
  IntersectClipRect(dc, 0, 0, 35, 18);
  BitBlt(memory, 0, 0, 16, 16, dc, 0, 0, SRCCOPY);
  BitBlt(dc, 10, 2, 16, 16, memory, 0, 0, SRCCOPY);
  TextOutA(dc, 2, 2, "Value 42", 8);
  DrawTextA(dc, "Gain", -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  RECT box;
  GetClipBox(dc, &box);
  SelectObject(dc, oldFont);
  RestoreDC(dc, saved);
  DeleteDC(dc);
}

TEST(GdiAllocation, WindowDcPaintCycleAllocatesNothingOnceWarm) {
  qz::Surface surface;
  surface.Resize(80, 60, kWhite);
  qz::Region clip(RECT{0, 0, 80, 60});
  Canvas memory(16, 16);
  HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, "Tahoma");
  PaintCycle(&surface, clip, memory.dc(), font);
  PaintCycle(&surface, clip, memory.dc(), font);
  long before = allocations.load();
  PaintCycle(&surface, clip, memory.dc(), font);
  long after = allocations.load();
  EXPECT_EQ(after - before, 0);
  DeleteObject(font);
}

// Handles that draw with a pen of their own make and delete it each time.
TEST(GdiAllocation, PenMadeAndDeletedForEachDrawingAllocatesNothingOnceWarm) {
  qz::Surface surface;
  surface.Resize(40, 40, kWhite);
  HDC dc = qz::CreateSurfaceDC(&surface, POINT{0, 0}, qz::Region(RECT{0, 0, 40, 40}));
  auto draw = [dc](int style) {
    HPEN pen = CreatePen(style, 1, RGB(255, 200, 0));
    HGDIOBJ old = SelectObject(dc, pen);
    MoveToEx(dc, 2, 2, nullptr);
    LineTo(dc, 30, 20);
    SelectObject(dc, old);
    return DeleteObject(pen);
  };
  EXPECT_TRUE(draw(PS_SOLID));
  EXPECT_TRUE(draw(PS_DOT));
  long before = allocations.load();
  for (int i = 0; i < 10; ++i) {
    EXPECT_TRUE(draw(PS_DOT));
    EXPECT_TRUE(draw(PS_SOLID));
  }
  EXPECT_EQ(allocations.load() - before, 0);
  // A recycled pen is a new pen: its own style and colour, not the last one's.
  HPEN pen = CreatePen(PS_DASH, 3, RGB(1, 2, 3));
  LOGPEN log{};
  ASSERT_EQ(GetObjectA(pen, sizeof log, &log), static_cast<int>(sizeof log));
  EXPECT_EQ(log.lopnStyle, static_cast<UINT>(PS_DASH));
  EXPECT_EQ(log.lopnWidth.x, 3);
  EXPECT_EQ(log.lopnColor, RGB(1, 2, 3));
  DeleteObject(pen);
  DeleteDC(dc);
}

TEST(GdiAllocation, BrushMadeAndDeletedForEachFillAllocatesNothingOnceWarm) {
  qz::Surface surface;
  surface.Resize(20, 20, kWhite);
  HDC dc = qz::CreateSurfaceDC(&surface, POINT{0, 0}, qz::Region(RECT{0, 0, 20, 20}));
  auto fill = [dc](COLORREF colour) {
    HBRUSH brush = CreateSolidBrush(colour);
    const RECT rc{2, 2, 12, 12};
    FillRect(dc, &rc, brush);
    return DeleteObject(brush);
  };
  EXPECT_TRUE(fill(RGB(10, 20, 30)));
  long before = allocations.load();
  for (int i = 0; i < 10; ++i) EXPECT_TRUE(fill(RGB(i, 2 * i, 3 * i)));
  EXPECT_EQ(allocations.load() - before, 0);
  // A recycled brush is a new brush: its own colour, not the last one's.
  fill(RGB(200, 100, 50));
  EXPECT_EQ(surface.pixels[5 * 20 + 5] & 0xffffff, 0xc86432u);
  DeleteDC(dc);
}

}  // namespace
