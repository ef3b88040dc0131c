#include "afx_fixture.h"

using afxtest::AfxTest;
using afxtest::Log;
using afxtest::LoggingClass;
using afxtest::LoggingClassProc;
using afxtest::LoggingWnd;
using Strings = std::vector<std::string>;

namespace {

class CWndCreation : public AfxTest {};
class CWndLifetime : public AfxTest {};
class CWndRouting : public AfxTest {};
class CWndHandles : public AfxTest {};
class CWndStyle : public AfxTest {};

class CreateWatcher : public LoggingWnd {
 public:
  using LoggingWnd::LoggingWnd;
  HWND handleAtCreate = nullptr;
  LPVOID createParam = nullptr;
  bool failCreate = false;
  int postNcDestroyCalls = 0;
  HWND handleAtPostNcDestroy = reinterpret_cast<HWND>(1);

  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == WM_CREATE) {
      handleAtCreate = m_hWnd;
      createParam = reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams;
      if (failCreate) return -1;
    }
    return LoggingWnd::WindowProc(msg, wParam, lParam);
  }
  void PostNcDestroy() override {
    ++postNcDestroyCalls;
    handleAtPostNcDestroy = m_hWnd;
  }
};

TEST_F(CWndCreation, WindowProcSeesNcCreateAndCreateBeforeCreateExReturns) {
  CreateWatcher wnd("top");
  ASSERT_TRUE(wnd.CreateTop());
  ASSERT_GE(Log().size(), 4u);
  EXPECT_EQ(Strings(Log().begin(), Log().begin() + 4),
            (Strings{"top WM_NCCREATE", "class WM_NCCREATE", "top WM_CREATE", "class WM_CREATE"}));
  EXPECT_EQ(wnd.handleAtCreate, wnd.m_hWnd);
  EXPECT_EQ(CWnd::FromHandlePermanent(wnd.m_hWnd), &wnd);
}

TEST_F(CWndCreation, CreateParamReachesCreateStruct) {
  CreateWatcher wnd("top");
  int marker = 0;
  ASSERT_TRUE(wnd.CreateEx(0, LoggingClass(), "top", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0, &marker));
  EXPECT_EQ(wnd.createParam, &marker);
}

TEST_F(CWndCreation, PreCreateWindowMayChangeTheWindow) {
  class Adjusting : public CWnd {
   public:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override {
      cs.style |= WS_BORDER;
      cs.lpszName = "adjusted";
      return TRUE;
    }
  } wnd;
  ASSERT_TRUE(wnd.CreateEx(0, LoggingClass(), "given", WS_POPUP, 0, 0, 40, 40, nullptr, nullptr));
  EXPECT_TRUE(wnd.GetStyle() & WS_BORDER);
  CString text;
  wnd.GetWindowText(text);
  EXPECT_EQ(text, "adjusted");
}

TEST_F(CWndCreation, RefusedPreCreateWindowFailsWithPostNcDestroy) {
  class Refusing : public CreateWatcher {
   public:
    using CreateWatcher::CreateWatcher;
    BOOL PreCreateWindow(CREATESTRUCTA&) override { return FALSE; }
  } wnd("refused");
  EXPECT_FALSE(wnd.CreateTop());
  EXPECT_EQ(wnd.m_hWnd, nullptr);
  EXPECT_EQ(wnd.postNcDestroyCalls, 1);
  EXPECT_TRUE(Log().empty());
}

TEST_F(CWndCreation, CreateReturningMinusOneDetachesAndFails) {
  CreateWatcher wnd("top");
  wnd.failCreate = true;
  EXPECT_FALSE(wnd.CreateTop());
  EXPECT_EQ(wnd.m_hWnd, nullptr);
  EXPECT_EQ(wnd.postNcDestroyCalls, 1);
  EXPECT_NE(std::find(Log().begin(), Log().end(), "top WM_NCDESTROY"), Log().end());
  EXPECT_FALSE(::IsWindow(wnd.handleAtCreate));
}

TEST_F(CWndCreation, UnknownClassFailsWithoutWindow) {
  CreateWatcher wnd("nothing");
  EXPECT_FALSE(wnd.CreateEx(0, "NoSuchClass", "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  EXPECT_EQ(wnd.m_hWnd, nullptr);
  EXPECT_EQ(wnd.postNcDestroyCalls, 1);
}

TEST_F(CWndCreation, ChildMadeDuringParentCreateGetsItsOwnObject) {
  class Parent : public LoggingWnd {
   public:
    using LoggingWnd::LoggingWnd;
    LoggingWnd child{"child"};
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
      LRESULT result = LoggingWnd::WindowProc(msg, wParam, lParam);
      if (msg == WM_CREATE) child.CreateChild(this, 9);
      return result;
    }
  } parent("parent");
  ASSERT_TRUE(parent.CreateTop());
  ASSERT_NE(parent.child.m_hWnd, nullptr);
  EXPECT_EQ(CWnd::FromHandlePermanent(parent.m_hWnd), &parent);
  EXPECT_EQ(CWnd::FromHandlePermanent(parent.child.m_hWnd), &parent.child);
  EXPECT_EQ(parent.child.GetParent(), &parent);
  EXPECT_NE(std::find(Log().begin(), Log().end(), "child WM_CREATE"), Log().end());
}

TEST_F(CWndLifetime, DestroyDetachesBeforePostNcDestroy) {
  CreateWatcher wnd("top");
  ASSERT_TRUE(wnd.CreateTop());
  HWND hwnd = wnd.m_hWnd;
  EXPECT_TRUE(wnd.DestroyWindow());
  EXPECT_EQ(wnd.postNcDestroyCalls, 1);
  EXPECT_EQ(wnd.handleAtPostNcDestroy, nullptr);
  EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);
  EXPECT_FALSE(wnd.DestroyWindow());
}

TEST_F(CWndLifetime, DestructorDestroysTheWindow) {
  HWND hwnd;
  {
    LoggingWnd wnd("top");
    ASSERT_TRUE(wnd.CreateTop());
    hwnd = wnd.m_hWnd;
  }
  EXPECT_FALSE(::IsWindow(hwnd));
  EXPECT_EQ(CWnd::FromHandlePermanent(hwnd), nullptr);
}

TEST_F(CWndLifetime, SelfDeletingChildIsDeletedWithItsParent) {
  static int deleted;
  deleted = 0;
  class SelfDeleting : public LoggingWnd {
   public:
    using LoggingWnd::LoggingWnd;
    ~SelfDeleting() override { ++deleted; }
    void PostNcDestroy() override { delete this; }
  };
  LoggingWnd parent("parent");
  ASSERT_TRUE(parent.CreateTop());
  auto* child = new SelfDeleting("child");
  ASSERT_TRUE(child->CreateChild(&parent, 3));
  parent.DestroyWindow();
  EXPECT_EQ(deleted, 1);
}

TEST_F(CWndLifetime, ObjectsWithoutWindowsDestructQuietly) {
  CWnd wnd;
  CButton button;
  CEdit edit;
  EXPECT_FALSE(wnd.DestroyWindow());
  EXPECT_EQ(CWnd::GetTempMapCount(), 0);
}

TEST_F(CWndRouting, DefWindowProcReachesTheClassProcedure) {
  LoggingWnd wnd("top");
  ASSERT_TRUE(wnd.CreateTop());
  EXPECT_EQ(wnd.SendMessage(WM_USER + 1), 0x5151);
}

TEST_F(CWndRouting, DefaultUsesTheCurrentMessage) {
  class Defaulting : public CWnd {
   public:
    WPARAM seenWParam = 0;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
      if (msg == WM_USER + 1) {
        seenWParam = GetCurrentMessage()->wParam;
        return Default();
      }
      return CWnd::WindowProc(msg, wParam, lParam);
    }
  } wnd;
  ASSERT_TRUE(wnd.CreateEx(0, LoggingClass(), "d", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
  EXPECT_EQ(wnd.SendMessage(WM_USER + 1, 77), 0x5151);
  EXPECT_EQ(wnd.seenWParam, 77u);
}

TEST_F(CWndRouting, SubclassedWindowRoutesUntilUnsubclassed) {
  HWND raw = ::CreateWindowExA(0, LoggingClass(), "raw", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(raw, nullptr);
  LoggingWnd wnd("wnd");
  ASSERT_TRUE(wnd.SubclassWindow(raw));
  Log().clear();
  ::SendMessageA(raw, WM_USER, 0, 0);
  EXPECT_EQ(Log(), (Strings{"wnd WM_USER", "class WM_USER"}));

  EXPECT_EQ(wnd.UnsubclassWindow(), raw);
  EXPECT_EQ(::GetWindowLongA(raw, GWL_WNDPROC), reinterpret_cast<LONG_PTR>(&LoggingClassProc));
  Log().clear();
  ::SendMessageA(raw, WM_USER, 0, 0);
  EXPECT_EQ(Log(), (Strings{"class WM_USER"}));
  EXPECT_EQ(wnd.m_hWnd, nullptr);
  ::DestroyWindow(raw);
}

TEST_F(CWndRouting, WindowTakesOnlyOnePermanentObject) {
  LoggingWnd first("first");
  ASSERT_TRUE(first.CreateTop());
  LoggingWnd second("second");
  EXPECT_FALSE(second.SubclassWindow(first.m_hWnd));
  EXPECT_FALSE(second.Attach(first.m_hWnd));
  EXPECT_EQ(CWnd::FromHandlePermanent(first.m_hWnd), &first);
}

TEST_F(CWndRouting, ClassProcedureStillSeesNcDestroy) {
  LoggingWnd wnd("top");
  ASSERT_TRUE(wnd.CreateTop());
  Log().clear();
  wnd.DestroyWindow();
  auto own = std::find(Log().begin(), Log().end(), "top WM_NCDESTROY");
  auto cls = std::find(Log().begin(), Log().end(), "class WM_NCDESTROY");
  ASSERT_NE(own, Log().end());
  ASSERT_NE(cls, Log().end());
  EXPECT_LT(own, cls);
}

TEST_F(CWndHandles, TemporaryWrapperIsReusedAndFreedWithItsWindow) {
  HWND raw = ::CreateWindowExA(0, LoggingClass(), "raw", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  CWnd* temporary = CWnd::FromHandle(raw);
  ASSERT_NE(temporary, nullptr);
  EXPECT_EQ(temporary->m_hWnd, raw);
  EXPECT_EQ(CWnd::FromHandle(raw), temporary);
  EXPECT_EQ(CWnd::FromHandlePermanent(raw), nullptr);
  EXPECT_EQ(CWnd::GetTempMapCount(), 1);
  ::DestroyWindow(raw);
  CWnd::DeleteTempMap();
  EXPECT_EQ(CWnd::GetTempMapCount(), 0);
  EXPECT_EQ(CWnd::FromHandle(nullptr), nullptr);
}

TEST_F(CWndHandles, ResetFreesTemporariesOfLiveWindows) {
  HWND raw = ::CreateWindowExA(0, LoggingClass(), "raw", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  CWnd::FromHandle(raw);
  ASSERT_EQ(CWnd::GetTempMapCount(), 1);
  AfxResetFramework();
  EXPECT_EQ(CWnd::GetTempMapCount(), 0);
}

TEST_F(CWndHandles, DestroyingThroughATemporaryLeavesNoWrapperOwningTheWindow) {
  HWND raw = ::CreateWindowExA(0, LoggingClass(), "raw", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr);
  CWnd* temporary = CWnd::FromHandle(raw);
  EXPECT_TRUE(temporary->DestroyWindow());
  EXPECT_FALSE(::IsWindow(raw));
  EXPECT_EQ(temporary->m_hWnd, nullptr);
}

TEST_F(CWndHandles, PermanentObjectsAreFoundWithoutTemporaries) {
  LoggingWnd parent("parent");
  ASSERT_TRUE(parent.CreateTop());
  LoggingWnd child("child");
  ASSERT_TRUE(child.CreateChild(&parent, 12));
  EXPECT_EQ(child.GetParent(), &parent);
  EXPECT_EQ(parent.GetDlgItem(12), &child);
  EXPECT_EQ(child.GetDlgCtrlID(), 12);
  EXPECT_EQ(CWnd::GetTempMapCount(), 0);
}

TEST_F(CWndStyle, ModifyStyleReportsWhetherAnythingChanged) {
  LoggingWnd wnd("top");
  ASSERT_TRUE(wnd.CreateTop());
  EXPECT_TRUE(wnd.ModifyStyle(0, WS_BORDER));
  EXPECT_TRUE(wnd.GetStyle() & WS_BORDER);
  EXPECT_FALSE(wnd.ModifyStyle(0, WS_BORDER));
  EXPECT_TRUE(wnd.ModifyStyle(WS_BORDER, WS_TABSTOP));
  EXPECT_EQ(wnd.GetStyle() & (WS_BORDER | WS_TABSTOP), DWORD(WS_TABSTOP));
  EXPECT_FALSE(wnd.ModifyStyle(WS_BORDER, 0));
  EXPECT_TRUE(wnd.ModifyStyleEx(0, WS_EX_ACCEPTFILES));
  EXPECT_TRUE(wnd.GetExStyle() & WS_EX_ACCEPTFILES);
  EXPECT_FALSE(wnd.ModifyStyleEx(0, WS_EX_ACCEPTFILES));
}

TEST_F(CWndStyle, ModifyStyleFlagsGoToSetWindowPosOnlyOnChange) {
  LoggingWnd wnd("top");
  ASSERT_TRUE(wnd.CreateTop());
  CRect before;
  wnd.GetWindowRect(&before);
  EXPECT_FALSE(wnd.ModifyStyle(0, 0, SWP_HIDEWINDOW));
  EXPECT_TRUE(wnd.IsWindowVisible());
  EXPECT_TRUE(wnd.ModifyStyle(0, WS_GROUP, SWP_HIDEWINDOW));
  EXPECT_FALSE(wnd.IsWindowVisible());
  CRect after;
  wnd.GetWindowRect(&after);
  EXPECT_EQ(after, before);
}

}  // namespace
