#include "controls_fixture.h"

namespace controls_test {
namespace {

struct Scroll {
  UINT message;
  int code;
  int pos;
  bool operator==(const Scroll&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Scroll& s) {
  return out << (s.message == WM_HSCROLL ? "H" : "V") << "(" << s.code << "," << s.pos << ")";
}

class TrackBar : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    InitCommonControls();
  }

  HWND MakeBar(DWORD style = 0) {
    bar_ = Make(TRACKBAR_CLASSA, "", style, 10, 10, (style & TBS_VERT) ? 30 : 216, (style & TBS_VERT) ? 216 : 30, 7);
    qz::Pump();
    ClearLog();
    return bar_;
  }

  std::vector<Scroll> Scrolls() const {
    std::vector<Scroll> out;
    for (const ParentMessage& m : log_) {
      if (m.message != WM_HSCROLL && m.message != WM_VSCROLL) continue;
      EXPECT_EQ(reinterpret_cast<HWND>(m.lParam), bar_);
      out.push_back({m.message, LOWORD(m.wParam), HIWORD(m.wParam)});
    }
    return out;
  }

  int Pos() const { return static_cast<int>(SendMessageA(bar_, TBM_GETPOS, 0, 0)); }

  HWND bar_ = nullptr;
};

TEST_F(TrackBar, SetPosClampsAndSendsNothing) {
  MakeBar();
  SendMessageA(bar_, TBM_SETRANGE, TRUE, MAKELPARAM(10, 50));
  SendMessageA(bar_, TBM_SETPOS, TRUE, 30);
  EXPECT_EQ(Pos(), 30);
  SendMessageA(bar_, TBM_SETPOS, TRUE, 99);
  EXPECT_EQ(Pos(), 50);
  SendMessageA(bar_, TBM_SETPOS, TRUE, -4);
  EXPECT_EQ(Pos(), 10);
  EXPECT_TRUE(Scrolls().empty());
  EXPECT_EQ(SendMessageA(bar_, TBM_GETRANGEMIN, 0, 0), 10);
  EXPECT_EQ(SendMessageA(bar_, TBM_GETRANGEMAX, 0, 0), 50);
}

TEST_F(TrackBar, NarrowingTheRangeMovesThePositionInside) {
  MakeBar();
  SendMessageA(bar_, TBM_SETPOS, TRUE, 80);
  SendMessageA(bar_, TBM_SETRANGEMAX, TRUE, 60);
  EXPECT_EQ(Pos(), 60);
  SendMessageA(bar_, TBM_SETRANGEMIN, TRUE, 70);
  EXPECT_EQ(Pos(), 70);
}

TEST_F(TrackBar, KeyStepsNotifyAndKeyUpEndsTheTrack) {
  MakeBar();
  SetFocus(bar_);
  SendMessageA(bar_, TBM_SETPAGESIZE, 0, 10);
  qz::PressKey(VK_RIGHT);
  qz::PressKey(VK_NEXT);
  qz::PressKey(VK_END);
  qz::PressKey(VK_LEFT);
  EXPECT_EQ(Scrolls(), (std::vector<Scroll>{{WM_HSCROLL, TB_LINEDOWN, 0},
                                            {WM_HSCROLL, TB_ENDTRACK, 0},
                                            {WM_HSCROLL, TB_PAGEDOWN, 0},
                                            {WM_HSCROLL, TB_ENDTRACK, 0},
                                            {WM_HSCROLL, TB_BOTTOM, 0},
                                            {WM_HSCROLL, TB_ENDTRACK, 0},
                                            {WM_HSCROLL, TB_LINEUP, 0},
                                            {WM_HSCROLL, TB_ENDTRACK, 0}}));
  EXPECT_EQ(Pos(), 99);
}

TEST_F(TrackBar, StepAtTheEndOfTheRangeOnlyEndsTheTrack) {
  MakeBar();
  SetFocus(bar_);
  qz::PressKey(VK_HOME);
  EXPECT_EQ(Scrolls(), (std::vector<Scroll>{{WM_HSCROLL, TB_ENDTRACK, 0}}));
}

TEST_F(TrackBar, VerticalBarReportsWithVScroll) {
  MakeBar(TBS_VERT);
  SetFocus(bar_);
  qz::PressKey(VK_DOWN);
  EXPECT_EQ(Scrolls(), (std::vector<Scroll>{{WM_VSCROLL, TB_LINEDOWN, 0}, {WM_VSCROLL, TB_ENDTRACK, 0}}));
}

TEST_F(TrackBar, DraggingTheThumbTracksThenReportsThePositionAndEnds) {
  MakeBar();
  // Range 0..100 over 216 pixels: the thumb's centre is at x = 8 for 0 and x = 207 for 100.
  qz::InjectMouseAt(bar_, WM_LBUTTONDOWN, 8, 14);
  qz::InjectMouseAt(bar_, WM_MOUSEMOVE, 108, 14);
  qz::InjectMouseAt(bar_, WM_MOUSEMOVE, 400, 14);
  qz::InjectMouseAt(bar_, WM_LBUTTONUP, 400, 14);
  qz::Pump();
  EXPECT_EQ(Scrolls(), (std::vector<Scroll>{{WM_HSCROLL, TB_THUMBTRACK, 50},
                                            {WM_HSCROLL, TB_THUMBTRACK, 100},
                                            {WM_HSCROLL, TB_THUMBPOSITION, 100},
                                            {WM_HSCROLL, TB_ENDTRACK, 0}}));
  EXPECT_EQ(Pos(), 100);
  EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(TrackBar, PressBesideTheThumbPagesUntilItReachesThePointer) {
  MakeBar();
  qz::InjectMouseAt(bar_, WM_LBUTTONDOWN, 158, 14);
  qz::Pump();
  EXPECT_EQ(Pos(), 20);
  qz::AdvanceClock(1000);
  EXPECT_EQ(Pos(), 80);
  qz::InjectMouseAt(bar_, WM_LBUTTONUP, 158, 14);
  qz::Pump();
  std::vector<Scroll> scrolls = Scrolls();
  ASSERT_EQ(scrolls.size(), 5u);
  EXPECT_EQ(scrolls[0], (Scroll{WM_HSCROLL, TB_PAGEDOWN, 0}));
  EXPECT_EQ(scrolls.back(), (Scroll{WM_HSCROLL, TB_ENDTRACK, 0}));
}

TEST_F(TrackBar, ThumbIsDrawnWhereThePositionIs) {
  MakeBar();
  SendMessageA(bar_, TBM_SETPOS, TRUE, 100);
  qz::Pump();
  uint32_t face = SysPixel(COLOR_BTNFACE);
  // The raised thumb's dark lower edge, under its centre.
  EXPECT_TRUE(IsDark(Pixel(bar_, 207, 21)));
  EXPECT_EQ(Pixel(bar_, 8, 21), face);
}

}  // namespace
}  // namespace controls_test
