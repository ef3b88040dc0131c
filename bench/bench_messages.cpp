// One message hop, the plumbing every drag step and panel open pays many
// times over: a message sent to a framework window (SendMessage, the window
// procedure, the object's WindowProc, back), and a message posted to one and
// pumped (fetch, the pre-translation chain up to the panel and its dialog
// keys, dispatch, back). The window is a child of the host's panel, as a
// control's window is. Reports the time per hop (and "instructions_per_hop"
// where the machine has counters).
#include <benchmark/benchmark.h>

#include "bench/instructions.h"
#include "harness/session.h"
#include "qzplatform/driver.h"

namespace {

constexpr UINT HopMessage = WM_USER + 1;
constexpr int HopWindowSize = 20;

// Answers HopMessage itself and leaves everything else to the framework, as
// a control's window does.
class HopWnd : public CWnd {
 public:
  LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (msg == HopMessage) {
      ++Received;
      return static_cast<LRESULT>(wParam) + 1;
    }
    return CWnd::WindowProc(msg, wParam, lParam);
  }
  long Received = 0;
};

struct HopPanel {
  HopPanel() {
    session.Pump();
    LPCSTR className = AfxRegisterWndClass(0, nullptr, nullptr);
    made = window.CreateEx(0, className, "", WS_CHILD | WS_VISIBLE, 0, 0, HopWindowSize, HopWindowSize,
                           session.PanelWindow(), nullptr);
    session.Pump();
  }
  ~HopPanel() { window.DestroyWindow(); }
  HopPanel(const HopPanel&) = delete;
  HopPanel& operator=(const HopPanel&) = delete;

  qzh::Session session;
  HopWnd window;
  bool made = false;
};

[[gnu::noinline]] LRESULT SendHop(HWND hwnd, WPARAM count) {
  return SendMessageA(hwnd, HopMessage, count, 0);
}

[[gnu::noinline]] int PostHop(HWND hwnd, WPARAM count) {
  PostMessageA(hwnd, HopMessage, count, 0);
  return qz::Pump();
}

template <typename Hop>
void MeasureHops(benchmark::State& state, Hop hop) {
  HopPanel panel;
  if (!panel.made) {
    state.SkipWithError("cannot make the window");
    return;
  }
  const HWND hwnd = panel.window.m_hWnd;
  long hops = 0;
  qzb::InstructionCounter instructions;
  instructions.Start();
  for (auto _ : state) benchmark::DoNotOptimize(hop(hwnd, static_cast<WPARAM>(hops++)));
  const uint64_t ran = instructions.Stop();
  if (panel.window.Received != hops) state.SkipWithError("a hop did not reach the window");
  instructions.Report(state, "instructions_per_hop", ran, hops);
}

void BM_MessageHopSent(benchmark::State& state) {
  MeasureHops(state, SendHop);
}
BENCHMARK(BM_MessageHopSent);

void BM_MessageHopPostedAndPumped(benchmark::State& state) {
  MeasureHops(state, PostHop);
}
BENCHMARK(BM_MessageHopPostedAndPumped);

}  // namespace

BENCHMARK_MAIN();
