// Update regions, WM_PAINT generation, paint DCs and the pixels they reach.
#include "qzplatform/surface.h"
#include "user_support.h"

namespace usertest {
namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// Fills the whole client area with `color` on WM_PAINT, noting the order.
Handler Painter(COLORREF color, std::vector<HWND>* order = nullptr) {
  return [color, order](HWND h, UINT m, WPARAM, LPARAM, LRESULT* r) {
    if (m != WM_PAINT) return false;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    HBRUSH brush = CreateSolidBrush(color);
    RECT rc;
    GetClientRect(h, &rc);
    FillRect(dc, &rc, brush);
    DeleteObject(brush);
    EndPaint(h, &ps);
    if (order) order->push_back(h);
    *r = 0;
    return true;
  };
}

class Paint : public UserTest {};

TEST_F(Paint, NewVisibleWindowIsErasedWithItsClassBackground) {
  HWND w = Top(10, 10, 40, 30);
  qz::StartRecording();
  qz::Pump();
  EXPECT_TRUE(SameSequence(qz::StopRecording(), {Posted(w, WM_PAINT), Sent(w, WM_ERASEBKGND)}));
  EXPECT_EQ(PixelAt(w, 0, 0), Pixel(kBackground));
  EXPECT_EQ(PixelAt(w, 39, 29), Pixel(kBackground));
}

TEST_F(Paint, InvalidAreasAccumulateAndEraseIsRememberedForAnyPart) {
  HWND w = Top(0, 0, 100, 100);
  qz::Pump();
  RECT first{10, 10, 20, 20};
  InvalidateRect(w, &first, FALSE);
  RECT second{50, 40, 60, 70};
  InvalidateRect(w, &second, TRUE);
  RECT box;
  EXPECT_TRUE(GetUpdateRect(w, &box, FALSE));
  EXPECT_EQ(box.left, 10);
  EXPECT_EQ(box.top, 10);
  EXPECT_EQ(box.right, 60);
  EXPECT_EQ(box.bottom, 70);
  qz::StartRecording();
  qz::Pump();
  EXPECT_EQ(Only(qz::StopRecording(), {WM_ERASEBKGND}).size(), 1u);
}

TEST_F(Paint, WithoutEraseRequestNoEraseMessage) {
  HWND w = Top(0, 0, 100, 100);
  qz::Pump();
  InvalidateRect(w, nullptr, FALSE);
  qz::StartRecording();
  qz::Pump();
  EXPECT_TRUE(SameSequence(qz::StopRecording(), {Posted(w, WM_PAINT)}));
}

TEST_F(Paint, ValidateRectRemovesPartsAndAllOfTheRegion) {
  HWND w = Top(0, 0, 100, 100);
  qz::Pump();
  RECT all{0, 0, 50, 50}, top{0, 0, 50, 25};
  InvalidateRect(w, &all, FALSE);
  ValidateRect(w, &top);
  RECT box;
  EXPECT_TRUE(GetUpdateRect(w, &box, FALSE));
  EXPECT_EQ(box.top, 25);
  EXPECT_EQ(box.bottom, 50);
  ValidateRect(w, nullptr);
  EXPECT_FALSE(GetUpdateRect(w, &box, FALSE));
  EXPECT_EQ(qz::Pump(), 0);
}

TEST_F(Paint, InvalidationIsClippedToTheClientArea) {
  HWND w = Top(0, 0, 100, 100);
  qz::Pump();
  RECT outside{200, 200, 300, 300};
  InvalidateRect(w, &outside, TRUE);
  EXPECT_FALSE(GetUpdateRect(w, nullptr, FALSE));
}

TEST_F(Paint, UpdateWindowPaintsAtOnceOnlyWhenSomethingIsInvalid) {
  HWND w = Top(0, 0, 100, 100);
  qz::Pump();
  qz::StartRecording();
  UpdateWindow(w);
  EXPECT_TRUE(qz::StopRecording().empty());
  InvalidateRect(w, nullptr, FALSE);
  qz::StartRecording();
  UpdateWindow(w);
  EXPECT_TRUE(SameSequence(qz::StopRecording(), {Sent(w, WM_PAINT)}));
  EXPECT_EQ(qz::Pump(), 0);
}

TEST_F(Paint, BeginPaintClipsToTheInvalidArea) {
  HWND w = Top(0, 0, 100, 100);
  qz::Pump();
  RECT clip{}, paint{};
  BOOL fErase = TRUE;
  SetHandler(w, [&](HWND h, UINT m, WPARAM, LPARAM, LRESULT*) {
    if (m != WM_PAINT) return false;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    GetClipBox(dc, &clip);
    paint = ps.rcPaint;
    fErase = ps.fErase;
    RECT rc{0, 0, 100, 100};
    HBRUSH brush = CreateSolidBrush(kRed);
    FillRect(dc, &rc, brush);
    DeleteObject(brush);
    EndPaint(h, &ps);
    return true;
  });
  RECT dirty{20, 30, 45, 60};
  InvalidateRect(w, &dirty, TRUE);
  qz::Pump();
  EXPECT_EQ(clip.left, 20);
  EXPECT_EQ(clip.top, 30);
  EXPECT_EQ(clip.right, 45);
  EXPECT_EQ(clip.bottom, 60);
  EXPECT_EQ(paint.left, 20);
  EXPECT_EQ(paint.bottom, 60);
  EXPECT_FALSE(fErase) << "the default erase handler erased";
  EXPECT_EQ(PixelAt(w, 20, 30), Pixel(kRed));
  EXPECT_EQ(PixelAt(w, 44, 59), Pixel(kRed));
  EXPECT_EQ(PixelAt(w, 19, 30), Pixel(kBackground));
  EXPECT_EQ(PixelAt(w, 45, 59), Pixel(kBackground));
}

TEST_F(Paint, EraseHandlerReturningZeroLeavesEraseToThePainter) {
  HWND w = Top(0, 0, 100, 100);
  BOOL fErase = FALSE;
  SetHandler(w, [&](HWND h, UINT m, WPARAM, LPARAM, LRESULT* r) {
    if (m == WM_ERASEBKGND) return *r = 0, true;
    if (m != WM_PAINT) return false;
    PAINTSTRUCT ps;
    BeginPaint(h, &ps);
    fErase = ps.fErase;
    EndPaint(h, &ps);
    return true;
  });
  qz::Pump();
  EXPECT_TRUE(fErase);
}

TEST_F(Paint, ChildrenPaintAfterTheirParentAndSurviveItsRepaint) {
  HWND parent = Top(0, 0, 100, 100);
  HWND child = Child(parent, 1, 10, 10, 20, 20);
  std::vector<HWND> order;
  SetHandler(parent, Painter(kRed, &order));
  SetHandler(child, Painter(kGreen, &order));
  qz::Pump();
  EXPECT_EQ(order, (std::vector<HWND>{parent, child}));
  order.clear();
  InvalidateRect(parent, nullptr, TRUE);
  qz::Pump();
  EXPECT_EQ(order, (std::vector<HWND>{parent, child}));
  EXPECT_EQ(PixelAt(parent, 5, 5), Pixel(kRed));
  EXPECT_EQ(PixelAt(child, 0, 0), Pixel(kGreen));
  EXPECT_EQ(PixelAt(child, 19, 19), Pixel(kGreen));
}

TEST_F(Paint, OverlappingSiblingsPaintBottomFirstSoTheFirstCreatedShows) {
  HWND parent = Top(0, 0, 100, 100);
  HWND first = Child(parent, 1, 0, 0, 60, 60);
  HWND second = Child(parent, 2, 20, 20, 60, 60);
  std::vector<HWND> order;
  SetHandler(first, Painter(kGreen, &order));
  SetHandler(second, Painter(kBlue, &order));
  qz::Pump();
  EXPECT_EQ(order, (std::vector<HWND>{second, first}));
  EXPECT_EQ(PixelAt(parent, 30, 30), Pixel(kGreen));
  EXPECT_EQ(PixelAt(parent, 70, 70), Pixel(kBlue));
  order.clear();
  RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  EXPECT_EQ(order, (std::vector<HWND>{second, first}));
  EXPECT_EQ(PixelAt(parent, 30, 30), Pixel(kGreen));
}

TEST_F(Paint, ParentWithClipChildrenLeavesChildrenAlone) {
  HWND parent = Top(0, 0, 100, 100, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
  HWND child = Child(parent, 1, 10, 10, 20, 20);
  std::vector<HWND> order;
  SetHandler(parent, Painter(kRed, &order));
  SetHandler(child, Painter(kGreen, &order));
  qz::Pump();
  order.clear();
  InvalidateRect(parent, nullptr, TRUE);
  qz::Pump();
  EXPECT_EQ(order, std::vector<HWND>{parent});
  EXPECT_EQ(PixelAt(child, 5, 5), Pixel(kGreen));
}

TEST_F(Paint, PartialParentInvalidationReachesOnlyOverlappingChildParts) {
  HWND parent = Top(0, 0, 100, 100);
  HWND child = Child(parent, 1, 10, 10, 20, 20);
  HWND far = Child(parent, 2, 60, 60, 20, 20);
  qz::Pump();
  RECT r{0, 0, 15, 15};
  InvalidateRect(parent, &r, FALSE);
  RECT box;
  ASSERT_TRUE(GetUpdateRect(child, &box, FALSE));
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.right, 5);
  EXPECT_EQ(box.bottom, 5);
  EXPECT_FALSE(GetUpdateRect(far, &box, FALSE));
}

TEST_F(Paint, CaptureShowsTheWindowWithItsChildren) {
  HWND parent = Top(30, 40, 60, 50);
  HWND child = Child(parent, 1, 20, 10, 10, 10);
  SetHandler(parent, Painter(kBlue));
  SetHandler(child, Painter(kGreen));
  qz::Pump();
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  ASSERT_TRUE(qz::CaptureWindow(parent, &width, &height, &pixels));
  ASSERT_EQ(width, 60);
  ASSERT_EQ(height, 50);
  EXPECT_EQ(pixels[0], Pixel(kBlue));
  EXPECT_EQ(pixels[15 * 60 + 25], Pixel(kGreen));
  ASSERT_TRUE(qz::CaptureWindow(child, &width, &height, &pixels));
  EXPECT_EQ(width, 10);
  EXPECT_EQ(pixels[0], Pixel(kGreen));
}

TEST_F(Paint, HidingAChildRepaintsWhatItCovered) {
  HWND parent = Top(0, 0, 100, 100);
  HWND child = Child(parent, 1, 10, 10, 20, 20);
  SetHandler(parent, Painter(kRed));
  SetHandler(child, Painter(kGreen));
  qz::Pump();
  ShowWindow(child, SW_HIDE);
  qz::Pump();
  EXPECT_EQ(PixelAt(parent, 15, 15), Pixel(kRed));
  EXPECT_FALSE(IsWindowVisible(child));
}

TEST_F(Paint, MovingAChildRepaintsOldAndNewPlaces) {
  HWND parent = Top(0, 0, 100, 100);
  HWND child = Child(parent, 1, 10, 10, 20, 20);
  SetHandler(parent, Painter(kRed));
  SetHandler(child, Painter(kGreen));
  qz::Pump();
  qz::StartRecording();
  MoveWindow(child, 50, 50, 30, 30, TRUE);
  qz::Pump();
  auto sizes = Only(qz::StopRecording(), {WM_SIZE});
  EXPECT_TRUE(SameSequence(sizes, {Sent(child, WM_SIZE, 0, MAKELPARAM(30, 30))}));
  EXPECT_EQ(PixelAt(parent, 15, 15), Pixel(kRed));
  EXPECT_EQ(PixelAt(parent, 79, 79), Pixel(kGreen));
}

TEST_F(Paint, OnlyASizeChangeSendsWmSize) {
  HWND parent = Top(0, 0, 100, 100);
  HWND child = Child(parent, 1, 10, 10, 20, 20);
  qz::StartRecording();
  SetWindowPos(child, nullptr, 30, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_TRUE(Only(qz::StopRecording(), {WM_SIZE}).empty());
}

TEST_F(Paint, ClipSiblingsKeepsADrawingOutOfTheSiblingAbove) {
  HWND parent = Top(0, 0, 100, 100);
  HWND above = Child(parent, 2, 25, 25, 50, 50);
  HWND below = Child(parent, 1, 0, 0, 50, 50, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
  SetHandler(above, Painter(kGreen));
  qz::Pump();
  HDC dc = GetDC(below);
  HBRUSH brush = CreateSolidBrush(kRed);
  RECT rc{0, 0, 50, 50};
  FillRect(dc, &rc, brush);
  DeleteObject(brush);
  EXPECT_EQ(ReleaseDC(below, dc), 1);
  EXPECT_EQ(PixelAt(below, 10, 10), Pixel(kRed));
  EXPECT_EQ(PixelAt(above, 5, 5), Pixel(kGreen));
}

// A DC taken after any change of the layout sees the new layout, however
// many DCs the window had before.
TEST_F(Paint, ADCsClipFollowsEveryLayoutChange) {
  struct Case {
    const char* change;
    void (*apply)(HWND parent, HWND below, HWND above);
    LONG clipRight;  // of `below`'s clip box: the sibling above covers x >= 25 until changed
  };
  const Case cases[] = {
      {"sibling moved away", [](HWND, HWND, HWND above) { SetWindowPos(above, nullptr, 60, 0, 20, 20, SWP_NOZORDER); },
       50},
      {"sibling hidden", [](HWND, HWND, HWND above) { ShowWindow(above, SW_HIDE); }, 50},
      {"sibling put below",
       [](HWND, HWND, HWND above) {
         SetWindowPos(above, reinterpret_cast<HWND>(1) /* HWND_BOTTOM */, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
       },
       50},
      {"clip siblings turned off",
       [](HWND, HWND below, HWND) { SetWindowLongA(below, GWL_STYLE, WS_CHILD | WS_VISIBLE); }, 50},
      {"window resized", [](HWND, HWND below, HWND) { SetWindowPos(below, nullptr, 0, 0, 20, 50, SWP_NOZORDER); }, 20},
      {"parent moved off its surface's corner",
       [](HWND parent, HWND, HWND) { SetWindowPos(parent, nullptr, 30, 0, 70, 100, SWP_NOZORDER); }, 25},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.change);
    HWND top = Top(0, 0, 100, 100);
    HWND parent = Child(top, 3, 0, 0, 100, 100);
    HWND above = Child(parent, 2, 25, 0, 25, 50);
    HWND below = Child(parent, 1, 0, 0, 50, 50, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS);
    qz::Pump();
    RECT box;
    HDC dc = GetDC(below);
    GetClipBox(dc, &box);
    ReleaseDC(below, dc);
    EXPECT_EQ(box.right, 25);
    c.apply(parent, below, above);
    qz::Pump();
    dc = GetDC(below);
    GetClipBox(dc, &box);
    ReleaseDC(below, dc);
    EXPECT_EQ(box.right, c.clipRight);
    DestroyWindow(top);
  }
}

TEST_F(Paint, WindowDCOfAHiddenWindowDrawsNothing) {
  HWND parent = Top(0, 0, 100, 100);
  HWND hidden = Child(parent, 1, 0, 0, 50, 50, WS_CHILD);
  qz::Pump();
  HDC dc = GetDC(hidden);
  ASSERT_NE(dc, nullptr);
  RECT box;
  EXPECT_EQ(GetClipBox(dc, &box), NULLREGION);
  ReleaseDC(hidden, dc);
}

TEST_F(Paint, DCsAreClippedToTheParentsClientArea) {
  HWND parent = Top(0, 0, 100, 100);
  HWND child = Child(parent, 1, 80, 80, 50, 50);
  qz::Pump();
  HDC dc = GetDC(child);
  RECT box;
  GetClipBox(dc, &box);
  ReleaseDC(child, dc);
  EXPECT_EQ(box.right, 20);
  EXPECT_EQ(box.bottom, 20);
}

TEST_F(Paint, BorderAndClientEdgeInsetTheClientAreaAndAreDrawn) {
  HWND parent = Top(0, 0, 100, 100);
  HWND bordered = Child(parent, 1, 10, 10, 30, 30, WS_CHILD | WS_VISIBLE | WS_BORDER);
  HWND edged = Child(parent, 2, 50, 10, 30, 30, WS_CHILD | WS_VISIBLE, WS_EX_CLIENTEDGE);
  SetHandler(bordered, Painter(kGreen));
  SetHandler(edged, Painter(kGreen));
  qz::Pump();
  RECT rc;
  GetClientRect(bordered, &rc);
  EXPECT_EQ(rc.right, 28);
  GetClientRect(edged, &rc);
  EXPECT_EQ(rc.right, 26);
  POINT origin{0, 0};
  ClientToScreen(bordered, &origin);
  EXPECT_EQ(origin.x, 11);
  EXPECT_EQ(PixelAt(bordered, -1, -1), 0u) << "black border";
  EXPECT_EQ(PixelAt(bordered, 0, 0), Pixel(kGreen));
  EXPECT_EQ(PixelAt(edged, -1, -1), Pixel(GetSysColor(COLOR_3DDKSHADOW)));
  EXPECT_EQ(PixelAt(edged, -2, -2), Pixel(GetSysColor(COLOR_BTNSHADOW)));
  EXPECT_EQ(PixelAt(edged, 26, 26), Pixel(GetSysColor(COLOR_3DLIGHT)));
  EXPECT_EQ(PixelAt(edged, 0, 0), Pixel(kGreen));
}

TEST_F(Paint, PaintHandlerThatNeverValidatesDoesNotRepeatForever) {
  HWND w = Top(0, 0, 100, 100);
  int paints = 0;
  SetHandler(w, [&](HWND, UINT m, WPARAM, LPARAM, LRESULT*) {
    if (m == WM_PAINT) return ++paints, true;
    return false;
  });
  qz::Pump();
  EXPECT_EQ(paints, 1);
}

TEST_F(Paint, RedrawWindowInvalidatesValidatesAndUpdatesNow) {
  HWND parent = Top(0, 0, 100, 100, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN);
  HWND child = Child(parent, 1, 10, 10, 20, 20);
  qz::Pump();
  qz::StartRecording();
  RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  EXPECT_TRUE(SameSequence(qz::StopRecording(), {Sent(parent, WM_PAINT), Sent(child, WM_PAINT)}));
  RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  RedrawWindow(parent, nullptr, nullptr, RDW_VALIDATE | RDW_ALLCHILDREN);
  EXPECT_EQ(qz::Pump(), 0);
}

TEST_F(Paint, RedrawOffStopsPaintingUntilTurnedBackOn) {
  HWND w = Top(0, 0, 100, 100);
  qz::Pump();
  SendMessageA(w, WM_SETREDRAW, FALSE, 0);
  InvalidateRect(w, nullptr, TRUE);
  EXPECT_EQ(qz::Pump(), 0);
  SendMessageA(w, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(w, nullptr, TRUE);
  EXPECT_EQ(qz::Pump(), 1);
}

TEST_F(Paint, ParentDCClassMayDrawBeyondItsOwnRectangle) {
  WNDCLASSA wc{};
  wc.style = CS_PARENTDC;
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "ParentDC";
  RegisterClassA(&wc);
  HWND parent = Top(0, 0, 100, 100);
  HWND child = CreateWindowExA(0, "ParentDC", "", WS_CHILD | WS_VISIBLE, 20, 20, 10, 10, parent,
                               reinterpret_cast<HMENU>(1), nullptr, nullptr);
  HWND plain = Child(parent, 2, 60, 20, 10, 10);
  qz::Pump();
  HBRUSH brush = CreateSolidBrush(kRed);
  RECT wide{-5, 0, 15, 10};
  for (HWND h : {child, plain}) {
    HDC dc = GetDC(h);
    FillRect(dc, &wide, brush);
    ReleaseDC(h, dc);
  }
  DeleteObject(brush);
  EXPECT_EQ(PixelAt(parent, 16, 20), Pixel(kRed));
  EXPECT_EQ(PixelAt(parent, 56, 20), Pixel(kBackground));
}

TEST_F(Paint, SavedPngHasTheWindowSize) {
  HWND w = Top(0, 0, 12, 7);
  qz::Pump();
  std::string path = ::testing::TempDir() + "user_paint_window.png";
  ASSERT_TRUE(qz::SaveWindowPng(w, path));
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  ASSERT_TRUE(qz::ReadPng(path, &width, &height, &pixels));
  EXPECT_EQ(width, 12);
  EXPECT_EQ(height, 7);
  EXPECT_EQ(pixels[0] & 0xffffff, Pixel(kBackground));
}

}  // namespace
}  // namespace usertest
