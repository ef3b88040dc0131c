#include "afx_fixture.h"

using afxtest::AfxTest;
using afxtest::Log;
using afxtest::LoggingClass;
using afxtest::LoggingWnd;
using afxtest::MessageName;
using Strings = std::vector<std::string>;

namespace {

class Reflection : public AfxTest {
 protected:
  void SetUp() override {
    AfxTest::SetUp();
    ASSERT_TRUE(parent.CreateTop());
    ASSERT_TRUE(child.CreateChild(&parent, 7));
    Log().clear();
  }

  class Parent : public LoggingWnd {
   public:
    using LoggingWnd::LoggingWnd;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
      Log().push_back("parent OnCommand");
      BOOL handled = LoggingWnd::OnCommand(wParam, lParam);
      Log().push_back(handled ? "parent OnCommand: handled by child" : "parent OnCommand: not handled");
      return handled;
    }
  };

  // Handles every reflected message (when told to) with `answer`.
  class Child : public LoggingWnd {
   public:
    using LoggingWnd::LoggingWnd;
    bool handleReflected = true;
    LRESULT answer = 0;
    WPARAM reflectedWParam = 0;
    LPARAM reflectedLParam = 0;
    AFX_CTLCOLOR color = {};

    BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
      Log().push_back(name() + " OnChildNotify " + MessageName(msg));
      return LoggingWnd::OnChildNotify(msg, wParam, lParam, result);
    }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
      if (msg >= WM_REFLECT_BASE && handleReflected) {
        Log().push_back(name() + " handles " + MessageName(msg));
        reflectedWParam = wParam;
        reflectedLParam = lParam;
        if (msg == WM_REFLECT_BASE + WM_CTLCOLOR) color = *reinterpret_cast<AFX_CTLCOLOR*>(lParam);
        return answer;
      }
      return LoggingWnd::WindowProc(msg, wParam, lParam);
    }
  };

  LPARAM ChildParam() const { return reinterpret_cast<LPARAM>(child.m_hWnd); }

  Parent parent{"parent"};
  Child child{"child"};
};

TEST_F(Reflection, ControlCommandReachesChildBeforeParentDefault) {
  EXPECT_EQ(parent.SendMessage(WM_COMMAND, MAKEWPARAM(7, BN_CLICKED), ChildParam()), 1);
  EXPECT_EQ(Log(), (Strings{"parent WM_COMMAND", "parent OnCommand", "child OnChildNotify WM_COMMAND",
                            "child handles reflected WM_COMMAND", "parent OnCommand: handled by child"}));
  EXPECT_EQ(child.reflectedWParam, MAKEWPARAM(7, BN_CLICKED));
  EXPECT_EQ(child.reflectedLParam, ChildParam());
}

TEST_F(Reflection, UnhandledReflectionFallsToParentClassProcedure) {
  child.handleReflected = false;
  parent.SendMessage(WM_COMMAND, MAKEWPARAM(7, BN_CLICKED), ChildParam());
  EXPECT_EQ(Log(), (Strings{"parent WM_COMMAND", "parent OnCommand", "child OnChildNotify WM_COMMAND",
                            "child reflected WM_COMMAND", "parent OnCommand: not handled", "class WM_COMMAND"}));
}

TEST_F(Reflection, ParentWindowProcHandlingWinsOverTheChild) {
  class Claiming : public Parent {
   public:
    using Parent::Parent;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
      if (msg == WM_COMMAND) return 0;
      return Parent::WindowProc(msg, wParam, lParam);
    }
  } claiming("claiming");
  ASSERT_TRUE(claiming.CreateTop());
  Child other("other");
  ASSERT_TRUE(other.CreateChild(&claiming, 8));
  Log().clear();
  claiming.SendMessage(WM_COMMAND, MAKEWPARAM(8, BN_CLICKED), reinterpret_cast<LPARAM>(other.m_hWnd));
  EXPECT_TRUE(Log().empty());
}

TEST_F(Reflection, MenuCommandIsNotReflected) {
  parent.SendMessage(WM_COMMAND, MAKEWPARAM(40001, 0), 0);
  EXPECT_EQ(Log(),
            (Strings{"parent WM_COMMAND", "parent OnCommand", "parent OnCommand: not handled", "class WM_COMMAND"}));
}

TEST_F(Reflection, ChildWithoutObjectIsNotReflected) {
  HWND raw = ::CreateWindowExA(0, LoggingClass(), "raw", WS_CHILD, 0, 0, 10, 10, parent.m_hWnd,
                               reinterpret_cast<HMENU>(5), nullptr, nullptr);
  Log().clear();
  parent.SendMessage(WM_COMMAND, MAKEWPARAM(5, BN_CLICKED), reinterpret_cast<LPARAM>(raw));
  EXPECT_EQ(Log(),
            (Strings{"parent WM_COMMAND", "parent OnCommand", "parent OnCommand: not handled", "class WM_COMMAND"}));
}

TEST_F(Reflection, CtlColorArrivesAsOneMessageWithTypeAndDc) {
  child.answer = 0x1234;
  auto dc = reinterpret_cast<HDC>(0x5678);
  EXPECT_EQ(parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), ChildParam()), 0x1234);
  EXPECT_EQ(Log(), (Strings{"parent WM_CTLCOLORSTATIC", "child OnChildNotify WM_CTLCOLORSTATIC",
                            "child handles reflected WM_CTLCOLOR"}));
  EXPECT_EQ(child.reflectedWParam, 0u);
  EXPECT_EQ(child.color.hWnd, child.m_hWnd);
  EXPECT_EQ(child.color.hDC, dc);
  EXPECT_EQ(child.color.nCtlType, UINT(CTLCOLOR_STATIC));

  parent.SendMessage(WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc), ChildParam());
  EXPECT_EQ(child.color.nCtlType, UINT(CTLCOLOR_EDIT));
}

TEST_F(Reflection, CtlColorWithNullBrushGoesToParentDefault) {
  child.answer = 0;
  parent.SendMessage(WM_CTLCOLORSTATIC, 0, ChildParam());
  EXPECT_EQ(Log().back(), "class WM_CTLCOLORSTATIC");
}

TEST_F(Reflection, DrawItemIsReflectedToTheItemWindow) {
  DRAWITEMSTRUCT item{ODT_BUTTON, 7, 0, ODA_DRAWENTIRE, ODS_SELECTED, child.m_hWnd, nullptr, {0, 0, 50, 30}, 0};
  EXPECT_EQ(parent.SendMessage(WM_DRAWITEM, 7, reinterpret_cast<LPARAM>(&item)), TRUE);
  EXPECT_EQ(Log().back(), "child handles reflected WM_DRAWITEM");
  EXPECT_EQ(child.reflectedLParam, reinterpret_cast<LPARAM>(&item));

  Log().clear();
  item.CtlType = ODT_MENU;
  parent.SendMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(Log(), (Strings{"parent WM_DRAWITEM", "class WM_DRAWITEM"}));
}

TEST_F(Reflection, DeleteItemIsReflectedToTheListWindow) {
  DELETEITEMSTRUCT item{ODT_LISTBOX, 7, 2, child.m_hWnd, 0x99};
  EXPECT_EQ(parent.SendMessage(WM_DELETEITEM, 7, reinterpret_cast<LPARAM>(&item)), TRUE);
  EXPECT_EQ(child.reflectedLParam, reinterpret_cast<LPARAM>(&item));
  EXPECT_EQ(Log().back(), "child handles 0xbc2d");
}

TEST_F(Reflection, ScrollFromAControlIsReflectedButNotFromAWindowScrollBar) {
  parent.SendMessage(WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 40), ChildParam());
  EXPECT_EQ(Log().back(), "child handles reflected WM_HSCROLL");
  EXPECT_EQ(child.reflectedWParam, MAKEWPARAM(TB_THUMBTRACK, 40));
  Log().clear();
  parent.SendMessage(WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 40), 0);
  EXPECT_EQ(Log(), (Strings{"parent WM_HSCROLL", "class WM_HSCROLL"}));
}

TEST_F(Reflection, ParentNotifyReflectsChildCreationButNotPresses) {
  Child late("late");
  late.handleReflected = false;
  ASSERT_TRUE(late.CreateChild(&parent, 11));
  EXPECT_NE(std::find(Log().begin(), Log().end(), "late OnChildNotify WM_PARENTNOTIFY"), Log().end());
  EXPECT_NE(std::find(Log().begin(), Log().end(), "late reflected WM_PARENTNOTIFY"), Log().end());

  Log().clear();
  parent.SendMessage(WM_PARENTNOTIFY, WM_LBUTTONDOWN, MAKELPARAM(15, 15));
  EXPECT_EQ(Log(), (Strings{"parent WM_PARENTNOTIFY", "class WM_PARENTNOTIFY"}));
}

TEST_F(Reflection, NotifyResultComesFromTheChild) {
  child.answer = 77;
  NMHDR header{child.m_hWnd, 7, 123};
  EXPECT_EQ(parent.SendMessage(WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&header)), 77);
  EXPECT_EQ(Log().back(), "child handles reflected WM_NOTIFY");
}

TEST_F(Reflection, VKeyToItemAnswerComesFromTheChild) {
  child.answer = -2;
  EXPECT_EQ(parent.SendMessage(WM_VKEYTOITEM, MAKEWPARAM(VK_DOWN, 3), ChildParam()), -2);
  EXPECT_EQ(Log().back(), "child handles reflected WM_VKEYTOITEM");
}

TEST_F(Reflection, ParentOverrideCanReflectTheCurrentMessageExplicitly) {
  class Explicit : public LoggingWnd {
   public:
    using LoggingWnd::LoggingWnd;
    BOOL reflected = FALSE;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
      if (msg == WM_COMMAND) {
        reflected = ReflectLastMsg(reinterpret_cast<HWND>(lParam));
        return 0;
      }
      return LoggingWnd::WindowProc(msg, wParam, lParam);
    }
  } host("host");
  ASSERT_TRUE(host.CreateTop());
  Child inner("inner");
  ASSERT_TRUE(inner.CreateChild(&host, 4));
  Log().clear();
  host.SendMessage(WM_COMMAND, MAKEWPARAM(4, EN_CHANGE), reinterpret_cast<LPARAM>(inner.m_hWnd));
  EXPECT_TRUE(host.reflected);
  EXPECT_EQ(Log(), (Strings{"inner OnChildNotify WM_COMMAND", "inner handles reflected WM_COMMAND"}));
  EXPECT_EQ(inner.reflectedWParam, MAKEWPARAM(4, EN_CHANGE));
}

class ReflectionWithControls : public AfxTest {};

TEST_F(ReflectionWithControls, ButtonClickReachesButtonThenParent) {
  class Parent : public LoggingWnd {
   public:
    using LoggingWnd::LoggingWnd;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override {
      Log().push_back("parent OnCommand");
      return LoggingWnd::OnCommand(wParam, lParam);
    }
  } parent("parent");
  class Button : public CButton {
   public:
    int presses = 0;
    BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override {
      Log().push_back("button OnChildNotify " + MessageName(msg));
      return CButton::OnChildNotify(msg, wParam, lParam, result);
    }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
      if (msg == WM_LBUTTONDOWN) ++presses;
      if (msg == WM_REFLECT_BASE + WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        Log().push_back("button clicked");
        return 0;
      }
      return CButton::WindowProc(msg, wParam, lParam);
    }
  } button;
  ASSERT_TRUE(parent.CreateTop());
  ASSERT_TRUE(button.Create("Go", WS_VISIBLE | BS_PUSHBUTTON, CRect(10, 10, 80, 34), &parent, 42));
  Log().clear();
  qz::Click(button.m_hWnd, 5, 5);
  EXPECT_EQ(button.presses, 1);
  // The button also asks its parent for colours while it repaints; only the
  // command's path matters here.
  Strings commands;
  for (const std::string& entry : Log()) {
    if (entry.find("Command") != std::string::npos || entry.find("COMMAND") != std::string::npos ||
        entry.find("clicked") != std::string::npos)
      commands.push_back(entry);
  }
  EXPECT_EQ(commands,
            (Strings{"parent WM_COMMAND", "parent OnCommand", "button OnChildNotify WM_COMMAND", "button clicked"}));
}

TEST_F(ReflectionWithControls, StaticPaintsWithTheBrushItReturnsForReflectedCtlColor) {
  class RedStatic : public CStatic {
   public:
    HBRUSH brush = ::CreateSolidBrush(RGB(255, 0, 0));
    UINT type = 99;
    ~RedStatic() override {
      DestroyWindow();
      ::DeleteObject(brush);
    }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
      if (msg == WM_REFLECT_BASE + WM_CTLCOLOR) {
        type = reinterpret_cast<AFX_CTLCOLOR*>(lParam)->nCtlType;
        return reinterpret_cast<LRESULT>(brush);
      }
      return CStatic::WindowProc(msg, wParam, lParam);
    }
  };
  LoggingWnd parent("parent");
  ASSERT_TRUE(parent.CreateTop());
  RedStatic label;
  ASSERT_TRUE(label.Create("", WS_VISIBLE | SS_LEFT, CRect(20, 20, 60, 40), &parent));
  qz::Pump();
  EXPECT_EQ(label.type, UINT(CTLCOLOR_STATIC));
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  ASSERT_TRUE(qz::CaptureWindow(label.m_hWnd, &width, &height, &pixels));
  ASSERT_EQ(width, 40);
  EXPECT_EQ(pixels[static_cast<size_t>(10 * width + 20)], 0xFF0000u);
}

}  // namespace
