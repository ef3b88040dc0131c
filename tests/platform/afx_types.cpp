#include <gtest/gtest.h>

#include <cstring>

#include "afxwin.h"

namespace {

TEST(CRect, IntersectionOfDisjointRectsIsAllZeros) {
  CRect a(0, 0, 10, 10);
  CRect b(10, 0, 20, 10);
  CRect result(1, 2, 3, 4);
  EXPECT_FALSE(result.IntersectRect(a, b));
  EXPECT_TRUE(result.IsRectNull());
  EXPECT_EQ(a & CRect(5, 5, 15, 15), CRect(5, 5, 10, 10));
}

TEST(CRect, UnionLeavesEmptyRectsOut) {
  CRect empty(50, 50, 50, 60);
  CRect box(0, 0, 10, 10);
  EXPECT_EQ(box | empty, box);
  CRect both;
  EXPECT_FALSE(both.UnionRect(empty, CRect(3, 3, 1, 1)));
  EXPECT_TRUE(both.IsRectNull());
  box |= CRect(20, 5, 30, 40);
  EXPECT_EQ(box, CRect(0, 0, 30, 40));
}

TEST(CRect, ContainsLeftAndTopButNotRightAndBottom) {
  CRect box(2, 3, 6, 8);
  EXPECT_TRUE(box.PtInRect(CPoint(2, 3)));
  EXPECT_TRUE(box.PtInRect(CPoint(5, 7)));
  EXPECT_FALSE(box.PtInRect(CPoint(6, 7)));
  EXPECT_FALSE(box.PtInRect(CPoint(5, 8)));
  EXPECT_EQ(box.Width(), 4);
  EXPECT_EQ(box.Height(), 5);
}

TEST(CRect, CornersAreWritableInPlace) {
  CRect box(0, 0, 10, 10);
  box.TopLeft() = CPoint(-5, -6);
  box.BottomRight().Offset(1, 1);
  EXPECT_EQ(box, CRect(-5, -6, 11, 11));
}

TEST(CRect, InflateAndDeflateMoveEveryEdge) {
  CRect box(10, 10, 20, 20);
  box.InflateRect(2, 3);
  EXPECT_EQ(box, CRect(8, 7, 22, 23));
  box.DeflateRect(1, 2, 3, 4);
  EXPECT_EQ(box, CRect(9, 9, 19, 19));
  box.OffsetRect(CPoint(1, -9));
  EXPECT_EQ(box, CRect(10, 0, 20, 10));
}

TEST(CPoint, PackedMouseCoordinatesAreSigned) {
  CPoint point(MAKELPARAM(-3, 70));
  EXPECT_EQ(point.x, -3);
  EXPECT_EQ(point.y, 70);
}

TEST(CString, SubstringsClampOutOfRangeArguments) {
  CString text("abcdef");
  EXPECT_EQ(text.Left(10), "abcdef");
  EXPECT_EQ(text.Left(-1), "");
  EXPECT_EQ(text.Mid(4), "ef");
  EXPECT_EQ(text.Mid(2, 100), "cdef");
  EXPECT_EQ(text.Mid(9), "");
  EXPECT_EQ(text.Right(2), "ef");
  EXPECT_EQ(text.Right(99), "abcdef");
}

TEST(CString, BufferWritesBecomeTheValue) {
  CString text("abc");
  char* buffer = text.GetBuffer(10);
  strcpy(buffer, "longer one");
  text.ReleaseBuffer();
  EXPECT_EQ(text, "longer one");
  buffer = text.GetBuffer(0);
  buffer[3] = '\0';
  text.ReleaseBuffer();
  EXPECT_EQ(text.GetLength(), 3);
  text.GetBuffer(8);
  text.ReleaseBuffer(2);
  EXPECT_EQ(text, "lo");
}

TEST(CString, FormatIsNotLimitedBySize) {
  CString text;
  std::string big(500, 'z');
  text.Format("%s-%d", big.c_str(), 42);
  EXPECT_EQ(text.GetLength(), 503);
  EXPECT_EQ(text.Right(3), "-42");
}

TEST(CString, SearchingFindsPositionsOrMinusOne) {
  CString path("/clips/shot.01.png");
  EXPECT_EQ(path.Find('/'), 0);
  EXPECT_EQ(path.Find('/', 1), 6);
  EXPECT_EQ(path.Find("shot"), 7);
  EXPECT_EQ(path.Find("none"), -1);
  EXPECT_EQ(path.Find('x', 100), -1);
  EXPECT_EQ(path.ReverseFind('.'), 14);
  EXPECT_EQ(path.ReverseFind('#'), -1);
}

TEST(CString, CaseAndComparison) {
  CString text("MiXed");
  EXPECT_EQ(text.CompareNoCase("mixed"), 0);
  text.MakeUpper();
  EXPECT_EQ(text, "MIXED");
  text.MakeLower();
  EXPECT_EQ(text, "mixed");
  EXPECT_TRUE(CString("a") + "b" + 'c' == "abc");
  CString nullText(static_cast<LPCSTR>(nullptr));
  EXPECT_TRUE(nullText.IsEmpty());
}

}  // namespace
