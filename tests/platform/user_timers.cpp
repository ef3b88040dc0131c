// Timers on the virtual clock.
#include "user_support.h"

namespace usertest {
namespace {

class Timers : public UserTest {
 protected:
  int Ticks(const std::vector<qz::RecordedMessage>& got, HWND w, UINT_PTR id) {
    int n = 0;
    for (const auto& m : got) n += m.hwnd == w && m.message == WM_TIMER && m.wParam == id;
    return n;
  }
};

TEST_F(Timers, SeventyMillisecondTimerTicksFourTimesIn280) {
  HWND w = Top(0, 0, 10, 10, WS_POPUP);
  EXPECT_EQ(SetTimer(w, 101, 70, nullptr), 101u);
  qz::StartRecording();
  qz::AdvanceClock(279);
  EXPECT_EQ(Ticks(qz::StopRecording(), w, 101), 3);
  qz::StartRecording();
  qz::AdvanceClock(1);
  EXPECT_EQ(Ticks(qz::StopRecording(), w, 101), 1);
  EXPECT_EQ(qz::Now(), 280u);
  EXPECT_EQ(GetTickCount(), 280u);
}

TEST_F(Timers, TickCarriesIdAndNoCallbackAndIsPosted) {
  HWND w = Top(0, 0, 10, 10, WS_POPUP);
  SetTimer(w, 7, 20, nullptr);
  qz::StartRecording();
  qz::AdvanceClock(20);
  EXPECT_TRUE(SameSequence(qz::StopRecording(), {Posted(w, WM_TIMER, 7, 0)}));
}

TEST_F(Timers, ResettingATimerRestartsItsPeriod) {
  HWND w = Top(0, 0, 10, 10, WS_POPUP);
  SetTimer(w, 1, 100, nullptr);
  qz::AdvanceClock(60);
  SetTimer(w, 1, 100, nullptr);
  qz::StartRecording();
  qz::AdvanceClock(99);
  EXPECT_EQ(Ticks(qz::StopRecording(), w, 1), 0);
  qz::StartRecording();
  qz::AdvanceClock(1);
  EXPECT_EQ(Ticks(qz::StopRecording(), w, 1), 1);
}

TEST_F(Timers, KillTimerInsideItsHandlerStopsFurtherTicks) {
  HWND w = Top(0, 0, 10, 10, WS_POPUP);
  int ticks = 0;
  SetHandler(w, [&](HWND h, UINT m, WPARAM id, LPARAM, LRESULT*) {
    if (m == WM_TIMER && ++ticks == 2) {
      EXPECT_TRUE(KillTimer(h, id));
    }
    return false;
  });
  SetTimer(w, 3, 10, nullptr);
  qz::AdvanceClock(100);
  EXPECT_EQ(ticks, 2);
  EXPECT_FALSE(KillTimer(w, 3));
}

TEST_F(Timers, KilledTimerLeavesNoPendingTick) {
  HWND w = Top(0, 0, 10, 10, WS_POPUP);
  SetTimer(w, 3, 10, nullptr);
  SetTimer(w, 4, 10, nullptr);
  int ticks4 = 0;
  SetHandler(w, [&](HWND h, UINT m, WPARAM id, LPARAM, LRESULT*) {
    if (m == WM_TIMER && id == 3) KillTimer(h, 4);  // 4 is already due at this moment
    if (m == WM_TIMER && id == 4) ++ticks4;
    return false;
  });
  qz::AdvanceClock(10);
  EXPECT_EQ(ticks4, 0);
}

TEST_F(Timers, IntervalsBelowTenAreRaisedToTen) {
  HWND w = Top(0, 0, 10, 10, WS_POPUP);
  SetTimer(w, 1, 1, nullptr);
  qz::StartRecording();
  qz::AdvanceClock(50);
  EXPECT_EQ(Ticks(qz::StopRecording(), w, 1), 5);
}

TEST_F(Timers, TicksInterleaveInTimeOrderWithTheQueuePumpedBetween) {
  HWND w = Top(0, 0, 10, 10, WS_POPUP);
  SetHandler(w, [](HWND h, UINT m, WPARAM id, LPARAM, LRESULT*) {
    if (m == WM_TIMER) PostMessageA(h, WM_USER, id, 0);
    return false;
  });
  SetTimer(w, 1, 30, nullptr);
  SetTimer(w, 2, 20, nullptr);
  qz::StartRecording();
  qz::AdvanceClock(60);
  EXPECT_TRUE(SameSequence(qz::StopRecording(), {Posted(w, WM_TIMER, 2, 0), Posted(w, WM_USER, 2, 0),  // 20
                                                 Posted(w, WM_TIMER, 1, 0), Posted(w, WM_USER, 1, 0),  // 30
                                                 Posted(w, WM_TIMER, 2, 0), Posted(w, WM_USER, 2, 0),  // 40
                                                 Posted(w, WM_TIMER, 1, 0), Posted(w, WM_USER, 1, 0),  // 60, set first
                                                 Posted(w, WM_TIMER, 2, 0), Posted(w, WM_USER, 2, 0)}));  // 60
}

TEST_F(Timers, PumpDoesNotFireTimers) {
  HWND w = Top(0, 0, 10, 10, WS_POPUP);
  SetTimer(w, 1, 10, nullptr);
  qz::Pump();
  MSG m;
  EXPECT_FALSE(PeekMessageA(&m, w, WM_TIMER, WM_TIMER, PM_NOREMOVE));
}

int g_callbackTicks = 0;
HWND g_callbackWindow = nullptr;
void CALLBACK OnTick(HWND hwnd, UINT msg, UINT_PTR, DWORD time) {
  EXPECT_EQ(msg, static_cast<UINT>(WM_TIMER));
  EXPECT_EQ(time % 25, 0u);
  g_callbackWindow = hwnd;
  ++g_callbackTicks;
}

TEST_F(Timers, CallbackTimersCallTheCallback) {
  g_callbackTicks = 0;
  UINT_PTR id = SetTimer(nullptr, 0, 25, OnTick);
  EXPECT_NE(id, 0u);
  UINT_PTR other = SetTimer(nullptr, 0, 25, OnTick);
  EXPECT_NE(other, id);
  KillTimer(nullptr, other);
  qz::AdvanceClock(100);
  EXPECT_EQ(g_callbackTicks, 4);
  EXPECT_EQ(g_callbackWindow, nullptr);
}

TEST_F(Timers, ForgedTimerCallbackIsNotCalled) {
  HWND w = Top(0, 0, 10, 10, WS_POPUP);
  g_callbackTicks = 0;
  MSG m{w, WM_TIMER, 9, reinterpret_cast<LPARAM>(OnTick), 0, {0, 0}};
  DispatchMessageA(&m);
  EXPECT_EQ(g_callbackTicks, 0);
}

TEST_F(Timers, DestroyedWindowsTimersStop) {
  HWND w = Top(0, 0, 10, 10, WS_POPUP);
  HWND other = Top(0, 0, 10, 10, WS_POPUP);
  SetTimer(w, 1, 10, nullptr);
  SetTimer(other, 1, 10, nullptr);
  DestroyWindow(w);
  qz::StartRecording();
  qz::AdvanceClock(10);
  EXPECT_TRUE(SameSequence(qz::StopRecording(), {Posted(other, WM_TIMER, 1, 0)}));
}

// A sleeping thread dispatches nothing: the clock moves on and each timer
// that fell due has one tick waiting, however many periods went by.
TEST_F(Timers, SleepAdvancesTheClockAndLeavesOneTickPerTimer) {
  HWND w = Top(0, 0, 10, 10, WS_POPUP);
  SetTimer(w, 1, 10, nullptr);
  SetTimer(w, 2, 500, nullptr);
  qz::StartRecording();
  Sleep(95);
  EXPECT_EQ(GetTickCount(), 95u);
  EXPECT_TRUE(qz::StopRecording().empty());
  qz::StartRecording();
  qz::AdvanceClock(0);
  auto got = qz::StopRecording();
  EXPECT_EQ(Ticks(got, w, 1), 1);
  EXPECT_EQ(Ticks(got, w, 2), 0);
}
}  // namespace
}  // namespace usertest
