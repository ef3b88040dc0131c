#include "user_support.h"

#include <cstdio>
#include <map>

namespace usertest {

static std::map<HWND, Handler>& Handlers() {
  static std::map<HWND, Handler> handlers;
  return handlers;
}

void SetHandler(HWND hwnd, Handler handler) {
  Handlers()[hwnd] = std::move(handler);
}

LRESULT CALLBACK TestWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  auto it = Handlers().find(hwnd);
  if (it != Handlers().end()) {
    Handler handler = it->second;  // a copy: the handler may replace itself
    LRESULT result = 0;
    if (handler(hwnd, msg, wParam, lParam, &result)) return result;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

static const char* Name(UINT m) {
  switch (m) {
    case WM_CREATE:
      return "WM_CREATE";
    case WM_DESTROY:
      return "WM_DESTROY";
    case WM_SIZE:
      return "WM_SIZE";
    case WM_SETFOCUS:
      return "WM_SETFOCUS";
    case WM_KILLFOCUS:
      return "WM_KILLFOCUS";
    case WM_ENABLE:
      return "WM_ENABLE";
    case WM_SETTEXT:
      return "WM_SETTEXT";
    case WM_GETTEXT:
      return "WM_GETTEXT";
    case WM_PAINT:
      return "WM_PAINT";
    case WM_ERASEBKGND:
      return "WM_ERASEBKGND";
    case WM_CANCELMODE:
      return "WM_CANCELMODE";
    case WM_CONTEXTMENU:
      return "WM_CONTEXTMENU";
    case WM_NCCREATE:
      return "WM_NCCREATE";
    case WM_NCDESTROY:
      return "WM_NCDESTROY";
    case WM_NCHITTEST:
      return "WM_NCHITTEST";
    case WM_GETDLGCODE:
      return "WM_GETDLGCODE";
    case WM_KEYDOWN:
      return "WM_KEYDOWN";
    case WM_KEYUP:
      return "WM_KEYUP";
    case WM_CHAR:
      return "WM_CHAR";
    case WM_COMMAND:
      return "WM_COMMAND";
    case WM_TIMER:
      return "WM_TIMER";
    case WM_MOUSEMOVE:
      return "WM_MOUSEMOVE";
    case WM_LBUTTONDOWN:
      return "WM_LBUTTONDOWN";
    case WM_LBUTTONUP:
      return "WM_LBUTTONUP";
    case WM_LBUTTONDBLCLK:
      return "WM_LBUTTONDBLCLK";
    case WM_RBUTTONDOWN:
      return "WM_RBUTTONDOWN";
    case WM_RBUTTONUP:
      return "WM_RBUTTONUP";
    case WM_PARENTNOTIFY:
      return "WM_PARENTNOTIFY";
    case WM_CAPTURECHANGED:
      return "WM_CAPTURECHANGED";
  }
  return nullptr;
}

static std::string Line(HWND h, UINT m, WPARAM w, LPARAM l, bool posted, bool params) {
  char buffer[160];
  const char* name = Name(m);
  char number[16];
  if (!name) {
    std::snprintf(number, sizeof number, "0x%04x", m);
    name = number;
  }
  if (params)
    std::snprintf(buffer, sizeof buffer, "  %p %-18s w=%#llx l=%#llx%s\n", static_cast<void*>(h), name,
                  static_cast<unsigned long long>(w), static_cast<unsigned long long>(l), posted ? " (posted)" : "");
  else
    std::snprintf(buffer, sizeof buffer, "  %p %-18s%s\n", static_cast<void*>(h), name, posted ? " (posted)" : "");
  return buffer;
}

std::string Describe(const std::vector<qz::RecordedMessage>& actual) {
  std::string out;
  for (const auto& m : actual) out += Line(m.hwnd, m.message, m.wParam, m.lParam, m.posted, true);
  return out.empty() ? "  (none)\n" : out;
}

std::string Describe(const std::vector<Msg>& expected) {
  std::string out;
  for (const auto& m : expected) out += Line(m.hwnd, m.message, m.wParam, m.lParam, m.posted, m.check != Msg::kNone);
  return out.empty() ? "  (none)\n" : out;
}

static std::vector<qz::RecordedMessage> Filter(const std::vector<qz::RecordedMessage>& all,
                                               std::initializer_list<UINT> ids, bool keep) {
  std::vector<qz::RecordedMessage> out;
  for (const auto& m : all) {
    bool listed = false;
    for (UINT id : ids) listed = listed || m.message == id;
    if (listed == keep) out.push_back(m);
  }
  return out;
}

std::vector<qz::RecordedMessage> Only(const std::vector<qz::RecordedMessage>& all, std::initializer_list<UINT> ids) {
  return Filter(all, ids, true);
}

std::vector<qz::RecordedMessage> Without(const std::vector<qz::RecordedMessage>& all, std::initializer_list<UINT> ids) {
  return Filter(all, ids, false);
}

static bool Matches(const qz::RecordedMessage& a, const Msg& e) {
  if (a.hwnd != e.hwnd || a.message != e.message || a.posted != e.posted) return false;
  if ((e.check & Msg::kWParam) && a.wParam != e.wParam) return false;
  if ((e.check & Msg::kLParam) && a.lParam != e.lParam) return false;
  return true;
}

::testing::AssertionResult SameSequence(const std::vector<qz::RecordedMessage>& actual,
                                        const std::vector<Msg>& expected) {
  bool same = actual.size() == expected.size();
  for (size_t i = 0; same && i < actual.size(); ++i) same = Matches(actual[i], expected[i]);
  if (same) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "\nexpected:\n" << Describe(expected) << "actual:\n" << Describe(actual);
}

void UserTest::SetUp() {
  qz::ResetPlatform();
  Handlers().clear();
  background_ = CreateSolidBrush(kBackground);
  WNDCLASSA wc{};
  wc.lpfnWndProc = TestWindowProc;
  wc.cbWndExtra = 2 * sizeof(LONG_PTR);
  wc.hbrBackground = background_;
  wc.lpszClassName = kTestClass;
  ASSERT_NE(RegisterClassA(&wc), 0);
}

void UserTest::TearDown() {
  qz::SetMessageFilter(nullptr);
  qz::ResetPlatform();
  Handlers().clear();
  DeleteObject(background_);
}

HWND UserTest::Top(int x, int y, int w, int h, DWORD style, DWORD exStyle) {
  return CreateWindowExA(exStyle, kTestClass, "top", style, x, y, w, h, nullptr, nullptr, nullptr, nullptr);
}

HWND UserTest::Child(HWND parent, int id, int x, int y, int w, int h, DWORD style, DWORD exStyle) {
  return CreateWindowExA(exStyle, kTestClass, "child", style, x, y, w, h, parent,
                         reinterpret_cast<HMENU>(static_cast<intptr_t>(id)), nullptr, nullptr);
}

uint32_t UserTest::PixelAt(HWND hwnd, int x, int y) {
  HWND top = hwnd;
  while (GetParent(top) && (GetWindowLongA(top, GWL_STYLE) & WS_CHILD)) top = GetParent(top);
  POINT pt{x, y};
  MapWindowPoints(hwnd, top, &pt, 1);
  RECT tr;
  GetWindowRect(top, &tr);
  POINT origin{0, 0};
  ClientToScreen(top, &origin);
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;
  if (!qz::CaptureWindow(top, &width, &height, &pixels)) return 0xdeadbeef;
  int px = pt.x + (origin.x - tr.left), py = pt.y + (origin.y - tr.top);
  if (px < 0 || py < 0 || px >= width || py >= height) return 0xdeadbeef;
  return pixels[static_cast<size_t>(py) * width + px];
}

}  // namespace usertest
