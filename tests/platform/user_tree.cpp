// The window tree, window longs and coordinates.
#include <cstdint>

#include "user_support.h"

namespace usertest {
namespace {

class Tree : public UserTest {};

TEST_F(Tree, ChildrenAreListedInCreationOrder) {
  HWND top = Top(0, 0, 100, 100);
  HWND a = Child(top, 1, 0, 0, 10, 10);
  HWND b = Child(top, 2, 0, 0, 10, 10);
  HWND c = Child(top, 3, 0, 0, 10, 10);
  EXPECT_EQ(GetWindow(top, GW_CHILD), a);
  EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
  EXPECT_EQ(GetWindow(c, GW_HWNDNEXT), nullptr);
  EXPECT_EQ(GetWindow(b, GW_HWNDPREV), a);
  EXPECT_EQ(GetWindow(b, GW_HWNDLAST), c);
  EXPECT_EQ(GetDlgItem(top, 2), b);
  EXPECT_EQ(GetDlgCtrlID(c), 3);
  EXPECT_EQ(GetParent(a), top);
  EXPECT_TRUE(IsChild(top, a));
  EXPECT_FALSE(IsChild(a, top));
}

TEST_F(Tree, OverlappedTopLevelHasNoParentAndDesktopIsItsCoordinateParent) {
  HWND top = Top(40, 50, 100, 100, WS_OVERLAPPED);
  EXPECT_EQ(GetParent(top), nullptr);
  POINT pt{0, 0};
  MapWindowPoints(top, GetDesktopWindow(), &pt, 1);
  EXPECT_EQ(pt.x, 40);
  EXPECT_EQ(pt.y, 50);
}

TEST_F(Tree, CoordinatesMapThroughNestedClientAreas) {
  HWND top = Top(100, 200, 300, 300, WS_POPUP | WS_VISIBLE | WS_BORDER);
  HWND panel = Child(top, 1, 10, 20, 100, 100, WS_CHILD | WS_VISIBLE, WS_EX_CLIENTEDGE);
  HWND leaf = Child(panel, 2, 5, 5, 10, 10);
  POINT pt{1, 1};
  ClientToScreen(leaf, &pt);
  EXPECT_EQ(pt.x, 100 + 1 + 10 + 2 + 5 + 1);
  EXPECT_EQ(pt.y, 200 + 1 + 20 + 2 + 5 + 1);
  ScreenToClient(top, &pt);
  EXPECT_EQ(pt.x, 10 + 2 + 5 + 1);
  RECT wr;
  GetWindowRect(leaf, &wr);
  EXPECT_EQ(wr.left, 118);
  EXPECT_EQ(wr.right, 128);
  POINT pts[2] = {{0, 0}, {10, 10}};
  MapWindowPoints(leaf, top, pts, 2);
  EXPECT_EQ(pts[1].x, 27);
}

// Rectangles at the ends of the int range have defined geometry: extents,
// parent offsets and mapped points saturate instead of overflowing, and
// painting such windows is safe.
TEST_F(Tree, GeometryNearTheIntLimitsSaturates) {
  constexpr int Max = INT32_MAX, Min = INT32_MIN;
  HWND top = Top(Max - 10, Min + 10, Max, Max, WS_POPUP | WS_VISIBLE | WS_BORDER);
  RECT rc;
  GetWindowRect(top, &rc);
  EXPECT_EQ(rc.right, Max);
  EXPECT_EQ(rc.bottom, 9);
  GetClientRect(top, &rc);
  EXPECT_EQ(rc.right, 8);
  EXPECT_GE(rc.bottom, 0);
  HWND child = Child(top, 1, Max, Min, Max, Max, WS_CHILD | WS_VISIBLE, WS_EX_CLIENTEDGE);
  HWND leaf = Child(child, 2, Max - 1, Max - 1, 5, 5);
  POINT pt{Max, Min};
  ClientToScreen(leaf, &pt);
  EXPECT_EQ(pt.x, Max);
  ScreenToClient(leaf, &pt);
  MapWindowPoints(leaf, top, &pt, 1);
  GetWindowRect(leaf, &rc);
  EXPECT_EQ(rc.right, Max);
  GetClientRect(child, &rc);
  EXPECT_GE(rc.right, 0);
  SetWindowPos(child, nullptr, Min, Min, Max, Max, SWP_NOZORDER);
  GetWindowRect(child, &rc);
  EXPECT_LE(rc.left, rc.right);
  SetWindowPos(child, nullptr, Max, Max, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  MoveWindow(top, Min, Min, Max, Max, TRUE);
  InvalidateRect(top, nullptr, TRUE);
  UpdateWindow(top);
  EXPECT_TRUE(IsWindow(leaf));
}

TEST_F(Tree, SetParentMovesAWindowBetweenParents) {
  HWND a = Top(0, 0, 100, 100);
  HWND b = Top(200, 0, 100, 100);
  HWND c = Child(a, 1, 5, 5, 10, 10);
  EXPECT_EQ(SetParent(c, b), a);
  EXPECT_EQ(GetParent(c), b);
  EXPECT_EQ(GetWindow(a, GW_CHILD), nullptr);
  EXPECT_EQ(SetParent(b, c), nullptr) << "a window cannot go under its own child";
  POINT pt{0, 0};
  ClientToScreen(c, &pt);
  EXPECT_EQ(pt.x, 205);
}

TEST_F(Tree, StyleAndIdentityLongs) {
  HWND top = Top(0, 0, 100, 100);
  HWND c = Child(top, 9, 0, 0, 10, 10, WS_CHILD | WS_VISIBLE | WS_TABSTOP, WS_EX_CLIENTEDGE);
  EXPECT_EQ(GetWindowLongA(c, GWL_STYLE), static_cast<LONG_PTR>(WS_CHILD | WS_VISIBLE | WS_TABSTOP));
  EXPECT_EQ(GetWindowLongA(c, GWL_EXSTYLE), static_cast<LONG_PTR>(WS_EX_CLIENTEDGE));
  EXPECT_EQ(GetWindowLongA(c, GWL_ID), 9);
  EXPECT_EQ(GetWindowLongA(c, GWL_HWNDPARENT), reinterpret_cast<LONG_PTR>(top));
  SetWindowLongA(c, GWL_USERDATA, 1234);
  EXPECT_EQ(GetWindowLongA(c, GWL_USERDATA), 1234);
  SetWindowLongA(c, GWL_ID, 33);
  EXPECT_EQ(GetDlgItem(top, 33), c);
}

TEST_F(Tree, StyleBitsAloneDoNotShowAWindow) {
  HWND top = Top(0, 0, 100, 100);
  HWND c = Child(top, 1, 0, 0, 10, 10, WS_CHILD);
  SetWindowLongA(c, GWL_STYLE, WS_CHILD | WS_VISIBLE);
  EXPECT_TRUE(IsWindowVisible(c)) << "the bit is recorded";
  qz::StartRecording();
  qz::Pump();
  EXPECT_TRUE(Only(qz::StopRecording(), {WM_PAINT}).size() <= 1u);
  ShowWindow(c, SW_HIDE);
  EXPECT_TRUE(ShowWindow(c, SW_HIDE) == FALSE);
  EXPECT_FALSE(ShowWindow(c, SW_SHOW));
  EXPECT_TRUE(IsWindowVisible(c));
}

TEST_F(Tree, VisibilityNeedsEveryAncestorVisible) {
  HWND top = Top(0, 0, 100, 100, WS_POPUP);
  HWND c = Child(top, 1, 0, 0, 10, 10);
  EXPECT_FALSE(IsWindowVisible(c));
  ShowWindow(top, SW_SHOW);
  EXPECT_TRUE(IsWindowVisible(c));
}

TEST_F(Tree, ChildWindowFromPointFindsImmediateChildrenEvenHidden) {
  HWND top = Top(0, 0, 100, 100);
  HWND c = Child(top, 1, 10, 10, 30, 30, WS_CHILD);
  Child(c, 2, 0, 0, 5, 5);
  EXPECT_EQ(ChildWindowFromPoint(top, POINT{12, 12}), c);
  EXPECT_EQ(ChildWindowFromPoint(top, POINT{50, 50}), top);
  EXPECT_EQ(ChildWindowFromPoint(top, POINT{150, 50}), nullptr);
}

TEST_F(Tree, ZOrderCanBeChangedWithSetWindowPos) {
  HWND top = Top(0, 0, 100, 100);
  HWND a = Child(top, 1, 0, 0, 50, 50);
  HWND b = Child(top, 2, 0, 0, 50, 50);
  EXPECT_EQ(WindowFromPoint(POINT{10, 10}), a);
  SetWindowPos(b, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);  // to the top
  EXPECT_EQ(WindowFromPoint(POINT{10, 10}), b);
  EXPECT_EQ(GetWindow(top, GW_CHILD), b);
  SetWindowPos(b, a, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);  // just below a
  EXPECT_EQ(WindowFromPoint(POINT{10, 10}), a);
  EXPECT_EQ(GetWindow(top, GW_CHILD), a);
  SetWindowPos(a, reinterpret_cast<HWND>(1), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);  // HWND_BOTTOM
  EXPECT_EQ(GetWindow(top, GW_CHILD), b);
  EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), a);
}

// A new child goes to the bottom of its siblings, so of two overlapping
// siblings the first created is on top: found by the point functions, given
// the mouse and first of the children.
TEST_F(Tree, FirstCreatedOfOverlappingSiblingsIsOnTop) {
  HWND top = Top(0, 0, 100, 100);
  HWND first = Child(top, 1, 0, 0, 60, 60);
  HWND second = Child(top, 2, 20, 20, 60, 60);
  EXPECT_EQ(WindowFromPoint(POINT{30, 30}), first);
  EXPECT_EQ(WindowFromPoint(POINT{70, 70}), second);
  EXPECT_EQ(ChildWindowFromPoint(top, POINT{30, 30}), first);
  EXPECT_EQ(GetWindow(top, GW_CHILD), first);
  EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), second);
  EXPECT_EQ(GetWindow(first, GW_HWNDLAST), second);
  qz::Pump();
  qz::StartRecording();
  qz::InjectMouse(WM_LBUTTONDOWN, POINT{30, 30});
  qz::Pump();
  EXPECT_TRUE(SameSequence(Only(qz::StopRecording(), {WM_LBUTTONDOWN}), {Posted(first, WM_LBUTTONDOWN)}));
}

// Top-level windows are the other way round: the newest is on top.
TEST_F(Tree, NewestTopLevelWindowIsOnTop) {
  HWND older = Top(0, 0, 50, 50);
  HWND newer = Top(0, 0, 50, 50);
  EXPECT_EQ(WindowFromPoint(POINT{10, 10}), newer);
  EXPECT_NE(older, newer);
}

}  // namespace
}  // namespace usertest
