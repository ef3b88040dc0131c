#include "afx_fixture.h"

using afxtest::AfxTest;
using afxtest::Log;
using afxtest::LoggingClass;
using afxtest::LoggingWnd;
using Strings = std::vector<std::string>;

namespace {

class FilteringWnd : public LoggingWnd {
 public:
  using LoggingWnd::LoggingWnd;
  bool consume = false;
  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message != WM_USER) return FALSE;
    Log().push_back(name() + " PreTranslate");
    return consume;
  }
};

class FilteringApp : public CWinApp {
 public:
  bool consume = false;
  BOOL PreTranslateMessage(MSG* msg) override {
    if (msg->message != WM_USER) return FALSE;
    Log().push_back("app PreTranslate");
    return consume;
  }
};

class PreTranslation : public AfxTest {
 protected:
  void SetUp() override {
    AfxTest::SetUp();
    ASSERT_TRUE(top.CreateTop());
    ASSERT_TRUE(middle.CreateChild(&top, 1, RECT{0, 0, 150, 100}));
    ASSERT_TRUE(leaf.CreateChild(&middle, 2));
    app.m_pMainWnd = &top;
    qz::Pump();
    Log().clear();
  }

  FilteringApp app;
  FilteringWnd top{"top"};
  FilteringWnd middle{"middle"};
  FilteringWnd leaf{"leaf"};
};

TEST_F(PreTranslation, WalksFromTargetThroughParentsThenTheApp) {
  leaf.PostMessage(WM_USER);
  qz::Pump();
  EXPECT_EQ(Log(), (Strings{"leaf PreTranslate", "middle PreTranslate", "top PreTranslate", "app PreTranslate",
                            "leaf WM_USER", "class WM_USER"}));
}

TEST_F(PreTranslation, ConsumingWindowEndsTheWalkAndTheDispatch) {
  middle.consume = true;
  leaf.PostMessage(WM_USER);
  qz::Pump();
  EXPECT_EQ(Log(), (Strings{"leaf PreTranslate", "middle PreTranslate"}));
}

TEST_F(PreTranslation, ConsumingAppStopsTheDispatch) {
  app.consume = true;
  leaf.PostMessage(WM_USER);
  qz::Pump();
  EXPECT_EQ(Log(), (Strings{"leaf PreTranslate", "middle PreTranslate", "top PreTranslate", "app PreTranslate"}));
}

TEST_F(PreTranslation, WindowsWithoutObjectsAreSkipped) {
  HWND raw = ::CreateWindowExA(0, LoggingClass(), "raw", WS_CHILD | WS_VISIBLE, 0, 0, 50, 50, leaf.m_hWnd,
                               reinterpret_cast<HMENU>(3), nullptr, nullptr);
  Log().clear();
  ::PostMessageA(raw, WM_USER, 0, 0);
  qz::Pump();
  EXPECT_EQ(Log(), (Strings{"leaf PreTranslate", "middle PreTranslate", "top PreTranslate", "app PreTranslate",
                            "class WM_USER"}));
}

TEST_F(PreTranslation, WalkStopsAtTheMainWindow) {
  app.m_pMainWnd = &middle;
  leaf.PostMessage(WM_USER);
  qz::Pump();
  EXPECT_EQ(Log(),
            (Strings{"leaf PreTranslate", "middle PreTranslate", "app PreTranslate", "leaf WM_USER", "class WM_USER"}));
}

TEST_F(PreTranslation, MainWindowGetsALastChanceAtOtherWindows) {
  FilteringWnd other("other");
  ASSERT_TRUE(other.CreateTop());
  Log().clear();
  other.PostMessage(WM_USER);
  qz::Pump();
  EXPECT_EQ(Log(),
            (Strings{"other PreTranslate", "top PreTranslate", "app PreTranslate", "other WM_USER", "class WM_USER"}));
}

TEST_F(PreTranslation, SentMessagesAreNotPreTranslated) {
  leaf.SendMessage(WM_USER);
  EXPECT_EQ(Log(), (Strings{"leaf WM_USER", "class WM_USER"}));
}

TEST_F(PreTranslation, DestroyedMainWindowIsForgotten) {
  top.DestroyWindow();
  EXPECT_EQ(app.m_pMainWnd, nullptr);
  EXPECT_EQ(AfxGetMainWnd(), nullptr);
}

class Application : public AfxTest {};

TEST_F(Application, NewestApplicationIsCurrentUntilDestroyed) {
  CWinApp* before = AfxGetApp();
  ASSERT_NE(before, nullptr);
  {
    CWinApp outer("outer");
    EXPECT_EQ(AfxGetApp(), &outer);
    {
      CWinApp inner("inner");
      EXPECT_EQ(AfxGetApp(), &inner);
    }
    EXPECT_EQ(AfxGetApp(), &outer);
  }
  EXPECT_EQ(AfxGetApp(), before);
}

}  // namespace
