#include <climits>

#include "gdi_test_util.h"
#include "qzplatform/driver.h"

using namespace gditest;

namespace {

class SurfaceDc : public testing::Test {
 protected:
  SurfaceDc() { surface.Resize(50, 40, kWhite); }
  ~SurfaceDc() override {
    if (dc) DeleteDC(dc);
  }
  void Open(POINT origin, const qz::Region& clip) { dc = qz::CreateSurfaceDC(&surface, origin, clip); }
  int CountOnSurface(uint32_t pixel) const {
    int n = 0;
    for (uint32_t p : surface.pixels) n += p == pixel;
    return n;
  }
  qz::Surface surface;
  HDC dc = nullptr;
};

TEST_F(SurfaceDc, LogicalOriginSitsAtTheGivenSurfacePoint) {
  Open(POINT{10, 8}, qz::Region(RECT{0, 0, 50, 40}));
  ASSERT_NE(dc, nullptr);
  SetPixel(dc, 0, 0, RGB(255, 0, 0));
  EXPECT_EQ(surface.At(10, 8), 0xFF0000u);
  POINT origin{};
  EXPECT_EQ(qz::SurfaceOfDC(dc, &origin), &surface);
  EXPECT_EQ(origin.x, 10);
  EXPECT_EQ(origin.y, 8);
  EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_DC));
}

TEST_F(SurfaceDc, DrawingStaysInsideTheClip) {
  Open(POINT{10, 10}, qz::Region(RECT{10, 10, 30, 25}));
  RECT all{-100, -100, 100, 100};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(CountOnSurface(kBlack), 20 * 15);
  EXPECT_EQ(surface.At(9, 10), kWhite);
  EXPECT_EQ(surface.At(30, 24), kWhite);
  EXPECT_EQ(surface.At(29, 24), kBlack);
}

// A clip of many pieces (a field with a grid of holes) survives being copied
// into another region, the source deleted, and selected into the DC: filling
// reaches every pixel but the holes.
TEST_F(SurfaceDc, AClipOfManyPiecesKeepsThemThroughCopies) {
  Open(POINT{0, 0}, qz::Region(RECT{0, 0, 50, 40}));
  HRGN field = CreateRectRgn(0, 0, 40, 30);
  for (int y = 5; y < 30; y += 10)
    for (int x = 5; x < 40; x += 10) {
      HRGN hole = CreateRectRgn(x, y, x + 3, y + 2);
      EXPECT_EQ(CombineRgn(field, field, hole, RGN_DIFF), COMPLEXREGION);
      DeleteObject(hole);
    }
  HRGN copy = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(CombineRgn(copy, field, nullptr, RGN_COPY), COMPLEXREGION);
  DeleteObject(field);
  EXPECT_EQ(SelectClipRgn(dc, copy), COMPLEXREGION);
  DeleteObject(copy);
  RECT all{0, 0, 50, 40};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(CountOnSurface(kBlack), 40 * 30 - 12 * 3 * 2);
  EXPECT_EQ(surface.At(25, 15), kWhite);
  EXPECT_EQ(surface.At(28, 15), kBlack);
}

// A window's surface can be resized while a DC on it lives: the DC then
// draws on the new pixels, and never past the smaller surface.
TEST_F(SurfaceDc, DrawingFollowsTheSurfaceResizedUnderTheDc) {
  Open(POINT{0, 0}, qz::Region(RECT{0, 0, 50, 40}));
  RECT all{0, 0, 50, 40};
  HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  FillRect(dc, &all, black);
  surface.Resize(20, 10, kWhite);
  FillRect(dc, &all, black);
  EXPECT_EQ(CountOnSurface(kBlack), 20 * 10);
  surface.Resize(40, 20, 0);
  SelectObject(dc, GetStockObject(WHITE_PEN));
  MoveToEx(dc, 0, 15, nullptr);
  LineTo(dc, 50, 15);
  EXPECT_EQ(CountOnSurface(kWhite), 40);
  EXPECT_EQ(surface.At(39, 15), kWhite);
}

TEST_F(SurfaceDc, ClipBoxIsInLogicalCoordinatesWithTheRegionType) {
  qz::Region clip(RECT{10, 10, 30, 25});
  Open(POINT{10, 10}, clip);
  RECT box;
  EXPECT_EQ(GetClipBox(dc, &box), SIMPLEREGION);
  EXPECT_TRUE(SameRect(box, RECT{0, 0, 20, 15})) << ToString(box);
  SetViewportOrgEx(dc, 5, 2, nullptr);
  GetClipBox(dc, &box);
  EXPECT_TRUE(SameRect(box, RECT{-5, -2, 15, 13})) << ToString(box);
  SetViewportOrgEx(dc, 0, 0, nullptr);
  EXPECT_EQ(ExcludeClipRect(dc, 0, 0, 5, 5), COMPLEXREGION);
  EXPECT_EQ(GetClipBox(dc, &box), COMPLEXREGION);
  EXPECT_TRUE(SameRect(box, RECT{0, 0, 20, 15}));
  EXPECT_EQ(IntersectClipRect(dc, 5, 0, 20, 15), SIMPLEREGION);
  GetClipBox(dc, &box);
  EXPECT_TRUE(SameRect(box, RECT{5, 0, 20, 15})) << ToString(box);
  EXPECT_EQ(IntersectClipRect(dc, 100, 100, 200, 200), NULLREGION);
  EXPECT_EQ(GetClipBox(dc, &box), NULLREGION);
  EXPECT_EQ(SelectClipRgn(dc, nullptr), SIMPLEREGION);
  GetClipBox(dc, &box);
  EXPECT_TRUE(SameRect(box, RECT{0, 0, 20, 15}));
}

TEST_F(SurfaceDc, ClipBoxOfAnUpdateRegionMadeOfTwoRectanglesIsComplex) {
  qz::Region clip(RECT{0, 0, 10, 10});
  clip.Add(RECT{20, 20, 30, 30});
  Open(POINT{0, 0}, clip);
  RECT box;
  EXPECT_EQ(GetClipBox(dc, &box), COMPLEXREGION);
  EXPECT_TRUE(SameRect(box, RECT{0, 0, 30, 30}));
  RECT all{0, 0, 50, 40};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(CountOnSurface(kBlack), 200);
  EXPECT_EQ(surface.At(15, 15), kWhite);
}

TEST_F(SurfaceDc, SelectedClipRegionIsRelativeToTheDcOriginAndIgnoresTheViewport) {
  Open(POINT{10, 10}, qz::Region(RECT{0, 0, 50, 40}));
  SetViewportOrgEx(dc, 3, 3, nullptr);
  HRGN region = CreateRectRgn(0, 0, 4, 4);
  EXPECT_EQ(SelectClipRgn(dc, region), SIMPLEREGION);
  DeleteObject(region);  // the DC keeps a copy
  RECT all{-50, -50, 50, 50};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(CountOnSurface(kBlack), 16);
  EXPECT_EQ(surface.At(10, 10), kBlack);
  EXPECT_EQ(surface.At(13, 13), kBlack);
  EXPECT_EQ(surface.At(14, 14), kWhite);
}

TEST_F(SurfaceDc, OffsetViewportShiftsDrawing) {
  Open(POINT{0, 0}, qz::Region(RECT{0, 0, 50, 40}));
  POINT old{};
  OffsetViewportOrgEx(dc, 4, 6, &old);
  OffsetViewportOrgEx(dc, 1, 1, &old);
  EXPECT_EQ(old.x, 4);
  SetPixel(dc, 0, 0, RGB(0, 0, 0));
  EXPECT_EQ(surface.At(5, 7), kBlack);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(0, 0, 0));
}

TEST_F(SurfaceDc, BlitsBothWaysBetweenSurfaceAndMemory) {
  Open(POINT{10, 10}, qz::Region(RECT{10, 10, 40, 30}));
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 50; ++x) surface.Row(y)[x] = static_cast<uint32_t>(y * 256 + x);
  // Snapshot the background under a child at (5, 5) of this window.
  Canvas snapshot(8, 6, kBlack);
  ASSERT_TRUE(BitBlt(snapshot.dc(), 0, 0, 8, 6, dc, 5, 5, SRCCOPY));
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(snapshot.At(x, y), static_cast<uint32_t>((y + 15) * 256 + x + 15));
  // And put it back elsewhere, the top byte of the DIB dropped on the opaque surface.
  snapshot.Set(0, 0, 0xFF123456);
  ASSERT_TRUE(BitBlt(dc, 0, 0, 8, 6, snapshot.dc(), 0, 0, SRCCOPY));
  EXPECT_EQ(surface.At(10, 10), 0x123456u);
  EXPECT_EQ(surface.At(17, 15), static_cast<uint32_t>(20 * 256 + 22));
}

// A window's update region after a thumb moved right, moved left, or moved
// down and across: exactly the union of the two places is copied.
TEST(BitBlt, OntoAClipOfTwoOverlappingRectanglesCopiesExactlyTheirUnion) {
  const RECT moves[][2] = {
      {{5, 5, 17, 17}, {12, 5, 24, 17}}, {{12, 5, 24, 17}, {5, 5, 17, 17}}, {{5, 5, 17, 17}, {9, 11, 21, 23}}};
  for (const auto& places : moves) {
    qz::Surface surface;
    surface.Resize(30, 30, kWhite);
    qz::Region clip(places[0]);
    clip.Add(places[1]);
    HDC dc = qz::CreateSurfaceDC(&surface, POINT{0, 0}, clip);
    Canvas picture(30, 30, kBlack);
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 30; ++x) picture.Set(x, y, 0xAB000000u | static_cast<uint32_t>(y * 256 + x));
    ASSERT_TRUE(BitBlt(dc, 0, 0, 30, 30, picture.dc(), 0, 0, SRCCOPY));
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 30; ++x)
        ASSERT_EQ(surface.At(x, y), InsideAny(places, x, y) ? static_cast<uint32_t>(y * 256 + x) : kWhite)
            << ToString(places[1]) << " at " << x << "," << y;
    DeleteDC(dc);
  }
}

TEST(BitBlt, ClippedToTheDestinationClipAndTheSourceBounds) {
  Canvas source(10, 10, 0x0000FF), dest(30, 30);
  IntersectClipRect(dest.dc(), 0, 0, 20, 20);
  // Source columns -3..-1 do not exist; destination beyond 20 is clipped.
  BitBlt(dest.dc(), 12, 2, 15, 15, source.dc(), -3, 0, SRCCOPY);
  RECT b = dest.MarkedBounds();
  EXPECT_TRUE(SameRect(b, RECT{15, 2, 20, 12})) << ToString(b) << "\n" << dest.Picture();
  EXPECT_EQ(dest.Count(0x0000FF), 5 * 10);
}

TEST(BitBlt, NegativeDestinationOffsetsShowTheVisiblePart) {
  Canvas source(10, 10), dest(10, 10);
  source.Set(5, 5, 0xABCDEF);
  source.Set(2, 2, 0x111111);
  BitBlt(dest.dc(), -3, -3, 10, 10, source.dc(), 0, 0, SRCCOPY);
  EXPECT_EQ(dest.At(2, 2), 0xABCDEFu);
  EXPECT_EQ(static_cast<int>(dest.Marked().size()), 1);
}

TEST(BitBlt, OverlappingCopyWithinOneBitmapReadsBeforeWriting) {
  Canvas c(10, 10);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x) c.Set(x, y, static_cast<uint32_t>(y * 16 + x));
  BitBlt(c.dc(), 1, 1, 9, 9, c.dc(), 0, 0, SRCCOPY);  // scroll down-right by one
  for (int y = 1; y < 10; ++y)
    for (int x = 1; x < 10; ++x) ASSERT_EQ(c.At(x, y), static_cast<uint32_t>((y - 1) * 16 + x - 1)) << x << "," << y;
}

TEST(BitBlt, RasterOperations) {
  Canvas source(4, 1, 0x0F0F0F), dest(4, 1, 0x333333);
  BitBlt(dest.dc(), 0, 0, 1, 1, source.dc(), 0, 0, SRCPAINT);
  BitBlt(dest.dc(), 1, 0, 1, 1, source.dc(), 0, 0, SRCAND);
  BitBlt(dest.dc(), 2, 0, 1, 1, source.dc(), 0, 0, SRCINVERT);
  BitBlt(dest.dc(), 3, 0, 1, 1, nullptr, 0, 0, DSTINVERT);
  EXPECT_EQ(dest.At(0, 0), 0x3F3F3Fu);
  EXPECT_EQ(dest.At(1, 0), 0x030303u);
  EXPECT_EQ(dest.At(2, 0), 0x3C3C3Cu);
  EXPECT_EQ(dest.At(3, 0), 0xCCCCCCu);
  HBRUSH brush = CreateSolidBrush(RGB(0x12, 0x34, 0x56));
  HGDIOBJ old = SelectObject(dest.dc(), brush);
  BitBlt(dest.dc(), 0, 0, 2, 1, nullptr, 0, 0, PATCOPY);
  BitBlt(dest.dc(), 2, 0, 1, 1, nullptr, 0, 0, BLACKNESS);
  BitBlt(dest.dc(), 3, 0, 1, 1, nullptr, 0, 0, WHITENESS);
  EXPECT_EQ(dest.At(0, 0), 0x123456u);
  EXPECT_EQ(dest.At(1, 0), 0x123456u);
  EXPECT_EQ(dest.At(2, 0), 0u);
  EXPECT_EQ(dest.At(3, 0), 0xFFFFFFu);
  SelectObject(dest.dc(), old);
  DeleteObject(brush);
  EXPECT_FALSE(BitBlt(dest.dc(), 0, 0, 1, 1, nullptr, 0, 0, SRCCOPY));
}

TEST(BitBlt, SrcInvertTwiceRestoresAndIgnoresTheRop2) {
  Canvas source(8, 8), dest(8, 8);
  for (int i = 0; i < 64; ++i) {
    source.bits()[i] = (i * 40503u) & 0xFFFFFF;
    dest.bits()[i] = (i * 9973u) & 0xFFFFFF;
  }
  std::vector<uint32_t> before = dest.Pixels();
  SetROP2(dest.dc(), R2_NOT);
  BitBlt(dest.dc(), 0, 0, 8, 8, source.dc(), 0, 0, SRCINVERT);
  EXPECT_NE(dest.Pixels(), before);
  BitBlt(dest.dc(), 0, 0, 8, 8, source.dc(), 0, 0, SRCINVERT);
  EXPECT_EQ(dest.Pixels(), before);
}

TEST(StretchBlt, DoublesByNearestNeighbourAndMirrors) {
  Canvas source(2, 2), dest(4, 4);
  source.Set(0, 0, 0x000001);
  source.Set(1, 0, 0x000002);
  source.Set(0, 1, 0x000003);
  source.Set(1, 1, 0x000004);
  StretchBlt(dest.dc(), 0, 0, 4, 4, source.dc(), 0, 0, 2, 2, SRCCOPY);
  EXPECT_EQ(dest.At(0, 0), 1u);
  EXPECT_EQ(dest.At(1, 1), 1u);
  EXPECT_EQ(dest.At(2, 0), 2u);
  EXPECT_EQ(dest.At(3, 3), 4u);
  StretchBlt(dest.dc(), 3, 0, -4, 4, source.dc(), 0, 0, 2, 2, SRCCOPY);
  EXPECT_EQ(dest.At(0, 0), 2u);
  EXPECT_EQ(dest.At(3, 0), 1u);
}

// Any int arguments have defined results: extents, origins and mirrored
// extents at the ends of the int range are clipped, never overflowed. Each
// row gives a blit and the pixels of an 8x8 destination it must leave marked.
TEST(StretchBlt, ExtremeArgumentsAreClippedWithoutOverflow) {
  constexpr int Max = INT_MAX, Min = INT_MIN;
  struct Case {
    int x, y, width, height, srcX, srcY, srcWidth, srcHeight;
    int marked;
  };
  const Case cases[] = {
      {0, 0, Max, Max, 0, 0, 4, 4, 64},  // scaled up so far that only source pixel 0 reaches the canvas
      {Max, Max, Max, Max, 0, 0, 4, 4, 0},   {Min, Min, Max, Max, 0, 0, 4, 4, 0},
      {0, 0, Min, Min, 0, 0, 4, 4, 1},  // runs backwards from pixel 0, mirrored
      {7, 7, Min, Min, 0, 0, 4, 4, 64},      {Max, 0, Min, 8, 0, 0, 4, 4, 64},
      {0, 0, 8, 8, Max, Max, Max, Max, 0},   {0, 0, 8, 8, Min, Min, Min, Min, 0},
      {0, 0, 8, 8, 3, 3, Min, Min, 0},       {0, 0, 8, 8, Min, 0, Max, 4, 0},
      {-Max, -Max, Max, Max, 0, 0, 1, 1, 0}, {-(Max - 4), -(Max - 4), Max, Max, 0, 0, 1, 1, 16},
      {0, 0, 8, 8, -3, 0, 2, 4, 0},          {Min, 0, Max, 8, 0, 0, Min, 4, 0},
  };
  for (const Case& c : cases) {
    Canvas source(4, 4, 0x0000FF), dest(8, 8);
    StretchBlt(dest.dc(), c.x, c.y, c.width, c.height, source.dc(), c.srcX, c.srcY, c.srcWidth, c.srcHeight, SRCCOPY);
    EXPECT_EQ(dest.Count(0x0000FF), c.marked) << c.x << " " << c.y << " " << c.width << " " << c.height << " " << c.srcX
                                              << " " << c.srcY << " " << c.srcWidth << " " << c.srcHeight;
  }
}

TEST(BitBlt, ExtremeArgumentsAreClippedWithoutOverflow) {
  constexpr int Max = INT_MAX, Min = INT_MIN;
  struct Case {
    int x, y, width, height, srcX, srcY;
    int marked;
  };
  const Case cases[] = {
      {Max, Max, Max, Max, 0, 0, 0}, {Min, Min, Max, Max, 0, 0, 0},     {0, 0, Max, Max, Min, Min, 0},
      {0, 0, Max, Max, Max, Max, 0}, {Min, Min, Max, Max, Min, Min, 0}, {-(Max - 4), 0, Max, 8, -(Max - 4), 0, 16},
      {2, 2, Max, Max, 0, 0, 16},    {0, 0, 8, 8, Max, Max, 0},
  };
  for (const Case& c : cases) {
    Canvas source(4, 4, 0x0000FF), dest(8, 8);
    BitBlt(dest.dc(), c.x, c.y, c.width, c.height, source.dc(), c.srcX, c.srcY, SRCCOPY);
    EXPECT_EQ(dest.Count(0x0000FF), c.marked)
        << c.x << " " << c.y << " " << c.width << " " << c.height << " " << c.srcX << " " << c.srcY;
    // The fill path, without a source.
    BitBlt(dest.dc(), c.x, c.y, c.width, c.height, nullptr, 0, 0, BLACKNESS);
    StretchBlt(dest.dc(), c.x, c.y, -c.width - 1, c.height, nullptr, 0, 0, 1, 1, BLACKNESS);
  }
}

TEST(SetDIBitsToDevice, BottomUpRowsLandTheRightWayUp) {
  Canvas dest(3, 3);
  BITMAPINFO info = DibInfo(2, 2, false);
  uint32_t bits[] = {0x0000AA, 0x0000BB, 0x0000CC, 0x0000DD};  // bottom row first
  EXPECT_EQ(SetDIBitsToDevice(dest.dc(), 1, 1, 2, 2, 0, 0, 0, 2, bits, &info, DIB_RGB_COLORS), 2);
  EXPECT_EQ(dest.At(1, 1), 0x0000CCu);
  EXPECT_EQ(dest.At(2, 1), 0x0000DDu);
  EXPECT_EQ(dest.At(1, 2), 0x0000AAu);
  EXPECT_EQ(dest.At(0, 0), kWhite);
  BITMAPINFO topDown = DibInfo(2, 2, true);
  SetDIBitsToDevice(dest.dc(), 0, 0, 2, 2, 0, 0, 0, 2, bits, &topDown, DIB_RGB_COLORS);
  EXPECT_EQ(dest.At(0, 0), 0x0000AAu);
  EXPECT_EQ(dest.At(1, 1), 0x0000DDu);
}

TEST(DibSection, BottomUpSectionIsDrawnInItsOwnRowOrder) {
  BITMAPINFO info = DibInfo(4, 3, false);
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, dib);
  SetPixel(dc, 1, 0, RGB(255, 0, 0));
  uint32_t* p = static_cast<uint32_t*>(bits);
  EXPECT_EQ(p[2 * 4 + 1], 0xFF0000u);  // the top row is last in memory
  EXPECT_EQ(qz::SurfaceOfDC(dc, nullptr), nullptr);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(dib);
}

// Tests see which drawing calls reached a window's pixels: memory bitmaps and
// reads are not such calls.
TEST_F(SurfaceDc, DrawsOnASurfaceAreRecordedWithTheirClipBounds) {
  Open(POINT{10, 10}, qz::Region(RECT{10, 10, 30, 25}));
  Canvas memory(8, 8);
  qz::StartRecordingDraws();
  RECT all{-100, -100, 100, 100};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  FillRect(memory.dc(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  BitBlt(memory.dc(), 0, 0, 8, 8, dc, 0, 0, SRCCOPY);
  GetPixel(dc, 2, 2);
  BitBlt(dc, 0, 0, 8, 8, memory.dc(), 0, 0, SRCCOPY);
  const std::vector<qz::RecordedDraw> draws = qz::StopRecordingDraws();
  ASSERT_EQ(draws.size(), 2u);
  for (const qz::RecordedDraw& draw : draws) {
    EXPECT_EQ(draw.area.left, 10);
    EXPECT_EQ(draw.area.top, 10);
    EXPECT_EQ(draw.area.right, 30);
    EXPECT_EQ(draw.area.bottom, 25);
  }
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  EXPECT_TRUE(qz::StopRecordingDraws().empty());
}

}  // namespace
