// Sending, posting, fetch priority, pre-translation and key translation.
#include "user_support.h"

namespace usertest {
namespace {

class Queue : public UserTest {};

TEST_F(Queue, SentMessageArrivesAtOncePostedOnlyWhenPumped) {
  HWND w = Top(0, 0, 50, 50, WS_POPUP);
  qz::StartRecording();
  EXPECT_TRUE(PostMessageA(w, WM_USER + 1, 1, 0));
  SendMessageA(w, WM_USER + 2, 2, 0);
  EXPECT_TRUE(SameSequence(qz::StopRecording(), {Sent(w, WM_USER + 2, 2, 0)}));
  qz::StartRecording();
  EXPECT_EQ(qz::Pump(), 1);
  EXPECT_TRUE(SameSequence(qz::StopRecording(), {Posted(w, WM_USER + 1, 1, 0)}));
}

TEST_F(Queue, SendMessageReturnsTheProcedureResult) {
  HWND w = Top(0, 0, 50, 50, WS_POPUP);
  SetHandler(w, [](HWND, UINT m, WPARAM wp, LPARAM, LRESULT* r) {
    if (m != WM_USER) return false;
    *r = static_cast<LRESULT>(wp * 2);
    return true;
  });
  EXPECT_EQ(SendMessageA(w, WM_USER, 21, 0), 42);
}

TEST_F(Queue, PostedMessagesAreFirstInFirstOut) {
  HWND a = Top(0, 0, 50, 50, WS_POPUP);
  HWND b = Top(0, 0, 50, 50, WS_POPUP);
  PostMessageA(a, WM_USER, 1, 0);
  PostMessageA(b, WM_USER, 2, 0);
  PostMessageA(a, WM_USER, 3, 0);
  qz::StartRecording();
  qz::Pump();
  EXPECT_TRUE(SameSequence(qz::StopRecording(),
                           {Posted(a, WM_USER, 1, 0), Posted(b, WM_USER, 2, 0), Posted(a, WM_USER, 3, 0)}));
}

TEST_F(Queue, MessagePostedFromAHandlerComesAfterThoseAlreadyQueued) {
  HWND w = Top(0, 0, 50, 50, WS_POPUP);
  SetHandler(w, [](HWND h, UINT m, WPARAM wp, LPARAM, LRESULT*) {
    if (m == WM_USER && wp == 1) {
      PostMessageA(h, WM_USER, 10, 0);
      SendMessageA(h, WM_USER + 1, 11, 0);
    }
    return false;
  });
  PostMessageA(w, WM_USER, 1, 0);
  PostMessageA(w, WM_USER, 2, 0);
  qz::StartRecording();
  qz::Pump();
  EXPECT_TRUE(SameSequence(qz::StopRecording(), {Posted(w, WM_USER, 1, 0), Sent(w, WM_USER + 1, 11, 0),
                                                 Posted(w, WM_USER, 2, 0), Posted(w, WM_USER, 10, 0)}));
}

TEST_F(Queue, PostedMessagesComeBeforeInputAndInputBeforePaint) {
  HWND w = Top(0, 0, 50, 50);
  qz::Pump();
  InvalidateRect(w, nullptr, FALSE);
  qz::InjectMouseAt(w, WM_MOUSEMOVE, 5, 5);
  PostMessageA(w, WM_USER, 0, 0);
  qz::StartRecording();
  qz::Pump();
  auto got = Without(qz::StopRecording(), {WM_NCHITTEST});
  EXPECT_TRUE(SameSequence(got, {Posted(w, WM_USER), Posted(w, WM_MOUSEMOVE), Posted(w, WM_PAINT)}));
}

TEST_F(Queue, PeekWithoutRemoveLeavesTheMessage) {
  HWND w = Top(0, 0, 50, 50, WS_POPUP);
  PostMessageA(w, WM_USER, 7, 0);
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(m.message, static_cast<UINT>(WM_USER));
  ASSERT_TRUE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.wParam, 7u);
  EXPECT_FALSE(PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(Queue, PeekFiltersByWindowAndRange) {
  HWND a = Top(0, 0, 50, 50, WS_POPUP);
  HWND b = Top(0, 0, 50, 50, WS_POPUP);
  PostMessageA(a, WM_USER, 1, 0);
  PostMessageA(b, WM_USER + 5, 2, 0);
  MSG m;
  ASSERT_TRUE(PeekMessageA(&m, b, 0, 0, PM_REMOVE));
  EXPECT_EQ(m.wParam, 2u);
  EXPECT_FALSE(PeekMessageA(&m, nullptr, WM_USER + 1, WM_USER + 9, PM_REMOVE));
  ASSERT_TRUE(PeekMessageA(&m, nullptr, WM_USER, WM_USER, PM_REMOVE));
  EXPECT_EQ(m.hwnd, a);
}

TEST_F(Queue, PostToADestroyedWindowFailsAndItsQueuedMessagesVanish) {
  HWND a = Top(0, 0, 50, 50, WS_POPUP);
  HWND b = Top(0, 0, 50, 50, WS_POPUP);
  PostMessageA(a, WM_USER, 1, 0);
  PostMessageA(b, WM_USER, 2, 0);
  DestroyWindow(a);
  EXPECT_FALSE(PostMessageA(a, WM_USER, 3, 0));
  qz::StartRecording();
  qz::Pump();
  EXPECT_TRUE(SameSequence(qz::StopRecording(), {Posted(b, WM_USER, 2, 0)}));
}

BOOL ConsumeUserPlusOne(MSG* msg) {
  return msg->message == WM_USER + 1;
}

TEST_F(Queue, FilterConsumesQueuedMessagesBeforeDispatch) {
  HWND w = Top(0, 0, 50, 50, WS_POPUP);
  qz::SetMessageFilter(ConsumeUserPlusOne);
  PostMessageA(w, WM_USER, 0, 0);
  PostMessageA(w, WM_USER + 1, 0, 0);
  PostMessageA(w, WM_USER + 2, 0, 0);
  qz::StartRecording();
  EXPECT_EQ(qz::Pump(), 2) << "a consumed message is not dispatched";
  EXPECT_TRUE(SameSequence(qz::StopRecording(), {Posted(w, WM_USER), Posted(w, WM_USER + 2)}));
}

int g_filterPaints = 0;
BOOL CountPaints(MSG* msg) {
  if (msg->message == WM_PAINT) ++g_filterPaints;
  return FALSE;
}

TEST_F(Queue, FilterNeverSeesPaints) {
  Top(0, 0, 50, 50);
  g_filterPaints = 0;
  qz::SetMessageFilter(CountPaints);
  qz::Pump();
  EXPECT_EQ(g_filterPaints, 0);
}

TEST_F(Queue, TranslatedCharacterIsDispatchedRightAfterItsKeyDown) {
  HWND w = Top(0, 0, 50, 50);
  SetFocus(w);
  qz::Pump();
  qz::InjectKey(WM_KEYDOWN, 'A');
  PostMessageA(w, WM_USER, 0, 0);
  qz::StartRecording();
  qz::Pump();
  auto got = qz::StopRecording();
  // The posted message was ahead of the key; the character is next after the key down.
  ASSERT_TRUE(SameSequence(got, {Posted(w, WM_USER), Posted(w, WM_KEYDOWN), Posted(w, WM_CHAR)}));
  EXPECT_EQ(got[2].wParam, static_cast<WPARAM>('a'));
}

TEST_F(Queue, TranslationFollowsShiftAndControl) {
  HWND w = Top(0, 0, 50, 50);
  SetFocus(w);
  qz::StartRecording();
  qz::SetKeyDown(VK_SHIFT, true);
  qz::PressKey('Q');
  qz::PressKey('1');
  qz::PressKey(VK_OEM_MINUS);
  qz::SetKeyDown(VK_SHIFT, false);
  qz::SetKeyDown(VK_CONTROL, true);
  qz::PressKey('C');
  qz::SetKeyDown(VK_CONTROL, false);
  qz::PressKey(VK_NUMPAD0 + 7);
  qz::PressKey(VK_RETURN);
  qz::PressKey(VK_LEFT);
  auto chars = Only(qz::StopRecording(), {WM_CHAR});
  std::string typed;
  for (const auto& c : chars) typed += static_cast<char>(c.wParam);
  EXPECT_EQ(typed, std::string("Q!_\x03"
                               "7\r"));
}

TEST_F(Queue, TypeTextDeliversEveryCharacterInOrder) {
  HWND w = Top(0, 0, 50, 50);
  SetFocus(w);
  qz::StartRecording();
  qz::TypeText("aZ 1.5-x:");
  auto chars = Only(qz::StopRecording(), {WM_CHAR});
  std::string typed;
  for (const auto& c : chars) typed += static_cast<char>(c.wParam);
  EXPECT_EQ(typed, "aZ 1.5-x:");
  EXPECT_FALSE(qz::IsKeyDown(VK_SHIFT));
}

TEST_F(Queue, MessageTimeIsTheClockWhenFetched) {
  HWND w = Top(0, 0, 50, 50, WS_POPUP);
  DWORD seen = 0;
  SetHandler(w, [&](HWND, UINT m, WPARAM, LPARAM, LRESULT*) {
    if (m == WM_USER) seen = GetMessageTime();
    return false;
  });
  SetTimer(w, 1, 40, nullptr);
  qz::AdvanceClock(100);
  PostMessageA(w, WM_USER, 0, 0);
  qz::Pump();
  EXPECT_EQ(seen, 100u);
}

// A host's own loop: GetMessage takes posted messages, input and paints in
// the pump's order, waits for timers by running the clock on, returns FALSE
// for WM_QUIT after the posted messages are out, and ends the loop when
// nothing could ever arrive.
TEST_F(Queue, GetMessageDrivesARealMessageLoop) {
  HWND w = Top(0, 0, 50, 50, WS_OVERLAPPEDWINDOW | WS_VISIBLE);
  ASSERT_NE(w, nullptr);
  qz::Pump();
  SetTimer(w, 9, 250, nullptr);
  PostMessageA(w, WM_USER, 1, 0);
  PostQuitMessage(3);
  PostMessageA(w, WM_USER, 2, 0);
  std::vector<std::pair<UINT, WPARAM>> seen;
  MSG m;
  BOOL got;
  while ((got = GetMessageA(&m, nullptr, 0, 0)) > 0) {
    seen.push_back({m.message, m.wParam});
    DispatchMessageA(&m);
  }
  EXPECT_EQ(got, FALSE);
  EXPECT_EQ(m.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(m.wParam, 3u);
  EXPECT_EQ(seen, (std::vector<std::pair<UINT, WPARAM>>{{WM_USER, 1}, {WM_USER, 2}}));
  EXPECT_EQ(qz::Now(), 0u);

  // Nothing pending: the clock runs on to the timer's tick.
  ASSERT_EQ(GetMessageA(&m, nullptr, 0, 0), TRUE);
  EXPECT_EQ(m.message, static_cast<UINT>(WM_TIMER));
  EXPECT_EQ(m.wParam, 9u);
  EXPECT_EQ(qz::Now(), 250u);
  KillTimer(w, 9);
  // Nothing pending and nothing to wait for: the loop ends.
  EXPECT_EQ(GetMessageA(&m, nullptr, 0, 0), FALSE);
  EXPECT_EQ(m.message, static_cast<UINT>(WM_QUIT));
  EXPECT_EQ(GetMessageA(nullptr, nullptr, 0, 0), -1);
  EXPECT_EQ(GetMessageA(&m, reinterpret_cast<HWND>(0x7777), 0, 0), -1);
}

TEST_F(Queue, TheProcessIsTheOnlyModuleKnownByName) {
  HMODULE self = GetModuleHandleA(nullptr);
  EXPECT_NE(self, nullptr);
  EXPECT_EQ(GetModuleHandleA(nullptr), self);
  EXPECT_EQ(GetModuleHandleA("kernel32.dll"), nullptr);
}
}  // namespace
}  // namespace usertest
