#include <cstring>

#include "gdi_test_util.h"

using namespace gditest;

namespace {

TEST(GdiObjects, NewDcHasThePlatformDefaults) {
  HDC dc = CreateCompatibleDC(nullptr);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_PEN), GetStockObject(BLACK_PEN));
  EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), GetStockObject(SYSTEM_FONT));
  EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 255));
  EXPECT_EQ(GetTextColor(dc), RGB(0, 0, 0));
  EXPECT_EQ(GetBkMode(dc), OPAQUE);
  EXPECT_EQ(GetROP2(dc), R2_COPYPEN);
  EXPECT_EQ(GetTextAlign(dc), static_cast<UINT>(TA_LEFT | TA_TOP));
  BITMAP bm{};
  ASSERT_EQ(GetObjectA(GetCurrentObject(dc, OBJ_BITMAP), sizeof(bm), &bm), static_cast<int>(sizeof(bm)));
  EXPECT_EQ(bm.bmWidth, 1);
  EXPECT_EQ(bm.bmHeight, 1);
  EXPECT_EQ(GetObjectType(dc), static_cast<DWORD>(OBJ_MEMDC));
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 96);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 96);
  EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 32);
  DeleteDC(dc);
}

TEST(GdiObjects, SelectObjectReturnsThePreviousObjectOfTheSameType) {
  Canvas c(4, 4);
  HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
  EXPECT_EQ(SelectObject(c.dc(), red), GetStockObject(BLACK_PEN));
  EXPECT_EQ(SelectObject(c.dc(), blue), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(SelectObject(c.dc(), GetStockObject(WHITE_PEN)), red);
  EXPECT_EQ(SelectObject(c.dc(), GetStockObject(NULL_BRUSH)), blue);
  HRGN region = CreateRectRgn(0, 0, 2, 2);
  EXPECT_EQ(reinterpret_cast<intptr_t>(SelectObject(c.dc(), region)), SIMPLEREGION);
  EXPECT_EQ(SelectObject(c.dc(), reinterpret_cast<HGDIOBJ>(uintptr_t{0x12345678})), nullptr);
  EXPECT_EQ(SelectObject(nullptr, red), nullptr);
  EXPECT_TRUE(DeleteObject(red));
  EXPECT_TRUE(DeleteObject(blue));
  EXPECT_TRUE(DeleteObject(region));
}

TEST(GdiObjects, DeletingASelectedObjectFailsUntilItIsSelectedOut) {
  Canvas c(4, 4);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
  HGDIOBJ old = SelectObject(c.dc(), pen);
  EXPECT_FALSE(DeleteObject(pen));
  EXPECT_EQ(GetObjectType(pen), static_cast<DWORD>(OBJ_PEN));
  SelectObject(c.dc(), old);
  EXPECT_TRUE(DeleteObject(pen));
}

TEST(GdiObjects, StaleAndMadeUpHandlesFailWithoutHarm) {
  HBRUSH brush = CreateSolidBrush(RGB(9, 9, 9));
  ASSERT_TRUE(DeleteObject(brush));
  EXPECT_FALSE(DeleteObject(brush));
  EXPECT_EQ(GetObjectType(brush), 0u);
  LOGBRUSH lb{};
  EXPECT_EQ(GetObjectA(brush, sizeof(lb), &lb), 0);
  // A new object may reuse the slot; the old handle must not reach it.
  HBRUSH next = CreateSolidBrush(RGB(1, 1, 1));
  EXPECT_NE(next, brush);
  EXPECT_EQ(GetObjectType(brush), 0u);
  Canvas c(4, 4);
  EXPECT_EQ(SelectObject(c.dc(), brush), nullptr);
  RECT r{0, 0, 4, 4};
  EXPECT_EQ(FillRect(c.dc(), &r, brush), 0);
  EXPECT_EQ(c.Count(kWhite), 16);
  EXPECT_EQ(GetObjectType(reinterpret_cast<HGDIOBJ>(uintptr_t{0xdeadbeefcafe})), 0u);
  EXPECT_FALSE(DeleteDC(reinterpret_cast<HDC>(brush)));
  DeleteObject(next);
}

TEST(GdiObjects, DeletedDcHandleStaysDeadWhenTheDcIsReused) {
  HDC first = CreateCompatibleDC(nullptr);
  ASSERT_TRUE(DeleteDC(first));
  HDC second = CreateCompatibleDC(nullptr);
  EXPECT_NE(first, second);
  EXPECT_EQ(SetBkColor(first, RGB(1, 2, 3)), CLR_INVALID);
  EXPECT_FALSE(DeleteDC(first));
  EXPECT_EQ(GetBkColor(second), RGB(255, 255, 255));
  DeleteDC(second);
}

TEST(GdiObjects, StockObjectsSurviveDeleteObject) {
  for (int index : {WHITE_BRUSH, BLACK_BRUSH, NULL_BRUSH, WHITE_PEN, NULL_PEN, SYSTEM_FONT, DEFAULT_GUI_FONT}) {
    HGDIOBJ stock = GetStockObject(index);
    ASSERT_NE(stock, nullptr) << index;
    DeleteObject(stock);
    EXPECT_EQ(GetStockObject(index), stock);
    EXPECT_NE(GetObjectType(stock), 0u) << index;
  }
  HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
  DeleteObject(face);
  EXPECT_EQ(GetObjectType(face), static_cast<DWORD>(OBJ_BRUSH));
  EXPECT_EQ(GetStockObject(9), nullptr);
  EXPECT_EQ(GetStockObject(100), nullptr);
}

TEST(GdiObjects, ABitmapDrawsInOneMemoryDcAtATime) {
  HDC a = CreateCompatibleDC(nullptr), b = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(a, 8, 8);
  HGDIOBJ oldA = SelectObject(a, bitmap);
  EXPECT_NE(oldA, nullptr);
  EXPECT_EQ(SelectObject(b, bitmap), nullptr);
  EXPECT_FALSE(DeleteObject(bitmap));
  SelectObject(a, oldA);
  EXPECT_NE(SelectObject(b, bitmap), nullptr);
  DeleteDC(b);  // deleting the DC releases the bitmap
  EXPECT_TRUE(DeleteObject(bitmap));
  DeleteDC(a);
}

TEST(GdiObjects, GetObjectOfAFontReturnsTheCreatingLogFont) {
  LOGFONTA in{};
  in.lfHeight = -12;
  in.lfWeight = FW_BOLD;
  in.lfItalic = 1;
  std::strcpy(in.lfFaceName, "Arial");
  HFONT font = CreateFontIndirectA(&in);
  EXPECT_EQ(GetObjectA(font, 0, nullptr), static_cast<int>(sizeof(LOGFONTA)));
  LOGFONTA out{};
  EXPECT_EQ(GetObjectA(font, sizeof(out), &out), static_cast<int>(sizeof(LOGFONTA)));
  EXPECT_EQ(out.lfHeight, -12);
  EXPECT_EQ(out.lfWeight, FW_BOLD);
  EXPECT_EQ(out.lfItalic, 1);
  EXPECT_STREQ(out.lfFaceName, "Arial");
  // Selecting and drawing (realising the font) does not change what GetObject reports.
  Canvas c(40, 20);
  HGDIOBJ old = SelectObject(c.dc(), font);
  TextOutA(c.dc(), 0, 0, "Hi", 2);
  SelectObject(c.dc(), old);
  LOGFONTA again{};
  GetObjectA(font, sizeof(again), &again);
  EXPECT_EQ(std::memcmp(&again, &in, sizeof(in)), 0);
  // A short buffer gets what fits.
  LONG height = 0;
  EXPECT_EQ(GetObjectA(font, sizeof(height), &height), static_cast<int>(sizeof(height)));
  EXPECT_EQ(height, -12);
  DeleteObject(font);

  HFONT made = CreateFontA(20, 0, 0, 0, FW_NORMAL, 0, 1, 0, ANSI_CHARSET, 0, 0, 0, FF_SWISS, "Tahoma");
  GetObjectA(made, sizeof(out), &out);
  EXPECT_EQ(out.lfHeight, 20);
  EXPECT_EQ(out.lfUnderline, 1);
  EXPECT_STREQ(out.lfFaceName, "Tahoma");
  DeleteObject(made);
}

TEST(GdiObjects, GetObjectOfADibSectionGivesItsPixels) {
  BITMAPINFO info = DibInfo(5, 3, false);
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_NE(bits, nullptr);
  BITMAP bm{};
  ASSERT_EQ(GetObjectA(dib, sizeof(bm), &bm), static_cast<int>(sizeof(bm)));
  EXPECT_EQ(bm.bmWidth, 5);
  EXPECT_EQ(bm.bmHeight, 3);
  EXPECT_EQ(bm.bmWidthBytes, 20);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  EXPECT_EQ(bm.bmBits, bits);
  HBITMAP plain = CreateBitmap(2, 2, 1, 32, nullptr);
  GetObjectA(plain, sizeof(bm), &bm);
  EXPECT_EQ(bm.bmBits, nullptr);
  EXPECT_EQ(CreateBitmap(2, 2, 1, 8, nullptr), nullptr);
  BITMAPINFO bad = DibInfo(5, 3, false);
  bad.bmiHeader.biBitCount = 8;
  EXPECT_EQ(CreateDIBSection(nullptr, &bad, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
  EXPECT_EQ(bits, nullptr);
  DeleteObject(dib);
  DeleteObject(plain);
}

TEST(GdiObjects, CreateBitmapCopiesThirtyTwoBitRows) {
  uint32_t pixels[] = {0x112233, 0x445566, 0x778899, 0xAABBCC};
  HBITMAP bitmap = CreateBitmap(2, 2, 1, 32, pixels);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  EXPECT_EQ(GetPixel(dc, 1, 0), RGB(0x44, 0x55, 0x66));
  EXPECT_EQ(GetPixel(dc, 0, 1), RGB(0x77, 0x88, 0x99));
  EXPECT_EQ(GetPixel(dc, 2, 0), CLR_INVALID);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(bitmap);
}

TEST(GdiObjects, SaveDcAndRestoreDcBringBackStateAndObjects) {
  Canvas c(10, 10);
  HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
  int first = SaveDC(c.dc());
  EXPECT_EQ(first, 1);
  SelectObject(c.dc(), pen);
  SetBkColor(c.dc(), RGB(1, 2, 3));
  SetROP2(c.dc(), R2_XORPEN);
  IntersectClipRect(c.dc(), 0, 0, 2, 2);
  EXPECT_EQ(SaveDC(c.dc()), 2);
  SetTextColor(c.dc(), RGB(4, 5, 6));
  EXPECT_TRUE(RestoreDC(c.dc(), -1));
  EXPECT_EQ(GetTextColor(c.dc()), RGB(0, 0, 0));
  EXPECT_EQ(GetCurrentObject(c.dc(), OBJ_PEN), pen);
  EXPECT_TRUE(RestoreDC(c.dc(), first));
  EXPECT_EQ(GetCurrentObject(c.dc(), OBJ_PEN), GetStockObject(BLACK_PEN));
  EXPECT_EQ(GetBkColor(c.dc()), RGB(255, 255, 255));
  EXPECT_EQ(GetROP2(c.dc()), R2_COPYPEN);
  RECT box;
  GetClipBox(c.dc(), &box);
  EXPECT_TRUE(SameRect(box, RECT{0, 0, 10, 10})) << ToString(box);
  EXPECT_FALSE(RestoreDC(c.dc(), -1));
  EXPECT_FALSE(RestoreDC(c.dc(), 5));
  EXPECT_TRUE(DeleteObject(pen));  // restored out, so deletable
}

TEST(GdiObjects, RegionsCombineAndReportTheirType) {
  HRGN a = CreateRectRgn(0, 0, 10, 10), b = CreateRectRgn(5, 0, 15, 10), d = CreateRectRgn(0, 0, 0, 0);
  RECT box;
  EXPECT_EQ(CombineRgn(d, a, b, RGN_OR), SIMPLEREGION);
  GetRgnBox(d, &box);
  EXPECT_TRUE(SameRect(box, RECT{0, 0, 15, 10}));
  EXPECT_EQ(CombineRgn(d, a, b, RGN_AND), SIMPLEREGION);
  GetRgnBox(d, &box);
  EXPECT_TRUE(SameRect(box, RECT{5, 0, 10, 10}));
  EXPECT_EQ(CombineRgn(d, a, b, RGN_XOR), COMPLEXREGION);
  EXPECT_EQ(CombineRgn(d, a, a, RGN_DIFF), NULLREGION);
  EXPECT_EQ(CombineRgn(a, a, b, RGN_DIFF), SIMPLEREGION);  // the destination may be a source
  GetRgnBox(a, &box);
  EXPECT_TRUE(SameRect(box, RECT{0, 0, 5, 10}));
  EXPECT_EQ(CombineRgn(d, a, nullptr, RGN_COPY), SIMPLEREGION);
  EXPECT_EQ(CombineRgn(d, a, nullptr, RGN_OR), ERROR);
  DeleteObject(a);
  DeleteObject(b);
  DeleteObject(d);
}

TEST(GdiObjects, SystemColoursFollowTheClassicScheme) {
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), RGB(192, 192, 192));
  EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), RGB(128, 128, 128));
  EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), RGB(255, 255, 255));
  EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
  EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), RGB(0, 0, 128));
  EXPECT_EQ(GetSysColorBrush(COLOR_BTNFACE), GetSysColorBrush(COLOR_BTNFACE));
  LOGBRUSH lb{};
  GetObjectA(GetSysColorBrush(COLOR_HIGHLIGHT), sizeof(lb), &lb);
  EXPECT_EQ(lb.lbColor, RGB(0, 0, 128));
  EXPECT_EQ(GetSysColorBrush(-1), nullptr);
  EXPECT_EQ(GetSysColorBrush(1000), nullptr);
}

struct MulDivCase {
  int number, numerator, denominator, expected;
};

class MulDivRounding : public testing::TestWithParam<MulDivCase> {};

TEST_P(MulDivRounding, RoundsHalfAwayFromZero) {
  const MulDivCase& m = GetParam();
  EXPECT_EQ(MulDiv(m.number, m.numerator, m.denominator), m.expected)
      << m.number << "*" << m.numerator << "/" << m.denominator;
}

INSTANTIATE_TEST_SUITE_P(MulDiv, MulDivRounding,
                         testing::Values(MulDivCase{1, 1, 2, 1}, MulDivCase{-1, 1, 2, -1}, MulDivCase{1, -1, 2, -1},
                                         MulDivCase{-1, -1, 2, 1}, MulDivCase{1, 1, 3, 0}, MulDivCase{2, 1, 3, 1},
                                         MulDivCase{-2, 1, 3, -1}, MulDivCase{9, 96, 72, 12},
                                         MulDivCase{100000, 100000, 100000, 100000},
                                         MulDivCase{0x7FFFFFFF, 2, 2, 0x7FFFFFFF}, MulDivCase{0x7FFFFFFF, 2, 1, -1},
                                         MulDivCase{5, 5, 0, -1}, MulDivCase{7, 3, -2, -11}));

}  // namespace
