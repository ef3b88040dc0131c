// Window creation and destruction: message order, hooks, aborts, handles.
#include <cstring>

#include "user_support.h"

namespace usertest {
namespace {

class Lifecycle : public UserTest {};

struct HookLog {
  int calls = 0;
  HWND hwnd = nullptr;
  bool recordedBeforeHook = false;
  std::string className;
  int cx = 0;
  LRESULT veto = 0;
  WNDPROC subclass = nullptr;
  HHOOK handle = nullptr;
};
HookLog g_hook;

LRESULT CALLBACK CbtHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    ++g_hook.calls;
    g_hook.hwnd = reinterpret_cast<HWND>(wParam);
    auto* cbt = reinterpret_cast<CBT_CREATEWNDA*>(lParam);
    g_hook.className = cbt->lpcs->lpszClass;
    g_hook.cx = cbt->lpcs->cx;
    auto sofar = qz::StopRecording();
    g_hook.recordedBeforeHook = !sofar.empty();
    qz::StartRecording();
    if (g_hook.subclass) SetWindowLongA(g_hook.hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(g_hook.subclass));
    if (g_hook.veto) return g_hook.veto;
  }
  return CallNextHookEx(g_hook.handle, code, wParam, lParam);
}

std::vector<UINT> g_subclassed;
LRESULT CALLBACK SubclassProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  g_subclassed.push_back(m);
  return TestWindowProc(h, m, w, l);
}

TEST_F(Lifecycle, CreationRunsHookThenNcCreateCreateAndParentNotify) {
  HWND parent = Top(0, 0, 100, 100);
  g_hook = HookLog{};
  g_hook.handle = SetWindowsHookExA(WH_CBT, CbtHook, nullptr, 0);
  qz::StartRecording();
  HWND child = Child(parent, 7, 10, 10, 20, 20);
  auto got = qz::StopRecording();
  UnhookWindowsHookEx(g_hook.handle);
  EXPECT_EQ(g_hook.calls, 1);
  EXPECT_EQ(g_hook.hwnd, child);
  EXPECT_FALSE(g_hook.recordedBeforeHook);
  EXPECT_EQ(g_hook.className, kTestClass);
  EXPECT_EQ(g_hook.cx, 20);
  EXPECT_TRUE(
      SameSequence(got, {Sent(child, WM_NCCREATE), Sent(child, WM_CREATE),
                         Sent(parent, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, 7), reinterpret_cast<LPARAM>(child))}));
}

TEST_F(Lifecycle, HookSubclassSeesEveryMessageFromNcCreate) {
  g_hook = HookLog{};
  g_hook.subclass = SubclassProc;
  g_subclassed.clear();
  g_hook.handle = SetWindowsHookExA(WH_CBT, CbtHook, nullptr, 0);
  Top(0, 0, 10, 10, WS_POPUP);
  UnhookWindowsHookEx(g_hook.handle);
  ASSERT_GE(g_subclassed.size(), 2u);
  EXPECT_EQ(g_subclassed[0], static_cast<UINT>(WM_NCCREATE));
  EXPECT_EQ(g_subclassed[1], static_cast<UINT>(WM_CREATE));
}

TEST_F(Lifecycle, HookVetoCancelsCreationWithoutMessages) {
  g_hook = HookLog{};
  g_hook.veto = 1;
  g_hook.handle = SetWindowsHookExA(WH_CBT, CbtHook, nullptr, 0);
  qz::StartRecording();
  HWND w = Top(0, 0, 10, 10);
  auto got = qz::StopRecording();
  UnhookWindowsHookEx(g_hook.handle);
  EXPECT_EQ(w, nullptr);
  EXPECT_FALSE(IsWindow(g_hook.hwnd));
  EXPECT_TRUE(got.empty());
}

HHOOK g_newer = nullptr;
int g_olderCallsSeenByNewer = -1;
LRESULT CALLBACK NewerHook(int code, WPARAM w, LPARAM l) {
  if (code == HCBT_CREATEWND) g_olderCallsSeenByNewer = g_hook.calls;
  return CallNextHookEx(g_newer, code, w, l);
}

TEST_F(Lifecycle, NewestHookRunsFirstAndChainsToOlder) {
  g_hook = HookLog{};
  g_hook.handle = SetWindowsHookExA(WH_CBT, CbtHook, nullptr, 0);
  g_newer = SetWindowsHookExA(WH_CBT, NewerHook, nullptr, 0);
  g_olderCallsSeenByNewer = -1;
  Top(0, 0, 10, 10, WS_POPUP);
  EXPECT_EQ(g_olderCallsSeenByNewer, 0);
  EXPECT_EQ(g_hook.calls, 1);
  EXPECT_TRUE(UnhookWindowsHookEx(g_newer));
  EXPECT_FALSE(UnhookWindowsHookEx(g_newer));
  UnhookWindowsHookEx(g_hook.handle);
}

TEST_F(Lifecycle, NcCreateFalseAbortsWithNcDestroyOnly) {
  HWND created = nullptr;
  std::vector<UINT> seen;
  WNDCLASSA wc{};
  wc.lpszClassName = "Refuser";
  static std::vector<UINT>* log;
  log = &seen;
  wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    log->push_back(m);
    if (m == WM_NCCREATE) return FALSE;
    return DefWindowProcA(h, m, w, l);
  };
  ASSERT_NE(RegisterClassA(&wc), 0);
  created = CreateWindowExA(0, "Refuser", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(created, nullptr);
  EXPECT_EQ(seen, (std::vector<UINT>{WM_NCCREATE, WM_NCDESTROY}));
}

TEST_F(Lifecycle, CreateMinusOneAbortsAndDestroys) {
  HWND parent = Top(0, 0, 100, 100);
  WNDCLASSA wc{};
  wc.lpszClassName = "Failer";
  wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_CREATE) return -1;
    return DefWindowProcA(h, m, w, l);
  };
  ASSERT_NE(RegisterClassA(&wc), 0);
  qz::StartRecording();
  HWND w = CreateWindowExA(0, "Failer", "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent, reinterpret_cast<HMENU>(3),
                           nullptr, nullptr);
  auto got = Only(qz::StopRecording(), {WM_CREATE, WM_DESTROY, WM_NCDESTROY, WM_PARENTNOTIFY});
  EXPECT_EQ(w, nullptr);
  ASSERT_EQ(got.size(), 4u) << Describe(got);
  EXPECT_EQ(got[0].message, static_cast<UINT>(WM_CREATE));
  EXPECT_EQ(got[1].message, static_cast<UINT>(WM_PARENTNOTIFY));
  EXPECT_EQ(LOWORD(got[1].wParam), WM_DESTROY);
  EXPECT_EQ(got[2].message, static_cast<UINT>(WM_DESTROY));
  EXPECT_EQ(got[3].message, static_cast<UINT>(WM_NCDESTROY));
  EXPECT_FALSE(IsWindow(got[0].hwnd));
}

TEST_F(Lifecycle, NoParentNotifySuppressesCreateAndDestroyNotices) {
  HWND parent = Top(0, 0, 100, 100);
  qz::StartRecording();
  HWND child = Child(parent, 1, 0, 0, 10, 10, WS_CHILD, WS_EX_NOPARENTNOTIFY);
  DestroyWindow(child);
  EXPECT_TRUE(Only(qz::StopRecording(), {WM_PARENTNOTIFY}).empty());
}

TEST_F(Lifecycle, ParentNotifyReachesEveryAncestor) {
  HWND top = Top(0, 0, 100, 100);
  HWND mid = Child(top, 1, 0, 0, 50, 50);
  qz::StartRecording();
  HWND leaf = Child(mid, 9, 0, 0, 10, 10);
  auto got = Only(qz::StopRecording(), {WM_PARENTNOTIFY});
  LPARAM l = reinterpret_cast<LPARAM>(leaf);
  EXPECT_TRUE(SameSequence(got, {Sent(mid, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, 9), l),
                                 Sent(top, WM_PARENTNOTIFY, MAKEWPARAM(WM_CREATE, 9), l)}));
}

TEST_F(Lifecycle, DestroySendsDestroyParentFirstAndNcDestroyChildrenFirst) {
  HWND top = Top(0, 0, 100, 100);
  HWND a = Child(top, 1, 0, 0, 50, 50, WS_CHILD | WS_VISIBLE, WS_EX_NOPARENTNOTIFY);
  HWND a1 = Child(a, 11, 0, 0, 10, 10, WS_CHILD | WS_VISIBLE, WS_EX_NOPARENTNOTIFY);
  HWND b = Child(top, 2, 50, 0, 50, 50, WS_CHILD | WS_VISIBLE, WS_EX_NOPARENTNOTIFY);
  qz::StartRecording();
  EXPECT_TRUE(DestroyWindow(top));
  auto got = qz::StopRecording();
  EXPECT_TRUE(SameSequence(
      got, {Sent(top, WM_DESTROY), Sent(a, WM_DESTROY), Sent(a1, WM_DESTROY), Sent(b, WM_DESTROY),
            Sent(a1, WM_NCDESTROY), Sent(a, WM_NCDESTROY), Sent(b, WM_NCDESTROY), Sent(top, WM_NCDESTROY)}));
  for (HWND h : {top, a, a1, b}) EXPECT_FALSE(IsWindow(h));
}

TEST_F(Lifecycle, DestroyingAChildTellsItsParentFirst) {
  HWND top = Top(0, 0, 100, 100);
  HWND c = Child(top, 4, 0, 0, 50, 50);
  qz::StartRecording();
  DestroyWindow(c);
  EXPECT_TRUE(SameSequence(qz::StopRecording(),
                           {Sent(top, WM_PARENTNOTIFY, MAKEWPARAM(WM_DESTROY, 4), reinterpret_cast<LPARAM>(c)),
                            Sent(c, WM_DESTROY), Sent(c, WM_NCDESTROY)}));
}

TEST_F(Lifecycle, DestroyingTheFocusWindowLeavesTheFocusWithItsParentAndFreesCaptureAndTimers) {
  HWND top = Top(0, 0, 100, 100);
  HWND c = Child(top, 1, 0, 0, 50, 50);
  SetFocus(c);
  SetCapture(c);
  SetTimer(c, 5, 10, nullptr);
  DestroyWindow(c);
  EXPECT_EQ(GetFocus(), top);
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_FALSE(KillTimer(c, 5));
}

TEST_F(Lifecycle, FocusMovesToTheParentBeforeWmDestroy) {
  HWND top = Top(0, 0, 100, 100);
  HWND panel = Child(top, 1, 0, 0, 80, 80);
  HWND field = Child(panel, 2, 0, 0, 50, 50);
  for (HWND destroyed : {field, panel}) {
    HWND holder = destroyed == field ? field : Child(panel, 3, 0, 0, 10, 10);
    HWND heir = GetParent(destroyed);
    SetFocus(holder);
    qz::StartRecording();
    DestroyWindow(destroyed);
    auto got = Only(qz::StopRecording(), {WM_KILLFOCUS, WM_SETFOCUS, WM_DESTROY});
    std::vector<Msg> expected{Sent(holder, WM_KILLFOCUS, reinterpret_cast<WPARAM>(heir), 0),
                              SentW(heir, WM_SETFOCUS, reinterpret_cast<WPARAM>(holder)), Sent(destroyed, WM_DESTROY)};
    if (holder != destroyed) expected.push_back(Sent(holder, WM_DESTROY));
    EXPECT_TRUE(SameSequence(got, expected));
    EXPECT_EQ(GetFocus(), heir);
  }
}

TEST_F(Lifecycle, DestroyingAFocusedTopLevelWindowLeavesNoFocus) {
  HWND top = Top(0, 0, 100, 100);
  HWND c = Child(top, 1, 0, 0, 50, 50);
  SetFocus(c);
  qz::StartRecording();
  DestroyWindow(top);
  auto got = Only(qz::StopRecording(), {WM_KILLFOCUS, WM_SETFOCUS, WM_DESTROY});
  EXPECT_TRUE(SameSequence(got, {Sent(c, WM_KILLFOCUS, 0, 0), Sent(top, WM_DESTROY), Sent(c, WM_DESTROY)}));
  EXPECT_EQ(GetFocus(), nullptr);
}

TEST_F(Lifecycle, WindowDestroyingItselfInAHandlerIsSafe) {
  HWND w = Top(0, 0, 50, 50);
  SetHandler(w, [](HWND h, UINT m, WPARAM, LPARAM, LRESULT*) {
    if (m == WM_USER) DestroyWindow(h);
    return false;
  });
  PostMessageA(w, WM_USER, 0, 0);
  PostMessageA(w, WM_USER, 0, 0);
  qz::Pump();
  EXPECT_FALSE(IsWindow(w));
}

TEST_F(Lifecycle, CallsOnADestroyedWindowFailQuietly) {
  HWND w = Top(0, 0, 50, 50);
  DestroyWindow(w);
  RECT r{1, 2, 3, 4};
  char text[8] = "x";
  EXPECT_FALSE(DestroyWindow(w));
  EXPECT_EQ(SendMessageA(w, WM_USER, 0, 0), 0);
  EXPECT_FALSE(GetClientRect(w, &r));
  EXPECT_EQ(GetWindowTextA(w, text, sizeof text), 0);
  EXPECT_EQ(SetFocus(w), nullptr);
  EXPECT_EQ(GetDC(w), nullptr);
  EXPECT_FALSE(InvalidateRect(w, nullptr, TRUE));
  EXPECT_EQ(SetTimer(w, 1, 10, nullptr), 0u);
}

TEST_F(Lifecycle, HandlesAreNeverReused) {
  HWND first = Top(0, 0, 10, 10, WS_POPUP);
  DestroyWindow(first);
  qz::ResetPlatform();
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = kTestClass;
  RegisterClassA(&wc);
  for (int i = 0; i < 20; ++i) {
    HWND w = Top(0, 0, 10, 10, WS_POPUP);
    EXPECT_NE(w, first);
    DestroyWindow(w);
  }
}

TEST_F(Lifecycle, DestroyingAnOwnerDestroysItsOwnedPopups) {
  HWND owner = Top(0, 0, 50, 50);
  HWND popup = CreateWindowExA(0, kTestClass, "", WS_POPUP, 0, 0, 10, 10, owner, nullptr, nullptr, nullptr);
  EXPECT_EQ(GetParent(popup), owner);
  DestroyWindow(owner);
  EXPECT_FALSE(IsWindow(popup));
}

TEST_F(Lifecycle, ResetDestroysEveryWindowWithItsMessages) {
  HWND top = Top(0, 0, 50, 50);
  HWND child = Child(top, 1, 0, 0, 10, 10);
  PostMessageA(child, WM_USER, 0, 0);
  qz::StartRecording();
  qz::ResetPlatform();
  EXPECT_FALSE(IsWindow(top));
  EXPECT_FALSE(IsWindow(child));
  MSG m;
  EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(qz::Now(), 0u);
  // Recording is off after a reset and nothing further is kept.
  EXPECT_TRUE(qz::StopRecording().empty());
}

TEST_F(Lifecycle, ClassNamesAreCaseInsensitiveAndUnique) {
  WNDCLASSA wc{};
  wc.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = "qzusertest";
  EXPECT_EQ(RegisterClassA(&wc), 0) << "same name, different case";
  WNDCLASSA out{};
  ASSERT_TRUE(GetClassInfoA(nullptr, "QZUSERTEST", &out));
  EXPECT_EQ(out.lpfnWndProc, TestWindowProc);
  EXPECT_EQ(CreateWindowExA(0, "NoSuchClass", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr), nullptr);
}

TEST_F(Lifecycle, ExtraBytesStartAtZeroAndReadsPastTheEndFail) {
  HWND w = Top(0, 0, 10, 10, WS_POPUP);
  EXPECT_EQ(GetWindowLongA(w, 0), 0);
  EXPECT_EQ(GetWindowLongA(w, 8), 0);
  EXPECT_EQ(SetWindowLongA(w, 8, 0x1234567890LL), 0);
  EXPECT_EQ(GetWindowLongA(w, 8), 0x1234567890LL);
  EXPECT_EQ(SetWindowLongA(w, 9, 5), 0);
  EXPECT_EQ(GetWindowLongA(w, 9), 0);
  EXPECT_EQ(GetWindowLongA(w, 16), 0);
}

TEST_F(Lifecycle, TextIsKeptByDefaultProcedureAndCopiesAreBounded) {
  HWND w = CreateWindowExA(0, kTestClass, "Hello world", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  char small[6];
  std::memset(small, 'x', sizeof small);
  EXPECT_EQ(GetWindowTextA(w, small, sizeof small), 5);
  EXPECT_STREQ(small, "Hello");
  EXPECT_EQ(GetWindowTextLengthA(w), 11);
  EXPECT_TRUE(SetWindowTextA(w, "Bye"));
  char big[32];
  EXPECT_EQ(GetWindowTextA(w, big, sizeof big), 3);
  EXPECT_STREQ(big, "Bye");
}

TEST_F(Lifecycle, SubclassingReturnsThePreviousProcedure) {
  HWND w = Top(0, 0, 10, 10, WS_POPUP);
  g_subclassed.clear();
  LONG_PTR old = SetWindowLongA(w, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassProc));
  EXPECT_EQ(old, reinterpret_cast<LONG_PTR>(TestWindowProc));
  SendMessageA(w, WM_USER, 0, 0);
  EXPECT_EQ(g_subclassed, std::vector<UINT>{WM_USER});
}

}  // namespace
}  // namespace usertest
